#include "tools/hopvane_ctl/controller.h"

#include "tools/hopvane_ctl/held_name.h"
#include "tools/hopvane_ctl/mutex_names.h"
#include "tools/hopvane_ctl/status.h"

namespace hopvane_ctl {

namespace {

// Well inside the program's 88 ms poll, so a request is let go before the
// program looks for it again.
constexpr std::chrono::milliseconds kPollInterval(5);

Outcome NotRunning()
{
    return {ExitCode::kNotRunning, "Hopvane is not running"};
}

} // namespace

Controller::Controller(platform::NamedMutexes& mutexes, Clock& clock)
    : mutexes_(mutexes), clock_(clock)
{
}

Outcome Controller::ShowStatus()
{
    switch (ReadSettledStatus(mutexes_, clock_)) {
    case Status::kOk:
        return {ExitCode::kSuccess, kStatusOk};
    case Status::kChange:
        return {ExitCode::kChanging, kStatusChange};
    case Status::kOff:
        return {ExitCode::kSwitchedOff, kStatusOff};
    case Status::kNone:
        break;
    }
    return {ExitCode::kNotRunning, "none: Hopvane is not running"};
}

Outcome Controller::Next(std::optional<std::chrono::seconds> wait)
{
    const Status start = ReadSettledStatus(mutexes_, clock_);
    if (start == Status::kNone)
        return NotRunning();
    // A check that runs already keeps its name until it ends: only the name
    // coming back after it went away shows the new change.
    bool changeWasGone = start != Status::kChange;
    const auto refusal = Request(kRequestNext, [&] {
        const bool changing = mutexes_.Exists(kStatusChange);
        changeWasGone = changeWasGone || !changing;
        return changing && changeWasGone;
    });
    if (refusal)
        return *refusal;
    if (!wait)
        return {ExitCode::kSuccess, "Hopvane_change: the next proxy is being checked"};
    return AwaitProxy(*wait);
}

Outcome Controller::SwitchOn(std::optional<std::chrono::seconds> wait)
{
    const Status start = ReadSettledStatus(mutexes_, clock_);
    if (start == Status::kNone)
        return NotRunning();
    if (start == Status::kOff) {
        const auto refusal = Request(kRequestOn, [&] {
            return mutexes_.Exists(kStatusChange) || mutexes_.Exists(kStatusOk);
        });
        if (refusal)
            return *refusal;
    }
    if (wait)
        return AwaitProxy(*wait);
    return {ExitCode::kSuccess,
            start == Status::kOff ? "Hopvane is switched on" : "Hopvane is on already"};
}

Outcome Controller::SwitchOff()
{
    const Status start = ReadSettledStatus(mutexes_, clock_);
    if (start == Status::kNone)
        return NotRunning();
    if (start == Status::kOff)
        return {ExitCode::kSuccess, "Hopvane is off already"};
    const auto refusal = Request(kRequestOff, [&] { return mutexes_.Exists(kStatusOff); });
    if (refusal)
        return *refusal;
    return {ExitCode::kSuccess, "Hopvane is switched off"};
}

std::optional<Outcome> Controller::Request(std::string_view request,
                                           const std::function<bool()>& taken)
{
    bool wasTaken = false;
    {
        const HeldName held(mutexes_, request);
        if (!held.IsHeld())
            return Outcome{ExitCode::kSystemError, "cannot create " + std::string(request) +
                                                       " (error " + std::to_string(held.Error()) +
                                                       ")"};
        wasTaken = PollUntil(kReactionLimit, taken);
    }
    if (wasTaken)
        return std::nullopt;
    return Unanswered(request);
}

Outcome Controller::AwaitProxy(std::chrono::seconds wait)
{
    const auto deadline = clock_.Now() + wait;
    for (;;) {
        switch (ReadSettledStatus(mutexes_, clock_)) {
        case Status::kOk:
            return {ExitCode::kSuccess, "Hopvane_ok: a proxy is applied"};
        case Status::kOff:
            return {ExitCode::kSwitchedOff, "Hopvane was switched off before it applied a proxy"};
        case Status::kNone:
            return NotRunning();
        case Status::kChange:
            break;
        }
        if (clock_.Now() >= deadline)
            return {ExitCode::kNoProxyInTime,
                    "no proxy applied within " + std::to_string(wait.count()) +
                        " s: the check still runs, or its cycle found no working proxy"};
        clock_.SleepFor(kPollInterval);
    }
}

bool Controller::PollUntil(std::chrono::milliseconds limit, const std::function<bool()>& done)
{
    const auto deadline = clock_.Now() + limit;
    while (!done()) {
        if (clock_.Now() >= deadline)
            return false;
        clock_.SleepFor(kPollInterval);
    }
    return true;
}

Outcome Controller::Unanswered(std::string_view request)
{
    const std::string name(request);
    const std::string late = "Hopvane did not act on " + name + " within " +
                             std::to_string(kReactionLimit.count()) + " s";
    switch (ReadSettledStatus(mutexes_, clock_)) {
    case Status::kNone:
        return NotRunning();
    case Status::kOff:
        return {ExitCode::kSwitchedOff, "Hopvane is switched off and ignored " + name};
    case Status::kChange:
        return {ExitCode::kNoReaction, late + ": a check still runs"};
    case Status::kOk:
        break;
    }
    return {ExitCode::kNoReaction, late};
}

} // namespace hopvane_ctl
