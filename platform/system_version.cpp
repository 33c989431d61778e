#include "platform/system_version.h"

#include <array>

namespace platform {

namespace {

struct NamedVersion {
    unsigned major;
    unsigned minor;
    const char* name;
};

constexpr std::array<NamedVersion, 10> kWindowsNames = {{
    {4, 0, "Windows 95"},
    {4, 10, "Windows 98"},
    {4, 90, "Windows ME"},
    {5, 0, "Windows 2000"},
    {5, 1, "Windows XP"},
    {6, 0, "Windows Vista"},
    {6, 1, "Windows 7"},
    {6, 2, "Windows 8"},
    {6, 3, "Windows 8.1"},
    {10, 0, "Windows 10"},
}};

bool IsAboveWindows7(VersionNumbers v)
{
    return v.major > 6 || (v.major == 6 && v.minor > 1);
}

std::string_view Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// os-release values are shell-quoted: "...", '...' or bare with backslash
// escapes.
std::string Unquote(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
        return std::string(value.substr(1, value.size() - 2));
    const bool doubleQuoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (doubleQuoted)
        value = value.substr(1, value.size() - 2);
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size())
            ++i;
        out += value[i];
    }
    return out;
}

} // namespace

std::string WindowsNameFor(unsigned major, unsigned minor)
{
    for (const auto& known : kWindowsNames) {
        if (known.major == major && known.minor == minor)
            return known.name;
    }
    return "Unknown (Windows " + std::to_string(major) + "." + std::to_string(minor) + ")";
}

VersionNumbers ResolveWindowsVersion(VersionNumbers versionEx,
                                     std::optional<VersionNumbers> workstation,
                                     std::optional<VersionNumbers> kernel32)
{
    if (!IsAboveWindows7(versionEx))
        return versionEx;
    if (workstation)
        return *workstation;
    if (kernel32)
        return *kernel32;
    return versionEx;
}

std::string OsReleaseValue(std::string_view osRelease, std::string_view key)
{
    while (!osRelease.empty()) {
        const auto end = osRelease.find('\n');
        const std::string_view line = Trim(osRelease.substr(0, end));
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == '=')
            return Unquote(Trim(line.substr(key.size() + 1)));
        if (end == std::string_view::npos)
            break;
        osRelease.remove_prefix(end + 1);
    }
    return {};
}

std::string BriefNameFromOsRelease(std::string_view osRelease)
{
    std::string name = OsReleaseValue(osRelease, "NAME");
    for (std::string_view suffix : {" GNU/Linux", " Linux"}) {
        if (name.size() > suffix.size() &&
            std::string_view(name).substr(name.size() - suffix.size()) == suffix) {
            name.resize(name.size() - suffix.size());
            break;
        }
    }
    const std::string version = OsReleaseValue(osRelease, "VERSION_ID");
    return name.empty() || version.empty() ? name : name + " " + version;
}

} // namespace platform
