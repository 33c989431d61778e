#include "platform/shell.h"

#include "platform/win32/wide_text.h"

#include <windows.h>
// Builds on the types of windows.h.
#include <shellapi.h>

namespace platform {

namespace {

class ShellExecuteShell final : public Shell {
public:
    void OpenUrl(const std::string& url) override
    {
        ShellExecuteW(nullptr, L"open", win32::ToWide(url).c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
    }
};

} // namespace

Shell& SystemShell()
{
    static ShellExecuteShell shell;
    return shell;
}

} // namespace platform
