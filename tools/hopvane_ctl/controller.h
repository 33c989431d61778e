#pragma once

#include "platform/named_mutexes.h"
#include "tools/hopvane_ctl/clock.h"
#include "tools/hopvane_ctl/exit_code.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace hopvane_ctl {

struct Outcome {
    ExitCode code = ExitCode::kSuccess;
    std::string message;
};

// The commands that read the program's state or ask it for something. A
// request's name is held only until the state shows that the program took
// it, as the program acts on it again on every poll while it exists.
class Controller {
public:
    // How long the program may take to act on a request it can act on.
    static constexpr std::chrono::seconds kReactionLimit{2};

    Controller(platform::NamedMutexes& mutexes, Clock& clock);

    Outcome ShowStatus();
    // `wait`: also wait that long for the check to apply a proxy.
    Outcome Next(std::optional<std::chrono::seconds> wait);
    Outcome SwitchOn(std::optional<std::chrono::seconds> wait);
    Outcome SwitchOff();

private:
    // Holds `request` until `taken` says the program took it; nothing then,
    // else why not.
    std::optional<Outcome> Request(std::string_view request, const std::function<bool()>& taken);
    Outcome AwaitProxy(std::chrono::seconds wait);
    bool PollUntil(std::chrono::milliseconds limit, const std::function<bool()>& done);
    Outcome Unanswered(std::string_view request);

    platform::NamedMutexes& mutexes_;
    Clock& clock_;
};

} // namespace hopvane_ctl
