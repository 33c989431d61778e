#include "platform/code_pages.h"

#include "platform/text_codec.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace platform {

namespace {

constexpr unsigned kUtf16LE = 1200;
constexpr unsigned kUtf16BE = 1201;
constexpr unsigned kUtf32LE = 12000;
constexpr unsigned kUtf32BE = 12001;
constexpr unsigned kUsAscii = 20127;
constexpr wchar_t kReplacement = 0xFFFD;
constexpr char kReplacementUtf8[] = "\xEF\xBF\xBD";
// The longest character of any code page the system decodes (GB 18030).
constexpr std::size_t kLongestCharacter = 4;

// Code pages whose conversion takes no flags: the stateful ISO 2022 family
// and a few others.
bool TakesNoFlags(unsigned codePage)
{
    return (codePage >= 50220 && codePage <= 50229) || (codePage >= 57002 && codePage <= 57011) ||
           codePage == 42 || codePage == CP_UTF7;
}

// The number of UTF-16 code units; zero when the conversion fails.
int Decode(std::string_view bytes, unsigned codePage, DWORD flags, wchar_t* out, int capacity)
{
    return MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out,
                               capacity);
}

void AppendDecoded(std::string_view bytes, unsigned codePage, DWORD flags, std::wstring& out)
{
    const int size = Decode(bytes, codePage, flags, nullptr, 0);
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(size));
    Decode(bytes, codePage, flags, out.data() + start, size);
}

// Character by character, as the shortest run of bytes that is one: a byte
// that starts none becomes U+FFFD and is skipped.
std::wstring DecodeAroundInvalidBytes(std::string_view bytes, unsigned codePage)
{
    std::wstring out;
    while (!bytes.empty()) {
        std::size_t length = 1;
        const std::size_t longest = std::min(bytes.size(), kLongestCharacter);
        while (length <= longest &&
               Decode(bytes.substr(0, length), codePage, MB_ERR_INVALID_CHARS, nullptr, 0) == 0)
            ++length;
        if (length > longest) {
            out += kReplacement;
            bytes.remove_prefix(1);
        } else {
            AppendDecoded(bytes.substr(0, length), codePage, MB_ERR_INVALID_CHARS, out);
            bytes.remove_prefix(length);
        }
    }
    return out;
}

std::optional<std::string> DecodeWithSystem(std::string_view bytes, unsigned codePage)
{
    if (!IsValidCodePage(codePage))
        return std::nullopt;
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    if (bytes.empty())
        return std::string();
    std::wstring wide;
    if (TakesNoFlags(codePage)) {
        if (Decode(bytes, codePage, 0, nullptr, 0) == 0)
            return std::nullopt;
        AppendDecoded(bytes, codePage, 0, wide);
    } else if (Decode(bytes, codePage, MB_ERR_INVALID_CHARS, nullptr, 0) != 0) {
        AppendDecoded(bytes, codePage, MB_ERR_INVALID_CHARS, wide);
    } else if (GetLastError() == ERROR_NO_UNICODE_TRANSLATION) {
        wide = DecodeAroundInvalidBytes(bytes, codePage);
    } else {
        return std::nullopt;
    }
    return win32::FromWide(wide);
}

std::string DecodeUtf32(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 4);
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        char32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto byte = static_cast<unsigned char>(bytes[i + (bigEndian ? k : 3 - k)]);
            value = (value << 8) | byte;
        }
        if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            units += static_cast<char16_t>(kReplacement);
        } else if (value >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(value);
        }
    }
    // A cut-off last unit reads as a malformed one.
    if (bytes.size() % 4 != 0)
        units += static_cast<char16_t>(kReplacement);
    return Utf16ToUtf8(units);
}

// The system's table for US-ASCII strips the high bit instead (0x80 reads
// as NUL); those bytes are not ASCII.
std::string DecodeAscii(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80)
            out += byte;
        else
            out += kReplacementUtf8;
    }
    return out;
}

} // namespace

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage)
{
    // The UTF-16 and UTF-32 code pages belong to the .NET classes only: the
    // system's conversion does not take them.
    switch (codePage) {
    case kUtf16LE:
        return DecodeText(bytes, TextEncoding::Utf16LE);
    case kUtf16BE:
        return DecodeText(bytes, TextEncoding::Utf16BE);
    case kUtf32LE:
        return DecodeUtf32(bytes, false);
    case kUtf32BE:
        return DecodeUtf32(bytes, true);
    case kUsAscii:
        return DecodeAscii(bytes);
    default:
        return DecodeWithSystem(bytes, codePage);
    }
}

} // namespace platform
