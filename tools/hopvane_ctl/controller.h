#pragma once

#include "platform/named_mutexes.h"
#include "tools/hopvane_ctl/clock.h"
#include "tools/hopvane_ctl/exit_code.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace hopvane_ctl {

struct Outcome {
    ExitCode code = ExitCode::kSuccess;
    std::string message;
};

// What the program answered to a request: the state it was in once it had
// acted on it.
enum class Answer { kChecking, kApplied, kIdle, kOff };

// The commands that read the program's state or ask it for something. A
// request's name is held only until the program answers it, as the program
// acts on it again on every poll while it exists: one request, one action.
class Controller {
public:
    // How long the program may take to act on a request it can act on.
    static constexpr std::chrono::seconds kReactionLimit{2};

    Controller(platform::NamedMutexes& mutexes, Clock& clock);

    Outcome ShowStatus();
    // `wait`: also wait that long for the check to apply a proxy; a running
    // check puts the request off, within that time too.
    Outcome Next(std::optional<std::chrono::seconds> wait);
    Outcome SwitchOn(std::optional<std::chrono::seconds> wait);
    Outcome SwitchOff();

private:
    // Holds `request` until the program answers it, at most `limit`; the
    // answer, else why there was none.
    std::variant<Answer, Outcome> Request(std::string_view request,
                                          std::chrono::milliseconds limit);
    std::optional<Answer> ReadAnswer();
    Outcome AwaitProxy(std::chrono::steady_clock::time_point deadline, std::chrono::seconds wait);
    bool PollUntil(std::chrono::milliseconds limit, const std::function<bool()>& done);
    Outcome Unanswered(std::string_view request, std::chrono::milliseconds limit);

    platform::NamedMutexes& mutexes_;
    Clock& clock_;
};

} // namespace hopvane_ctl
