#include "platform/text_case.h"

#include "platform/text_codec.h"

namespace platform {

namespace {

char16_t FoldUnit(char16_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 32) : c;
    // Latin-1: À..Þ except ×
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 32);
    if (c == 0x178)
        return 0xFF;
    // Latin Extended-A: pairs of capital (even) and small (odd) letters, with
    // the run from Ĺ to Ň and from Ź to Ž shifted by one.
    if (c >= 0x100 && c <= 0x17F) {
        const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        if (oddRun)
            return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
        return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
    }
    // Greek capitals Α..Ω (0x3A2 is unassigned).
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2)
        return static_cast<char16_t>(c + 32);
    // Cyrillic: Ѐ..Џ and А..Я
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 80);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 32);
    return c;
}

std::u16string FoldUnits(std::string_view utf8)
{
    std::u16string units = Utf8ToUtf16(utf8);
    for (char16_t& unit : units)
        unit = FoldUnit(unit);
    return units;
}

bool IsAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

} // namespace

std::string FoldCase(std::string_view utf8)
{
    return Utf16ToUtf8(FoldUnits(utf8));
}

int CompareIgnoreCase(std::string_view a, std::string_view b)
{
    // Proxy entries and string IDs are ASCII: compare them without converting.
    if (IsAscii(a) && IsAscii(b)) {
        const std::size_t n = a.size() < b.size() ? a.size() : b.size();
        for (std::size_t i = 0; i < n; ++i) {
            const char x = FoldAscii(a[i]);
            const char y = FoldAscii(b[i]);
            if (x != y)
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    const std::u16string x = FoldUnits(a);
    const std::u16string y = FoldUnits(b);
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b)
{
    return CompareIgnoreCase(a, b) == 0;
}

} // namespace platform
