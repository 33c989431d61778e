#include "platform/posix/session_bus.h"

#include "platform/environment.h"

#include <gio/gio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The per-user bus of systemd and dbus-broker sessions.
std::optional<std::string> RuntimeBusAddress()
{
    const std::optional<std::string> runtime = EnvironmentValue("XDG_RUNTIME_DIR");
    if (!runtime || runtime->empty())
        return std::nullopt;
    const std::string path = *runtime + "/bus";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != getuid())
        return std::nullopt;
    gchar* escaped = g_dbus_address_escape_value(path.c_str());
    std::string address = std::string("unix:path=") + escaped;
    g_free(escaped);
    return address;
}

} // namespace

std::optional<std::string> SessionBusAddress()
{
    const std::optional<std::string> address = EnvironmentValue("DBUS_SESSION_BUS_ADDRESS");
    if (!address || address->empty())
        return RuntimeBusAddress();
    if (address->find("autolaunch:") != std::string::npos)
        return std::nullopt;
    return address;
}

} // namespace platform
