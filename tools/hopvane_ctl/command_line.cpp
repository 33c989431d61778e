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

} // namespace

std::variant<Invocation, UsageError> ParseArguments(const std::vector<std::string_view>& arguments)
{
    const auto asksForHelp = [](std::string_view argument) {
        return argument == "-h" || argument == "--help";
    };
    if (std::any_of(arguments.begin(), arguments.end(), asksForHelp))
        return Invocation{};

    // Options may come before or after the command, as with most tools.
    std::optional<std::string_view> commandName;
    std::optional<std::string_view> waitText;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--wait" || argument.rfind("--wait=", 0) == 0) {
            if (waitText)
                return UsageError{"--wait given twice"};
            if (argument != "--wait")
                waitText = argument.substr(7);
            else if (i + 1 < arguments.size())
                waitText = arguments[++i];
            else
                return UsageError{"--wait needs a number of seconds"};
        } else if (!argument.empty() && argument.front() == '-') {
            return UsageError{"unknown option '" + std::string(argument) + "'"};
        } else if (commandName) {
            return UsageError{"'" + std::string(*commandName) +
                              "' takes no further argument, not '" + std::string(argument) + "'"};
        } else {
            commandName = argument;
        }
    }
    if (!commandName)
        return UsageError{waitText ? "--wait needs a command: next or on" : "no command given"};
    const auto command = CommandNamed(*commandName);
    if (!command)
        return UsageError{"unknown command '" + std::string(*commandName) + "'"};

    Invocation invocation{*command, std::nullopt};
    if (waitText) {
        if (!TakesWait(*command))
            return UsageError{"'" + std::string(*commandName) + "' takes no --wait"};
        invocation.wait = ParseSeconds(*waitText);
        if (!invocation.wait)
            return UsageError{"--wait takes whole seconds, not '" + std::string(*waitText) + "'"};
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
                       seconds until Hopvane has applied one (a check that
                       runs already puts the request off, within S too)
  on [--wait S]        switch Hopvane on; with --wait, as for next
  off                  switch Hopvane off
  watch                print each change of the state with a local time stamp
                       until Ctrl-C ("none" while Hopvane is not running),
                       and a line of its own when Hopvane moved on by
                       itself because the applied proxy stopped answering
  -h, --help           show this text
--wait S and --wait=S may come before or after the command.

Hopvane holds exactly one of these names: Hopvane_off (switched off),
Hopvane_change (checking a proxy, or its last check cycle applied none) and
Hopvane_ok (a proxy is applied). Every 88 ms it looks for Hopvane_go_change
(next proxy; ignored while switched off and put off while a check runs),
Hopvane_go_on and Hopvane_go_off, and acts on them again on every look while
they exist. Once it has acted on one, it answers for two looks with the state
it is in: Hopvane_answer_checking, Hopvane_answer_applied, Hopvane_answer_idle
(switched on, but no entry of its list to check) or Hopvane_answer_off. So
next, on and off hold their name only until the answer comes: one request is
exactly one action. The state is read without ever opening the state names.

Exit codes:
  0   done; for status: Hopvane_ok
  1   status: Hopvane_change
  2   Hopvane is switched off (status), or it stayed off and ignored the
      request
  3   Hopvane is not running
  4   Hopvane did not act on the request within )" +
           std::to_string(Controller::kReactionLimit.count()) + R"( seconds (for next
      with --wait: within the wait), for instance because a check still runs
  5   no proxy applied: the check cycle ran out of entries without one, or
      --wait ran out while the check still runs
  6   the system refused to create the request's name
  7   Hopvane is switched on but has no entry of its proxy list to check
  64  wrong command line
)";
}

} // namespace hopvane_ctl
