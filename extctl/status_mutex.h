#pragma once

#include "platform/named_mutexes.h"

#include <string>

namespace extctl {

// The status names other programs watch; the program holds exactly one.
constexpr const char* kStatusOff = "Hopvane_off";
constexpr const char* kStatusChange = "Hopvane_change";
constexpr const char* kStatusOk = "Hopvane_ok";

// `StatusMutex`: the handle of the status name held, or none. Lives on the
// user-interface thread; the worker hands its switches over.
class StatusMutex {
public:
    explicit StatusMutex(platform::NamedMutexes& mutexes);
    // The last name stays held until the process ends, so nothing is closed
    // here: a closing window must not change what others see.
    ~StatusMutex() = default;
    StatusMutex(const StatusMutex&) = delete;
    StatusMutex& operator=(const StatusMutex&) = delete;

    // Closes the name held, then creates the new one (so for a moment none
    // exists). A failed creation leaves no handle and is not reported.
    // Returns the name for `txtMutex`.
    std::string SwitchTo(const std::string& name);

    bool HoldsHandle() const { return handle_ != platform::NamedMutexes::kNoHandle; }
    // The name last switched to, held or not; empty before the first.
    const std::string& Name() const { return name_; }

private:
    platform::NamedMutexes& mutexes_;
    platform::NamedMutexes::Handle handle_ = platform::NamedMutexes::kNoHandle;
    std::string name_;
};

} // namespace extctl
