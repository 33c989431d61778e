#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace hopvane_ctl {

enum class Command { kHelp, kStatus, kNext, kOn, kOff, kWatch };

struct Invocation {
    Command command = Command::kHelp;
    std::optional<std::chrono::seconds> wait;
};

struct UsageError {
    std::string message;
};

// The arguments after the program's name.
std::variant<Invocation, UsageError> ParseArguments(const std::vector<std::string_view>& arguments);

// The lines shown under a usage error.
std::string UsageHint();
std::string HelpText();

} // namespace hopvane_ctl
