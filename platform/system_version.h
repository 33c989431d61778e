#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct VersionNumbers {
    unsigned major = 0;
    unsigned minor = 0;
};

// The display name of a Windows version ("Windows 10", "Unknown (Windows 6.4)").
std::string WindowsNameFor(unsigned major, unsigned minor);

// GetVersionExW caps what it reports at 6.2 for programs without a
// compatibility declaration, so anything above 6.1 is asked again of
// NetWkstaGetInfo, then of the product version of kernel32.dll.
VersionNumbers ResolveWindowsVersion(VersionNumbers versionEx,
                                     std::optional<VersionNumbers> workstation,
                                     std::optional<VersionNumbers> kernel32);

// The value of a key in an os-release text, unquoted; empty when absent.
std::string OsReleaseValue(std::string_view osRelease, std::string_view key);
// NAME without a trailing "GNU/Linux" or "Linux", then VERSION_ID ("Debian
// 12", "Fedora 39"); empty without a NAME.
std::string BriefNameFromOsRelease(std::string_view osRelease);

// The running system's name for the system line: the Windows name on
// Windows, the distribution's own name elsewhere.
std::string GetWindowsName();
// The same in fewer words, for a line too narrow for the name; the Windows
// name on Windows.
std::string GetBriefSystemName();

// Whether the "not Windows 10" warning applies to that name. It is a Windows
// warning: elsewhere it would be false, so it never applies there.
bool WarnsNotWindows10(const std::string& systemName);

} // namespace platform
