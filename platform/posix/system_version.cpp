#include "platform/system_version.h"

#include "platform/files.h"

namespace platform {

namespace {

std::string OsRelease()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        try {
            return ReadWholeFile(path);
        } catch (const FileError&) {
            // The other location, then the kernel's generic name.
        }
    }
    return {};
}

} // namespace

std::string GetWindowsName()
{
    const std::string name = OsReleaseValue(OsRelease(), "PRETTY_NAME");
    return name.empty() ? "Linux" : name;
}

std::string GetBriefSystemName()
{
    const std::string name = BriefNameFromOsRelease(OsRelease());
    return name.empty() ? GetWindowsName() : name;
}

bool WarnsNotWindows10(const std::string&)
{
    return false;
}

} // namespace platform
