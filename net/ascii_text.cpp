#include "net/ascii_text.h"

#include "platform/text_codec.h"

#include <algorithm>

namespace net {

namespace {

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(char a, char b)
{
    return LowerAscii(a) == LowerAscii(b);
}

} // namespace

std::string_view TrimAscii(std::string_view text)
{
    while (!text.empty() && IsTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsTrimmed(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    return lower;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), SameIgnoringCase);
}

bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoreAsciiCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() &&
           EqualsIgnoreAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string BytesAsAsciiText(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x80)
            text += byte;
        else
            text += "\xEF\xBF\xBD";
    }
    return text;
}

std::string ToSevenBitAscii(std::string_view utf8)
{
    const std::u16string units = platform::Utf8ToUtf16(utf8);
    std::string ascii;
    ascii.reserve(units.size());
    for (const char16_t unit : units)
        ascii += unit < 0x80 ? static_cast<char>(unit) : '?';
    return ascii;
}

} // namespace net
