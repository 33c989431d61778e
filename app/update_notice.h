#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

// This release's number; the service names the newest one.
inline constexpr std::int32_t kThisRelease = 11;

// The text as a whole number: leading spaces, an optional sign, then decimal
// digits or a hexadecimal number after "$", "x", "X", "0x" or "0X", and
// nothing after it. None when the text is not such a number or the value
// does not fit 32 bits with sign.
std::optional<std::int32_t> TextToInteger(std::string_view text);

// Whether the release number text names a release newer than this one.
bool NamesNewerRelease(std::string_view releaseNumberText);

} // namespace app
