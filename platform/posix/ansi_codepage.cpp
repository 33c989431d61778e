#include "platform/text_codec.h"

#include <array>

// Linux has no ANSI code page; windows-1252 stands in for it, the code page
// of the program's Western users.
namespace platform {

namespace {

// 0x80..0x9F of windows-1252. The five holes map to the C1 control of the
// same number, as MultiByteToWideChar maps them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControls[byte - 0x80];
    return byte;
}

int ToAnsi(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return unit;
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

std::string AnsiToUtf8(std::string_view bytes)
{
    std::u16string units;
    units.reserve(bytes.size());
    for (const char byte : bytes)
        units += ToUnicode(static_cast<unsigned char>(byte));
    return Utf16ToUtf8(units);
}

std::string Utf8ToAnsi(std::string_view utf8)
{
    const std::u16string units = Utf8ToUtf16(utf8);
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const int byte = ToAnsi(units[i]);
        out += byte < 0 ? '?' : static_cast<char>(byte);
        // A character outside the BMP is one character, so one "?".
        if (units[i] >= 0xD800 && units[i] <= 0xDBFF && i + 1 < units.size() &&
            units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
            ++i;
    }
    return out;
}

} // namespace platform
