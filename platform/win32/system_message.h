#pragma once

#include <cstdint>
#include <string>

namespace platform::win32 {

// The system's text for an error code (FormatMessageW), without the line end
// it comes with; "Error N" when the system has none.
std::string SystemMessage(std::uint32_t errorCode);

} // namespace platform::win32
