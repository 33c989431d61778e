#pragma once

#include <chrono>
#include <string>

namespace hopvane_ctl {

// "2026-12-09 17:03:12.345" in the local time zone.
std::string LocalTimeStamp(std::chrono::system_clock::time_point at);

} // namespace hopvane_ctl
