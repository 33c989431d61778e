#include "platform/files.h"
#include "platform/posix/desktop_proxy.h"
#include "platform/posix/kioslaverc.h"
#include "platform/posix/session_bus.h"

#include <gio/gio.h>

namespace platform {

namespace {

// Every key a proxy sets; KDE reads them all at once, so the order is free.
const std::vector<std::string> kKeys = {"ProxyType", "httpProxy",  "httpsProxy",
                                        "ftpProxy",  "socksProxy", "ReversedException"};

// KIO's workers reread kioslaverc on this signal. A private connection, as
// the bus connection GLib shares ends the process when the bus goes away.
void AskKioToReread()
{
    const std::optional<std::string> address = SessionBusAddress();
    if (!address)
        return;
    GDBusConnection* bus = g_dbus_connection_new_for_address_sync(
        address->c_str(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, nullptr);
    if (!bus)
        return;
    if (g_dbus_connection_emit_signal(bus, nullptr, "/KIO/Scheduler", "org.kde.KIO.Scheduler",
                                      "reparseSlaveConfiguration", g_variant_new("(s)", ""),
                                      nullptr))
        g_dbus_connection_flush_sync(bus, nullptr, nullptr);
    g_dbus_connection_close_sync(bus, nullptr, nullptr);
    g_object_unref(bus);
}

} // namespace

bool KdeProxySettings::InUse()
{
    return KioslavercInUse();
}

ProxyValues KdeProxySettings::Read()
{
    try {
        return ReadKioslavercValues(ReadKioslaverc(), kKeys);
    } catch (const FileError&) {
        return {};
    }
}

ProxyValues KdeProxySettings::ValuesFor(const ProxyServer& server) const
{
    // KDE separates the port with a blank, not a colon.
    const std::string url = "http://" + server.host + " " + std::to_string(server.port);
    // An exception list read in reverse would send everything else direct.
    return {{"ProxyType", "1"}, {"httpProxy", url}, {"httpsProxy", url},
            {"ftpProxy", ""},   {"socksProxy", ""}, {"ReversedException", "false"}};
}

ProxyValues KdeProxySettings::SwitchedOff(const ProxyValues& current,
                                          const std::optional<ProxyServer>& server) const
{
    // Anything else is the user's own, automatic configuration included.
    if (!server)
        return {};
    const ProxyValues applied = ValuesFor(*server);
    for (const char* key : {"ProxyType", "httpProxy"}) {
        if (ValueOf(current, key) != ValueOf(applied, key))
            return {};
    }
    return {{"ProxyType", "0"}};
}

void KdeProxySettings::Write(const ProxyValues& values)
{
    if (values.empty() || !InUse())
        return;
    try {
        UpdateKioslaverc(values);
    } catch (const FileError&) {
        // KDE keeps what it had; the other stores still hear of the change.
        return;
    }
    AskKioToReread();
}

} // namespace platform
