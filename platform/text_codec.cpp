#include "platform/text_codec.h"

#include "platform/bounded_utf8.h"
#include "platform/utf_decoding.h"

#include <cstdint>

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kNoLimit = SIZE_MAX;

std::string EncodeUtf16(std::string_view utf8, bool bigEndian)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    std::string out;
    out.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                                (static_cast<char32_t>(utf16[i + 1]) - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::size_t Utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    for (std::size_t pos = 0; pos < utf8.size();)
        units += NextCodePoint(utf8, pos) >= 0x10000 ? 2 : 1;
    return units;
}

std::string Utf16Prefix(std::string_view utf8, std::size_t maxUnits)
{
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        const std::size_t width = NextCodePoint(utf8, next) >= 0x10000 ? 2 : 1;
        if (units + width > maxUnits)
            break;
        units += width;
        pos = next;
    }
    return std::string(utf8.substr(0, pos));
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ansi:
        return Utf8ToAnsi(utf8);
    case TextEncoding::Utf8:
        return DecodeUtf8(utf8, kNoLimit);
    case TextEncoding::Utf16LE:
        return EncodeUtf16(utf8, false);
    case TextEncoding::Utf16BE:
        return EncodeUtf16(utf8, true);
    }
    return {};
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Ansi:
        return AnsiToUtf8(bytes);
    case TextEncoding::Utf8:
        return DecodeUtf8(bytes, kNoLimit);
    case TextEncoding::Utf16LE:
        return DecodeUtf16(bytes, false, kNoLimit);
    case TextEncoding::Utf16BE:
        return DecodeUtf16(bytes, true, kNoLimit);
    }
    return {};
}

std::string_view ByteOrderMark(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return "\xEF\xBB\xBF";
    case TextEncoding::Utf16LE:
        return "\xFF\xFE";
    case TextEncoding::Utf16BE:
        return "\xFE\xFF";
    case TextEncoding::Ansi:
        break;
    }
    return {};
}

} // namespace platform
