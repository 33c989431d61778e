#include "platform/environment.h"

#include "platform/posix/config_folder.h"
#include "platform/posix/file_lock.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

namespace platform {

namespace {

// Unset and empty count the same: an empty folder name would put the data at
// the file system's root.
std::string NonEmptyValue(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string HomeFolder()
{
    std::string home = NonEmptyValue("HOME");
    if (!home.empty())
        return home;
    if (const passwd* entry = getpwuid(getuid()))
        return entry->pw_dir;
    return "/";
}

std::string XdgFolder(const char* variable, const char* fallbackBelowHome)
{
    std::string folder = NonEmptyValue(variable);
    return folder.empty() ? HomeFolder() + fallbackBelowHome : folder;
}

std::string WithoutTrailingSeparator(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

char PathSeparator()
{
    return '/';
}

std::optional<std::string> EnvironmentValue(const std::string& name)
{
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    return std::nullopt;
}

std::string AppDataFolder()
{
    std::string folder = NonEmptyValue("APPDATA");
    return folder.empty() ? XdgFolder("XDG_DATA_HOME", "/.local/share") : folder;
}

std::string TempFolder()
{
    std::string folder = NonEmptyValue("TEMP");
    if (folder.empty())
        folder = NonEmptyValue("XDG_RUNTIME_DIR");
    if (!folder.empty())
        return folder;
    // Never a folder shared with other users, as /tmp is: a file of theirs
    // there could not be replaced.
    folder = WithoutTrailingSeparator(XdgFolder("XDG_CACHE_HOME", "/.cache")) + "/hopvane";
    posix::MakeDirectories(folder);
    return folder;
}

std::string DataFolder()
{
    return WithoutTrailingSeparator(AppDataFolder()) + "/Hopvane/";
}

std::string ConfigFolder()
{
    return WithoutTrailingSeparator(XdgFolder("XDG_CONFIG_HOME", "/.config"));
}

std::string ServiceStateFolder()
{
    return ConfigFolder() + "/hopvane";
}

std::string RuntimeFolder()
{
    std::string runtime = NonEmptyValue("XDG_RUNTIME_DIR");
    if (!runtime.empty())
        return WithoutTrailingSeparator(runtime) + "/hopvane";
    // Without a session folder, a per-user folder under /tmp; named objects
    // are then shared by all sessions of the user, as on a machine with one.
    return "/tmp/hopvane-" + std::to_string(getuid());
}

std::string ExecutablePath()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace platform
