#pragma once

#include "tools/hopvane_ctl/clock.h"

#include <chrono>
#include <functional>
#include <utility>

namespace hopvane_ctl_test {

// Time that passes only while the tool sleeps; whoever follows it hears of
// each step.
class FakeClock final : public hopvane_ctl::Clock {
public:
    using Listener = std::function<void(std::chrono::milliseconds elapsed)>;

    std::chrono::steady_clock::time_point Now() override
    {
        return std::chrono::steady_clock::time_point{} + elapsed_;
    }
    std::chrono::system_clock::time_point WallNow() override { return WallAt(elapsed_); }
    void SleepFor(std::chrono::milliseconds duration) override
    {
        elapsed_ += duration;
        if (listener_)
            listener_(elapsed_);
    }

    std::chrono::milliseconds Elapsed() const { return elapsed_; }
    void Follow(Listener listener) { listener_ = std::move(listener); }

    // The time of day `elapsed` after the clock started.
    static std::chrono::system_clock::time_point WallAt(std::chrono::milliseconds elapsed)
    {
        const std::chrono::system_clock::time_point start{std::chrono::hours(24 * 20000)};
        return start + std::chrono::duration_cast<std::chrono::system_clock::duration>(elapsed);
    }

private:
    std::chrono::milliseconds elapsed_{0};
    Listener listener_;
};

} // namespace hopvane_ctl_test
