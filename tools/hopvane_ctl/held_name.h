#pragma once

#include "platform/named_mutexes.h"

#include <string_view>

namespace hopvane_ctl {

// A name this process keeps in existence for as long as the object lives.
class HeldName {
public:
    HeldName(platform::NamedMutexes& mutexes, std::string_view name);
    ~HeldName();
    HeldName(const HeldName&) = delete;
    HeldName& operator=(const HeldName&) = delete;

    bool IsHeld() const { return created_.handle != platform::NamedMutexes::kNoHandle; }
    // Why the system refused the name when it is not held.
    platform::WinError Error() const { return created_.lastError; }

private:
    platform::NamedMutexes& mutexes_;
    platform::NamedMutexes::Created created_;
};

} // namespace hopvane_ctl
