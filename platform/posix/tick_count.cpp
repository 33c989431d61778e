#include "platform/tick_count.h"

#include <chrono>

namespace platform {

std::uint32_t TickCount()
{
    const auto elapsed = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    // Keeping the low 32 bits is what makes it wrap like GetTickCount.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

} // namespace platform
