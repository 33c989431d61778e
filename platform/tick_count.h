#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, 32 bits, wrapping like GetTickCount.
std::uint32_t TickCount();

} // namespace platform
