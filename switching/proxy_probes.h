#pragma once

#include "switching/proxy_address.h"

#include <cstdint>
#include <functional>
#include <string>

namespace switching {

// Where the speed test shows its progress and result. Called on the thread
// that runs the test, in the order the changes are made.
class SpeedTestDisplay {
public:
    virtual ~SpeedTestDisplay() = default;
    // DownloadProgress: the bar's maximum and position.
    virtual void ShowProgress(std::int32_t maximum, std::int32_t position) = 0;
    virtual void ResetProgress() = 0;
    // txtDwnSpeed
    virtual void ShowSpeed(const std::string& text) = 0;
};

using TickSource = std::function<std::uint32_t()>;

// The size the speed test takes its file to have, whatever arrives.
inline constexpr std::uint32_t kSpeedTestBytes = 1048576;
// The least speed that passes, in KiB per second.
inline constexpr std::int32_t kLeastSpeed = 2;

// Whole KiB per second for the file downloaded in that many milliseconds.
std::int32_t SpeedFor(std::uint32_t elapsedMs);

// Each probe makes one request with a client of its own and never throws:
// a failure is false or empty text.

// The test page fetched through the proxy.
bool TestProxy(const ProxyAddress& proxy, const std::string& testUrl);

// The speed-test file fetched directly, timed, and kept as
// "downloadspeed.txt" in the temporary folder; true at kLeastSpeed or more.
bool DownloadSpeedTest(const std::string& speedTestUrl, const std::string& tempFolder,
                       SpeedTestDisplay& display, const TickSource& ticks);

// The geo text fetched through the proxy.
std::string GetGeoInfo(const ProxyAddress& proxy, const std::string& geoUrl);

// The address the service's page reports for a plain request through the
// proxy, which carries what the proxy adds (X-Forwarded-For and the like).
std::string GetExitAddress(const ProxyAddress& proxy, const std::string& addressUrl);

} // namespace switching
