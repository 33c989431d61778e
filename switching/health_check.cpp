#include "switching/health_check.h"

#include <utility>

namespace switching {

HealthCheck::HealthCheck(HandOver& handOver, Probe probe, Clock clock)
    : probe_(std::move(probe)), clock_(std::move(clock)), probes_(handOver)
{
}

bool HealthCheck::Poll(const std::optional<std::string>& applied,
                       std::chrono::milliseconds interval, const std::string& testUrl)
{
    if (!applied || interval.count() <= 0) {
        if (watched_)
            Stop();
        return false;
    }
    const auto now = clock_();
    if (applied != watched_) {
        Stop();
        watched_ = applied;
        lastProbe_ = now;
    }
    if (failures_ >= kFailuresInARow) {
        Stop();
        return true;
    }
    // One connection at most, an earlier watch's probe still out included.
    if (probes_.Out() > 0 || now - lastProbe_ < interval)
        return false;
    lastProbe_ = now;
    const ProxyAddress address = SplitProxyEntry(*watched_);
    const unsigned generation = generation_;
    probes_.Start([this, address, testUrl] { return probe_(address, testUrl); },
                  [this, generation](std::optional<bool> passed) {
                      if (generation != generation_)
                          return;
                      if (passed)
                          failures_ = *passed ? 0 : failures_ + 1;
                  });
    return false;
}

void HealthCheck::Stop()
{
    ++generation_;
    watched_.reset();
    failures_ = 0;
}

void HealthCheck::StopAndWait()
{
    Stop();
    probes_.WaitForAll();
}

} // namespace switching
