#pragma once

#include <cstdint>
#include <string_view>

namespace app {

// This release's number; the service names the newest one.
inline constexpr std::int32_t kThisRelease = 11;

// Whether the release number text names a release newer than this one.
bool NamesNewerRelease(std::string_view releaseNumberText);

} // namespace app
