#pragma once

#include "platform/named_mutexes.h"
#include "tools/hopvane_ctl/clock.h"
#include "tools/hopvane_ctl/status.h"

#include <chrono>
#include <functional>

namespace hopvane_ctl {

struct StatusChange {
    Status status = Status::kNone;
    // When the status was first seen.
    std::chrono::system_clock::time_point at;
    // No change of status: the program moved on by itself because the
    // applied proxy stopped answering.
    bool appliedProxyDied = false;
};

// Reports the status at the start and each change after it until
// `stopRequested` says so. The moment without a name while the program
// switches is no change; a longer one is reported as kNone. Each time the
// program notes that it moved on by itself, that is reported too.
void WatchStatus(platform::NamedMutexes& mutexes, Clock& clock,
                 const std::function<void(const StatusChange&)>& report,
                 const std::function<bool()>& stopRequested);

} // namespace hopvane_ctl
