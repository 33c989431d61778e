#include "platform/posix/desktop_proxy.h"
#include "platform/posix/session_bus.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <cstring>

namespace platform {

namespace {

GSettingsSchema* LookupSchema(const char* id)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
}

void IgnoreMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// Without dconf GLib falls back to a memory backend, says so on stderr, and
// no desktop ever reads what goes there.
GSettingsBackend* DesktopBackend()
{
    const guint handler =
        g_log_set_handler("GLib-GIO", G_LOG_LEVEL_MESSAGE, IgnoreMessage, nullptr);
    GSettingsBackend* backend = g_settings_backend_get_default();
    g_log_remove_handler("GLib-GIO", handler);
    if (std::strcmp(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") == 0) {
        g_object_unref(backend);
        return nullptr;
    }
    return backend;
}

// Writes only what the installed schema accepts: GLib aborts on unknown keys.
void Set(GSettingsSchema* schema, GSettings* settings, const char* name, GVariant* value)
{
    g_variant_ref_sink(value);
    if (g_settings_schema_has_key(schema, name)) {
        GSettingsSchemaKey* key = g_settings_schema_get_key(schema, name);
        if (g_variant_is_of_type(value, g_settings_schema_key_get_value_type(key)) &&
            g_settings_schema_key_range_check(key, value))
            g_settings_set_value(settings, name, value);
        g_settings_schema_key_unref(key);
    }
    g_variant_unref(value);
}

template <typename Write> void WithSettings(const char* id, GSettingsBackend* backend, Write write)
{
    GSettingsSchema* schema = LookupSchema(id);
    if (!schema)
        return;
    GSettings* settings = g_settings_new_full(schema, backend, nullptr);
    write(schema, settings);
    g_object_unref(settings);
    g_settings_schema_unref(schema);
}

} // namespace

void ApplyGnomeProxy(const std::optional<ProxyAddress>& proxy)
{
    // GNOME keeps its settings in dconf, which serves the session bus: no bus,
    // no GNOME session to reach.
    if (!SessionBusAddress())
        return;
    GSettingsSchema* proxySchema = LookupSchema("org.gnome.system.proxy");
    if (!proxySchema)
        return;
    g_settings_schema_unref(proxySchema);
    GSettingsBackend* backend = DesktopBackend();
    if (!backend)
        return;
    if (proxy) {
        for (const char* id : {"org.gnome.system.proxy.http", "org.gnome.system.proxy.https"}) {
            WithSettings(id, backend, [&](GSettingsSchema* schema, GSettings* settings) {
                Set(schema, settings, "host", g_variant_new_string(proxy->host.c_str()));
                Set(schema, settings, "port", g_variant_new_int32(proxy->port));
            });
        }
    }
    WithSettings("org.gnome.system.proxy", backend,
                 [&](GSettingsSchema* schema, GSettings* settings) {
                     Set(schema, settings, "mode", g_variant_new_string(proxy ? "manual" : "none"));
                 });
    g_settings_sync();
    g_object_unref(backend);
}

} // namespace platform
