#include "tools/hopvane_ctl/status.h"

#include "tools/hopvane_ctl/mutex_names.h"

namespace hopvane_ctl {

namespace {

constexpr std::chrono::milliseconds kSwitchGapLimit(100);
constexpr std::chrono::milliseconds kRecheckInterval(10);

} // namespace

std::string_view StatusText(Status status)
{
    switch (status) {
    case Status::kOff:
        return kStatusOff;
    case Status::kChange:
        return kStatusChange;
    case Status::kOk:
        return kStatusOk;
    case Status::kNone:
        break;
    }
    return "none";
}

Status ReadStatusNow(platform::NamedMutexes& mutexes)
{
    for (const Status status : {Status::kOff, Status::kChange, Status::kOk}) {
        if (mutexes.Exists(StatusText(status)))
            return status;
    }
    return Status::kNone;
}

Status ReadSettledStatus(platform::NamedMutexes& mutexes, Clock& clock)
{
    const auto deadline = clock.Now() + kSwitchGapLimit;
    for (;;) {
        const Status status = ReadStatusNow(mutexes);
        if (status != Status::kNone || clock.Now() >= deadline)
            return status;
        clock.SleepFor(kRecheckInterval);
    }
}

} // namespace hopvane_ctl
