#include "tools/hopvane_ctl/status_watch.h"

#include <optional>

namespace hopvane_ctl {

namespace {

constexpr std::chrono::milliseconds kPollInterval(10);
constexpr std::chrono::milliseconds kSwitchGapLimit(50);

struct Gap {
    std::chrono::steady_clock::time_point since;
    std::chrono::system_clock::time_point wallSince;
};

} // namespace

void WatchStatus(platform::NamedMutexes& mutexes, Clock& clock,
                 const std::function<void(const StatusChange&)>& report,
                 const std::function<bool()>& stopRequested)
{
    std::optional<Status> reported;
    std::optional<Gap> gap;
    while (!stopRequested()) {
        const Status status = ReadStatusNow(mutexes);
        if (status != Status::kNone) {
            gap.reset();
            if (reported != status) {
                report({status, clock.WallNow()});
                reported = status;
            }
        } else if (reported != Status::kNone) {
            if (!gap) {
                gap = Gap{clock.Now(), clock.WallNow()};
            } else if (clock.Now() - gap->since >= kSwitchGapLimit) {
                report({Status::kNone, gap->wallSince});
                reported = Status::kNone;
                gap.reset();
            }
        }
        clock.SleepFor(kPollInterval);
    }
}

} // namespace hopvane_ctl
