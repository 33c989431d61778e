#pragma once

#include <chrono>
#include <thread>

namespace hopvane_ctl {

// Time as the tool waits and reports it; tests bring a clock that moves only
// when the tool sleeps.
class Clock {
public:
    virtual ~Clock() = default;

    // For deadlines: never jumps with the system's time of day.
    virtual std::chrono::steady_clock::time_point Now() = 0;
    // For time stamps shown to the user.
    virtual std::chrono::system_clock::time_point WallNow() = 0;
    virtual void SleepFor(std::chrono::milliseconds duration) = 0;
};

class SystemClock final : public Clock {
public:
    std::chrono::steady_clock::time_point Now() override
    {
        return std::chrono::steady_clock::now();
    }
    std::chrono::system_clock::time_point WallNow() override
    {
        return std::chrono::system_clock::now();
    }
    void SleepFor(std::chrono::milliseconds duration) override
    {
        std::this_thread::sleep_for(duration);
    }
};

} // namespace hopvane_ctl
