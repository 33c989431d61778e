#pragma once

#include "switching/hand_over.h"
#include "switching/handed_over_probes.h"
#include "switching/proxy_address.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace switching {

// While a proxy is applied, probes it for reachability at an interval, off
// the user-interface thread; after three failures in a row it says the proxy
// has died, so that the program moves on as a next-proxy request does. Every
// call comes on the user-interface thread.
class HealthCheck {
public:
    using Probe = std::function<bool(const ProxyAddress& proxy, const std::string& testUrl)>;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    static constexpr int kFailuresInARow = 3;

    HealthCheck(HandOver& handOver, Probe probe, Clock clock = std::chrono::steady_clock::now);

    // On every poll: the entry applied (none while nothing is) and the
    // interval (zero: never). True once the applied entry has failed three
    // times in a row; it is then watched afresh.
    bool Poll(const std::optional<std::string>& applied, std::chrono::milliseconds interval,
              const std::string& testUrl);
    // Forgets the entry watched; answers still out are dropped.
    void Stop();
    void StopAndWait();
    std::size_t ProbesOut() { return probes_.Out(); }

private:
    Probe probe_;
    Clock clock_;
    // The entry watched and when it was last probed; answers of earlier
    // generations are dropped.
    std::optional<std::string> watched_;
    std::chrono::steady_clock::time_point lastProbe_;
    unsigned generation_ = 0;
    int failures_ = 0;
    // Last, so that it goes first: its probes' answers still reach the rest.
    HandedOverProbes probes_;
};

} // namespace switching
