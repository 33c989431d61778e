#include "platform/system_version.h"

#include "platform/files.h"

namespace platform {

std::string GetWindowsName()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        try {
            const std::string name = PrettyNameFromOsRelease(ReadWholeFile(path));
            if (!name.empty())
                return name;
        } catch (const FileError&) {
            // The other location, then the kernel's generic name.
        }
    }
    return "Linux";
}

bool WarnsNotWindows10(const std::string&)
{
    return false;
}

} // namespace platform
