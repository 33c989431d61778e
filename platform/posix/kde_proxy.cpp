#include "platform/posix/desktop_proxy.h"
#include "platform/posix/kioslaverc.h"
#include "platform/posix/session_bus.h"

#include <gio/gio.h>

namespace platform {

namespace {

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

void ApplyKdeProxy(const std::optional<ProxyAddress>& proxy)
{
    if (UpdateKioslaverc(proxy))
        AskKioToReread();
}

} // namespace platform
