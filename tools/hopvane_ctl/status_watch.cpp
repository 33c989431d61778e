#include "tools/hopvane_ctl/status_watch.h"

#include "tools/hopvane_ctl/mutex_names.h"

#include <optional>

namespace hopvane_ctl {

namespace {

constexpr std::chrono::milliseconds kPollInterval(10);
constexpr std::chrono::milliseconds kSwitchGapLimit(50);

// A moment without a status name, since when.
struct Gap {
    bool open = false;
    std::chrono::steady_clock::time_point since{};
    std::chrono::system_clock::time_point wallSince{};
};

// Whether the program's note that it moved on by itself has come since the
// last look.
class NoteWatch {
public:
    explicit NoteWatch(platform::NamedMutexes& mutexes) : mutexes_(mutexes) {}
    bool Appeared()
    {
        const bool seen = mutexes_.Exists(kNoteAppliedProxyDied);
        const bool appeared = seen && !seen_;
        seen_ = seen;
        return appeared;
    }

private:
    platform::NamedMutexes& mutexes_;
    bool seen_ = false;
};

} // namespace

void WatchStatus(platform::NamedMutexes& mutexes, Clock& clock,
                 const std::function<void(const StatusChange&)>& report,
                 const std::function<bool()>& stopRequested)
{
    std::optional<Status> reported;
    Gap gap;
    NoteWatch note(mutexes);
    while (!stopRequested()) {
        if (note.Appeared())
            report({reported.value_or(Status::kNone), clock.WallNow(), true});
        const Status status = ReadStatusNow(mutexes);
        if (status != Status::kNone) {
            gap.open = false;
            if (reported != status) {
                report({status, clock.WallNow()});
                reported = status;
            }
        } else if (reported != Status::kNone) {
            if (!gap.open) {
                gap = Gap{true, clock.Now(), clock.WallNow()};
            } else if (clock.Now() - gap.since >= kSwitchGapLimit) {
                report({Status::kNone, gap.wallSince});
                reported = Status::kNone;
                gap.open = false;
            }
        }
        clock.SleepFor(kPollInterval);
    }
}

} // namespace hopvane_ctl
