#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform {

namespace {

// xdg-open may stay until the browser ends, so a shell starts it in the
// background and exits at once: nothing is left for us to reap later.
class XdgOpenShell final : public Shell {
public:
    void OpenUrl(const std::string& url) override
    {
        char* const argv[] = {const_cast<char*>("sh"),
                              const_cast<char*>("-c"),
                              const_cast<char*>("xdg-open \"$1\" >/dev/null 2>&1 &"),
                              const_cast<char*>("sh"),
                              const_cast<char*>(url.c_str()),
                              nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, argv, environ) != 0)
            return;
        int status = 0;
        waitpid(child, &status, 0);
    }
};

} // namespace

Shell& SystemShell()
{
    static XdgOpenShell shell;
    return shell;
}

} // namespace platform
