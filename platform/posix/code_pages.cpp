#include "platform/code_pages.h"

#include "platform/bounded_utf8.h"
#include "platform/utf_decoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <iterator>

namespace platform {

namespace {

struct CodePageName {
    unsigned codePage;
    const char* iconvName;
};

constexpr CodePageName kCodePages[] = {
    {437, "CP437"},         {850, "CP850"},         {852, "CP852"},        {866, "CP866"},
    {874, "CP874"},         {932, "CP932"},         {936, "CP936"},        {949, "CP949"},
    {950, "CP950"},         {1200, "UTF-16LE"},     {1201, "UTF-16BE"},    {1250, "CP1250"},
    {1251, "CP1251"},       {1252, "CP1252"},       {1253, "CP1253"},      {1254, "CP1254"},
    {1255, "CP1255"},       {1256, "CP1256"},       {1257, "CP1257"},      {1258, "CP1258"},
    {10000, "MACINTOSH"},   {12000, "UTF-32LE"},    {12001, "UTF-32BE"},   {20127, "ASCII"},
    {20866, "KOI8-R"},      {21866, "KOI8-U"},      {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"},  {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},  {28598, "ISO-8859-8"},  {28599, "ISO-8859-9"}, {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"}, {50220, "ISO-2022-JP"}, {51932, "EUC-JP"},     {51949, "EUC-KR"},
    {54936, "GB18030"},     {65001, "UTF-8"},
};

constexpr char32_t kReplacement = 0xFFFD;

// The bytes of one code unit: what a bad unit costs, so that the units after
// it are read on their own boundaries.
std::size_t UnitBytes(unsigned codePage)
{
    switch (codePage) {
    case 1200:
    case 1201:
        return 2;
    case 12000:
    case 12001:
        return 4;
    default:
        return 1;
    }
}

class Converter {
public:
    Converter(iconv_t handle, std::size_t unitBytes) : handle_(handle), unitBytes_(unitBytes) {}
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view bytes, std::size_t maxBytes)
    {
        BoundedUtf8 text(bytes.size(), maxBytes);
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        while (inLeft > 0 && !text.Full()) {
            if (!Step(&in, &inLeft, text)) {
                // Not valid here, or cut off at the end: one unit is lost.
                text.Append(kReplacement);
                const std::size_t skipped = std::min(unitBytes_, inLeft);
                in += skipped;
                inLeft -= skipped;
            }
        }
        // A stateful code page may owe a final shift sequence.
        Step(nullptr, nullptr, text);
        return text.Take();
    }

private:
    // Converts until the input ends, cannot be converted (false then) or
    // the text is full.
    bool Step(char** in, std::size_t* inLeft, BoundedUtf8& text)
    {
        for (;;) {
            char block[8192];
            char* target = block;
            std::size_t targetLeft = sizeof block;
            const std::size_t result = iconv(handle_, in, inLeft, &target, &targetLeft);
            const int error = errno;
            if (!text.Append(std::string_view(block, static_cast<std::size_t>(target - block))))
                return true;
            if (result != static_cast<std::size_t>(-1))
                return true;
            if (error != E2BIG)
                return false;
        }
    }

    iconv_t handle_;
    std::size_t unitBytes_;
};

} // namespace

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage,
                                          std::size_t maxBytes)
{
    const auto* found =
        std::find_if(std::begin(kCodePages), std::end(kCodePages),
                     [codePage](const CodePageName& entry) { return entry.codePage == codePage; });
    if (found == std::end(kCodePages))
        return std::nullopt;
    // glibc lets UTF-8 forms beyond U+10FFFF through, which are not UTF-8.
    if (codePage == 65001)
        return DecodeUtf8(bytes, maxBytes);
    const iconv_t handle = iconv_open("UTF-8", found->iconvName);
    if (handle == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    Converter converter(handle, UnitBytes(codePage));
    return converter.Convert(bytes, maxBytes);
}

} // namespace platform
