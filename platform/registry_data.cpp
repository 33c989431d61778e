#include "platform/registry.h"
#include "platform/text_codec.h"

namespace platform {

std::vector<std::uint8_t> RegSzData(std::string_view utf8)
{
    std::u16string units = Utf8ToUtf16(utf8);
    units.push_back(u'\0');
    std::vector<std::uint8_t> data;
    data.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        data.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return data;
}

std::vector<std::uint8_t> RegDwordData(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

} // namespace platform
