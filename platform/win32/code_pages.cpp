#include "platform/code_pages.h"

#include "platform/bounded_utf8.h"
#include "platform/utf16_units.h"
#include "platform/utf_decoding.h"
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
constexpr unsigned kUtf8 = 65001;
constexpr wchar_t kReplacement = 0xFFFD;
// The longest character of any code page the system decodes (GB 18030).
constexpr std::size_t kLongestCharacter = 4;
// The bytes given to the system at a time, where the code page allows it:
// the UTF-16 it makes of them is a copy of its own. Likewise the UTF-16
// units made UTF-8 at a time.
constexpr std::size_t kPieceBytes = 65536;
constexpr std::size_t kPieceUnits = 65536;

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

// Some non-empty bytes as UTF-16; none when the system cannot decode them.
std::optional<std::wstring> DecodePiece(std::string_view bytes, unsigned codePage)
{
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
    return wide;
}

// Where a code page's bytes can be cut without cutting a character:
// anywhere in one of single bytes, after a whole character in one of lead
// and trail bytes. The others (the stateful ones, GB 18030, ...) are
// decoded whole.
class PieceEnds {
public:
    explicit PieceEnds(unsigned codePage)
    {
        CPINFO info{};
        if (TakesNoFlags(codePage) || !GetCPInfo(codePage, &info))
            return;
        cuttable_ = info.MaxCharSize == 1;
        for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
            for (unsigned byte = info.LeadByte[i]; byte <= info.LeadByte[i + 1]; ++byte)
                leadBytes_[byte] = true;
            cuttable_ = true;
        }
    }

    // The end of the piece that begins at start.
    std::size_t After(std::string_view bytes, std::size_t start) const
    {
        if (!cuttable_)
            return bytes.size();
        std::size_t end = start;
        while (end < bytes.size() && end - start < kPieceBytes)
            end += leadBytes_[static_cast<unsigned char>(bytes[end])] ? 2 : 1;
        return std::min(end, bytes.size());
    }

private:
    bool cuttable_ = false;
    bool leadBytes_[256] = {};
};

// UTF-16 into the text a piece at a time, never between the halves of a
// surrogate pair.
void AppendWide(std::wstring_view wide, BoundedUtf8& text)
{
    while (!wide.empty() && !text.Full()) {
        std::size_t size = std::min(wide.size(), kPieceUnits);
        if (size < wide.size() && IsHighSurrogate(wide[size - 1]))
            --size;
        text.Append(win32::FromWide(wide.substr(0, size)));
        wide.remove_prefix(size);
    }
}

std::optional<std::string> DecodeWithSystem(std::string_view bytes, unsigned codePage,
                                            std::size_t maxBytes)
{
    if (!IsValidCodePage(codePage))
        return std::nullopt;
    if (bytes.size() > INT_MAX)
        return std::nullopt;
    const PieceEnds pieceEnds(codePage);
    BoundedUtf8 text(bytes.size(), maxBytes);
    for (std::size_t start = 0; start < bytes.size() && !text.Full();) {
        const std::size_t end = pieceEnds.After(bytes, start);
        const auto wide = DecodePiece(bytes.substr(start, end - start), codePage);
        if (!wide)
            return std::nullopt;
        AppendWide(*wide, text);
        start = end;
    }
    return text.Take();
}

std::string DecodeUtf32(std::string_view bytes, bool bigEndian, std::size_t maxBytes)
{
    BoundedUtf8 text(bytes.size(), maxBytes);
    for (std::size_t i = 0; i + 3 < bytes.size() && !text.Full(); i += 4) {
        char32_t value = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto byte = static_cast<unsigned char>(bytes[i + (bigEndian ? k : 3 - k)]);
            value = (value << 8) | byte;
        }
        const bool valid = value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
        text.Append(valid ? value : char32_t{kReplacement});
    }
    // A cut-off last unit reads as a malformed one.
    if (bytes.size() % 4 != 0)
        text.Append(char32_t{kReplacement});
    return text.Take();
}

// The system's table for US-ASCII strips the high bit instead (0x80 reads
// as NUL); those bytes are not ASCII.
std::string DecodeAscii(std::string_view bytes, std::size_t maxBytes)
{
    BoundedUtf8 text(bytes.size(), maxBytes);
    for (std::size_t i = 0; i < bytes.size() && !text.Full(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text.Append(byte < 0x80 ? char32_t{byte} : char32_t{kReplacement});
    }
    return text.Take();
}

} // namespace

std::optional<std::string> DecodeCodePage(std::string_view bytes, unsigned codePage,
                                          std::size_t maxBytes)
{
    // The UTF-16 and UTF-32 code pages belong to the .NET classes only: the
    // system's conversion does not take them. UTF-8 is decoded as on the
    // other systems, without a UTF-16 copy on the way.
    switch (codePage) {
    case kUtf16LE:
        return DecodeUtf16(bytes, false, maxBytes);
    case kUtf16BE:
        return DecodeUtf16(bytes, true, maxBytes);
    case kUtf32LE:
        return DecodeUtf32(bytes, false, maxBytes);
    case kUtf32BE:
        return DecodeUtf32(bytes, true, maxBytes);
    case kUsAscii:
        return DecodeAscii(bytes, maxBytes);
    case kUtf8:
        return DecodeUtf8(bytes, maxBytes);
    default:
        return DecodeWithSystem(bytes, codePage, maxBytes);
    }
}

} // namespace platform
