// hopvane-ctl: reads a running Hopvane's state and asks it to switch, from a
// shell or a script.

#include "platform/named_mutexes.h"
#include "tools/hopvane_ctl/clock.h"
#include "tools/hopvane_ctl/command_line.h"
#include "tools/hopvane_ctl/controller.h"
#include "tools/hopvane_ctl/status_watch.h"
#include "tools/hopvane_ctl/time_stamp.h"

#include <csignal>
#include <exception>
#include <iostream>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using hopvane_ctl::Command;
using hopvane_ctl::ExitCode;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int)
{
    stopRequested = 1;
}

int Code(ExitCode code)
{
    return static_cast<int>(code);
}

int Watch(platform::NamedMutexes& mutexes, hopvane_ctl::Clock& clock)
{
    // Ends the loop, so the last line is out before the program goes.
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    hopvane_ctl::WatchStatus(
        mutexes, clock,
        [](const hopvane_ctl::StatusChange& change) {
            // Flushed, so a pipe gets each line as it happens.
            std::cout << hopvane_ctl::LocalTimeStamp(change.at) << ' '
                      << (change.appliedProxyDied
                              ? std::string_view("moved on by itself: the applied proxy stopped "
                                                 "answering")
                              : hopvane_ctl::StatusText(change.status))
                      << std::endl;
        },
        [] { return stopRequested != 0; });
    return Code(ExitCode::kSuccess);
}

// `isAnswer`: the message is what was asked for, whatever the code says.
int Report(const hopvane_ctl::Outcome& outcome, bool isAnswer)
{
    if (isAnswer || outcome.code == ExitCode::kSuccess)
        std::cout << outcome.message << '\n';
    else
        std::cerr << "hopvane-ctl: " << outcome.message << '\n';
    return Code(outcome.code);
}

int Execute(const hopvane_ctl::Invocation& invocation)
{
    platform::NamedMutexes& mutexes = platform::SystemNamedMutexes();
    hopvane_ctl::SystemClock clock;
    hopvane_ctl::Controller controller(mutexes, clock);
    switch (invocation.command) {
    case Command::kHelp:
        std::cout << hopvane_ctl::HelpText();
        return Code(ExitCode::kSuccess);
    case Command::kWatch:
        return Watch(mutexes, clock);
    case Command::kNext:
        return Report(controller.Next(invocation.wait), false);
    case Command::kOn:
        return Report(controller.SwitchOn(invocation.wait), false);
    case Command::kOff:
        return Report(controller.SwitchOff(), false);
    case Command::kStatus:
        break;
    }
    return Report(controller.ShowStatus(), true);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = hopvane_ctl::ParseArguments(arguments);
    if (const auto* error = std::get_if<hopvane_ctl::UsageError>(&parsed)) {
        std::cerr << "hopvane-ctl: " << error->message << '\n' << hopvane_ctl::UsageHint();
        return Code(ExitCode::kUsage);
    }
    try {
        return Execute(std::get<hopvane_ctl::Invocation>(parsed));
    } catch (const std::exception& error) {
        std::cerr << "hopvane-ctl: " << error.what() << '\n';
        return Code(ExitCode::kSystemError);
    }
}
