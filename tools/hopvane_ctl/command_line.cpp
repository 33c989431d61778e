#include "tools/hopvane_ctl/command_line.h"

#include "tools/hopvane_ctl/controller.h"

#include <algorithm>
#include <charconv>

namespace hopvane_ctl {

namespace {

std::optional<Command> CommandNamed(std::string_view name)
{
    if (name == "status")
        return Command::kStatus;
    if (name == "next")
        return Command::kNext;
    if (name == "on")
        return Command::kOn;
    if (name == "off")
        return Command::kOff;
    if (name == "watch")
        return Command::kWatch;
    return std::nullopt;
}

bool TakesWait(Command command)
{
    return command == Command::kNext || command == Command::kOn;
}

std::optional<std::chrono::seconds> ParseSeconds(std::string_view text)
{
    int seconds = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seconds);
    if (text.empty() || error != std::errc() || stop != end || seconds < 0)
        return std::nullopt;
    return std::chrono::seconds(seconds);
}

UsageError Unknown(std::string_view argument)
{
    const bool isOption = !argument.empty() && argument.front() == '-';
    return {std::string(isOption ? "unknown option '" : "unknown command '") +
            std::string(argument) + "'"};
}

} // namespace

std::variant<Invocation, UsageError> ParseArguments(const std::vector<std::string_view>& arguments)
{
    const auto asksForHelp = [](std::string_view argument) {
        return argument == "-h" || argument == "--help";
    };
    if (std::any_of(arguments.begin(), arguments.end(), asksForHelp))
        return Invocation{};
    if (arguments.empty())
        return UsageError{"no command given"};
    const auto command = CommandNamed(arguments.front());
    if (!command)
        return Unknown(arguments.front());

    Invocation invocation{*command, std::nullopt};
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument != "--wait")
            return Unknown(argument);
        if (!TakesWait(*command))
            return UsageError{"'" + std::string(arguments.front()) + "' takes no --wait"};
        if (invocation.wait)
            return UsageError{"--wait given twice"};
        if (i + 1 == arguments.size())
            return UsageError{"--wait needs a number of seconds"};
        invocation.wait = ParseSeconds(arguments[++i]);
        if (!invocation.wait)
            return UsageError{"--wait takes whole seconds, not '" + std::string(arguments[i]) +
                              "'"};
    }
    return invocation;
}

std::string UsageHint()
{
    return "usage: hopvane-ctl status | next [--wait SECONDS] | on [--wait SECONDS] | off | "
           "watch\n"
           "Try 'hopvane-ctl --help' for more.\n";
}

std::string HelpText()
{
    return R"(usage: hopvane-ctl COMMAND [--wait SECONDS]

Watches and drives a running Hopvane through its named mutexes.

Commands:
  status               print the state: Hopvane_ok, Hopvane_change, Hopvane_off,
                       or none when Hopvane is not running
  next [--wait S]      ask for the next proxy; with --wait, then wait up to S
                       seconds until Hopvane has applied one
  on [--wait S]        switch Hopvane on; with --wait, as for next
  off                  switch Hopvane off
  watch                print each change of the state with a local time stamp
                       until Ctrl-C ("none" while Hopvane is not running)
  -h, --help           show this text

Hopvane holds exactly one of these names: Hopvane_off (switched off),
Hopvane_change (checking a proxy, or its last check cycle applied none) and
Hopvane_ok (a proxy is applied). Every 88 ms it looks for Hopvane_go_change
(next proxy; ignored while switched off and put off while a check runs),
Hopvane_go_on and Hopvane_go_off, and acts on them again on every look while
they exist. So next, on and off hold their name only until the state shows
that Hopvane acted on it; a request that is already fulfilled is not made.
The state is read without ever opening the state names.

Exit codes:
  0   done; for status: Hopvane_ok
  1   status: Hopvane_change
  2   Hopvane is switched off (status), or it stayed or went off instead of
      doing what was asked
  3   Hopvane is not running
  4   Hopvane did not act on the request within )" +
           std::to_string(Controller::kReactionLimit.count()) + R"( seconds
  5   --wait ran out before Hopvane applied a proxy (the check still runs, or
      its cycle found no working proxy)
  6   the system refused to create the request's name
  64  wrong command line
)";
}

} // namespace hopvane_ctl
