#pragma once

#include <string>

namespace platform {

// Opens a web address the way the system's default action would (the user's
// browser). Nothing is reported: the program never depends on the outcome.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void OpenUrl(const std::string& url) = 0;
};

Shell& SystemShell();

} // namespace platform
