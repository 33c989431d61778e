#include "platform/utf_decoding.h"

#include "platform/bounded_utf8.h"
#include "platform/utf16_units.h"

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

} // namespace

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

std::string DecodeUtf8(std::string_view bytes, std::size_t maxBytes)
{
    BoundedUtf8 text(bytes.size(), maxBytes);
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (!text.Append(NextCodePoint(bytes, pos)))
            break;
    }
    return text.Take();
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian, std::size_t maxBytes)
{
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    BoundedUtf8 text(bytes.size(), maxBytes);
    const std::size_t end = bytes.size() - bytes.size() % 2;
    for (std::size_t i = 0; i < end && !text.Full(); i += 2) {
        const char32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 2 < end && IsLowSurrogate(unitAt(i + 2))) {
            text.Append(0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00));
            i += 2;
        } else {
            text.Append(IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
        }
    }
    // An odd last byte is half a code unit: it reads as a malformed one.
    if (bytes.size() % 2 != 0)
        text.Append(kReplacement);
    return text.Take();
}

} // namespace platform
