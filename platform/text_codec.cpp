#include "platform/text_codec.h"

#include <cstdint>

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point and advances pos; malformed sequences (overlong,
// surrogates, truncated, beyond U+10FFFF) yield U+FFFD and skip one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return cp;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

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

std::string DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    // An odd trailing byte is half a code unit: it reads as a malformed one.
    if (bytes.size() % 2 != 0)
        units += static_cast<char16_t>(kReplacement);
    return Utf16ToUtf8(units);
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
        return Utf16ToUtf8(Utf8ToUtf16(utf8));
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
        return Utf16ToUtf8(Utf8ToUtf16(bytes));
    case TextEncoding::Utf16LE:
        return DecodeUtf16(bytes, false);
    case TextEncoding::Utf16BE:
        return DecodeUtf16(bytes, true);
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
