#include "i18n/font_charsets.h"

#include "platform/text_case.h"

#include <array>
#include <utility>

namespace i18n {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 19> kCharsets = {{
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},      {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},   {"GB2312_CHARSET", 134},   {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},   {"TURKISH_CHARSET", 162},  {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},  {"ARABIC_CHARSET", 178},   {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},     {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
}};

} // namespace

std::optional<int> CharsetValue(std::string_view name)
{
    for (const auto& [charsetName, value] : kCharsets) {
        if (platform::EqualsIgnoreCase(charsetName, name))
            return value;
    }
    return std::nullopt;
}

} // namespace i18n
