#pragma once

#include "platform/named_mutexes.h"
#include "tools/hopvane_ctl/clock.h"

#include <string_view>

namespace hopvane_ctl {

enum class Status { kNone, kOff, kChange, kOk };

// The status name, or "none" when no program runs.
std::string_view StatusText(Status status);

// The status name that exists right now. Only asks whether names exist: a
// handle opened here would keep a name alive after the program let go of it.
Status ReadStatusNow(platform::NamedMutexes& mutexes);

// As ReadStatusNow, but no name counts as no program only once that has
// lasted longer than the program's switch from one name to the next.
Status ReadSettledStatus(platform::NamedMutexes& mutexes, Clock& clock);

} // namespace hopvane_ctl
