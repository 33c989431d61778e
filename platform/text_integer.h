#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// The text as a whole number, the way the system's string-to-integer
// conversion reads it: leading spaces, an optional sign, then decimal digits
// or a hexadecimal number after "$", "x", "X", "0x" or "0X", and nothing
// after it. None when the text is not such a number or the value does not
// fit 32 bits with sign.
std::optional<std::int32_t> TextToInteger(std::string_view text);

} // namespace platform
