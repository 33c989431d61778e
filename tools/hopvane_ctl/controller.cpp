#include "tools/hopvane_ctl/controller.h"

#include "tools/hopvane_ctl/held_name.h"
#include "tools/hopvane_ctl/mutex_names.h"
#include "tools/hopvane_ctl/status.h"

#include <algorithm>

namespace hopvane_ctl {

namespace {

// Well inside the program's 88 ms poll, so a request is let go before the
// program looks for it again.
constexpr std::chrono::milliseconds kPollInterval(5);
// An answer to somebody else's request goes within two of the program's
// polls; a request made while it exists would take it for its own.
constexpr std::chrono::milliseconds kEarlierAnswerLimit(250);

Outcome NotRunning()
{
    return {ExitCode::kNotRunning, "Hopvane is not running"};
}

Outcome NothingToCheck()
{
    return {ExitCode::kNothingToCheck,
            "Hopvane is switched on but checks nothing: no entry of its proxy list is selected "
            "(the list is empty or ran out; refresh it)"};
}

Outcome Ignored(std::string_view request)
{
    return {ExitCode::kSwitchedOff, "Hopvane is switched off and ignored " + std::string(request)};
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
    const auto deadline = clock_.Now() + wait.value_or(std::chrono::seconds(0));
    // A running check puts the request off: within the wait, that is fine.
    const auto answer =
        Request(kRequestNext, std::max<std::chrono::milliseconds>(
                                  kReactionLimit, wait.value_or(std::chrono::seconds(0))));
    if (const auto* refusal = std::get_if<Outcome>(&answer))
        return *refusal;
    switch (std::get<Answer>(answer)) {
    case Answer::kOff:
        return Ignored(kRequestNext);
    case Answer::kIdle:
        return NothingToCheck();
    case Answer::kApplied:
        return {ExitCode::kSuccess, "Hopvane_ok: a proxy is applied"};
    case Answer::kChecking:
        break;
    }
    if (!wait)
        return {ExitCode::kSuccess, "Hopvane_change: the next proxy is being checked"};
    return AwaitProxy(deadline, *wait);
}

Outcome Controller::SwitchOn(std::optional<std::chrono::seconds> wait)
{
    const auto deadline = clock_.Now() + wait.value_or(std::chrono::seconds(0));
    const auto answer = Request(kRequestOn, kReactionLimit);
    if (const auto* refusal = std::get_if<Outcome>(&answer))
        return *refusal;
    switch (std::get<Answer>(answer)) {
    case Answer::kOff:
        return {ExitCode::kSwitchedOff, "Hopvane stayed switched off"};
    case Answer::kIdle:
        return NothingToCheck();
    case Answer::kApplied:
        return {ExitCode::kSuccess, "Hopvane is switched on: Hopvane_ok, a proxy is applied"};
    case Answer::kChecking:
        break;
    }
    if (!wait)
        return {ExitCode::kSuccess, "Hopvane is switched on: Hopvane_change, a proxy is being "
                                    "checked"};
    return AwaitProxy(deadline, *wait);
}

Outcome Controller::SwitchOff()
{
    const auto answer = Request(kRequestOff, kReactionLimit);
    if (const auto* refusal = std::get_if<Outcome>(&answer))
        return *refusal;
    if (std::get<Answer>(answer) != Answer::kOff)
        return {ExitCode::kNoReaction, "Hopvane stayed switched on"};
    return {ExitCode::kSuccess, "Hopvane is switched off"};
}

std::variant<Answer, Outcome> Controller::Request(std::string_view request,
                                                  std::chrono::milliseconds limit)
{
    if (ReadSettledStatus(mutexes_, clock_) == Status::kNone)
        return NotRunning();
    PollUntil(kEarlierAnswerLimit, [this] { return !ReadAnswer(); });
    std::optional<Answer> answer;
    {
        const HeldName held(mutexes_, request);
        if (!held.IsHeld())
            return Outcome{ExitCode::kSystemError, "cannot create " + std::string(request) +
                                                       " (error " + std::to_string(held.Error()) +
                                                       ")"};
        // A status switch leaves no name for a moment: only a lasting
        // absence means the program has gone.
        PollUntil(limit, [&] {
            answer = ReadAnswer();
            return answer || (ReadStatusNow(mutexes_) == Status::kNone &&
                              ReadSettledStatus(mutexes_, clock_) == Status::kNone);
        });
    }
    if (answer)
        return *answer;
    return Unanswered(request, limit);
}

std::optional<Answer> Controller::ReadAnswer()
{
    if (mutexes_.Exists(kAnswerChecking))
        return Answer::kChecking;
    if (mutexes_.Exists(kAnswerApplied))
        return Answer::kApplied;
    if (mutexes_.Exists(kAnswerIdle))
        return Answer::kIdle;
    if (mutexes_.Exists(kAnswerOff))
        return Answer::kOff;
    return std::nullopt;
}

Outcome Controller::AwaitProxy(std::chrono::steady_clock::time_point deadline,
                               std::chrono::seconds wait)
{
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
        if (mutexes_.Exists(kNoteNoProxyFound))
            return {ExitCode::kNoProxyInTime,
                    "Hopvane_change: the check cycle ran out of entries without a working proxy"};
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

Outcome Controller::Unanswered(std::string_view request, std::chrono::milliseconds limit)
{
    const std::string late =
        "Hopvane did not act on " + std::string(request) + " within " +
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) +
        " s; the request is withdrawn";
    switch (ReadSettledStatus(mutexes_, clock_)) {
    case Status::kNone:
        return NotRunning();
    case Status::kChange:
        return {ExitCode::kNoReaction, late + ": a check still runs"};
    case Status::kOff:
    case Status::kOk:
        break;
    }
    return {ExitCode::kNoReaction, late};
}

} // namespace hopvane_ctl
