#include "platform/posix/desktop_proxy.h"
#include "platform/posix/session_bus.h"

#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gio.h>
#include <gio/gsettingsbackend.h>

#include <cstring>
#include <functional>
#include <iterator>

namespace platform {

namespace {

constexpr char kProxySchema[] = "org.gnome.system.proxy";

// Every key a proxy sets, in the order they are written: the mode last, once
// the servers are in place.
constexpr const char* kKeys[] = {"http.host",  "http.port",  "http.use-authentication",
                                 "https.host", "https.port", "ftp.host",
                                 "ftp.port",   "socks.host", "socks.port",
                                 "mode"};

GSettingsSchema* LookupSchema(const std::string& id)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return source ? g_settings_schema_source_lookup(source, id.c_str(), TRUE) : nullptr;
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

// GNOME keeps its settings in dconf, which serves the session bus: no bus,
// no GNOME session to reach. Null where there is none.
GSettingsBackend* SessionBackend()
{
    if (!SessionBusAddress())
        return nullptr;
    GSettingsSchema* schema = LookupSchema(kProxySchema);
    if (!schema)
        return nullptr;
    g_settings_schema_unref(schema);
    return DesktopBackend();
}

// "http.host" is the key "host" of org.gnome.system.proxy.http.
struct KeyPlace {
    std::string schema;
    std::string key;
};

KeyPlace PlaceOf(const std::string& name)
{
    const std::size_t dot = name.find('.');
    if (dot == std::string::npos)
        return {kProxySchema, name};
    return {std::string(kProxySchema) + "." + name.substr(0, dot), name.substr(dot + 1)};
}

std::string Printed(GVariant* value)
{
    g_variant_ref_sink(value);
    gchar* text = g_variant_print(value, FALSE);
    std::string printed = text;
    g_free(text);
    g_variant_unref(value);
    return printed;
}

// Calls with the key's schema and settings; not at all for a key the
// installed schema lacks, as GLib aborts on unknown keys.
void WithKey(GSettingsBackend* backend, const std::string& name,
             const std::function<void(GSettingsSchemaKey*, GSettings*, const char*)>& use)
{
    const KeyPlace place = PlaceOf(name);
    GSettingsSchema* schema = LookupSchema(place.schema);
    if (!schema)
        return;
    if (g_settings_schema_has_key(schema, place.key.c_str())) {
        GSettingsSchemaKey* key = g_settings_schema_get_key(schema, place.key.c_str());
        GSettings* settings = g_settings_new_full(schema, backend, nullptr);
        use(key, settings, place.key.c_str());
        g_object_unref(settings);
        g_settings_schema_key_unref(key);
    }
    g_settings_schema_unref(schema);
}

// Only what the schema accepts is written: a hand-edited note may hold
// anything.
void WriteKey(GSettingsSchemaKey* key, GSettings* settings, const char* name,
              const ProxyValue& value)
{
    if (!value) {
        g_settings_reset(settings, name);
        return;
    }
    GVariant* parsed = g_variant_parse(g_settings_schema_key_get_value_type(key), value->c_str(),
                                       nullptr, nullptr, nullptr);
    if (!parsed)
        return;
    g_variant_ref_sink(parsed);
    if (g_settings_schema_key_range_check(key, parsed))
        g_settings_set_value(settings, name, parsed);
    g_variant_unref(parsed);
}

} // namespace

bool GnomeProxySettings::InUse()
{
    GSettingsBackend* backend = SessionBackend();
    if (!backend)
        return false;
    g_object_unref(backend);
    return true;
}

ProxyValues GnomeProxySettings::Read()
{
    ProxyValues values;
    GSettingsBackend* backend = SessionBackend();
    for (const char* name : kKeys) {
        ProxyValue value;
        if (backend) {
            WithKey(backend, name,
                    [&value](GSettingsSchemaKey*, GSettings* settings, const char* key) {
                        if (GVariant* held = g_settings_get_user_value(settings, key))
                            value = Printed(held);
                    });
        }
        values.emplace_back(name, value);
    }
    if (backend)
        g_object_unref(backend);
    return values;
}

ProxyValues GnomeProxySettings::ValuesFor(const ProxyServer& server) const
{
    const std::string host = Printed(g_variant_new_string(server.host.c_str()));
    const std::string port = Printed(g_variant_new_int32(server.port));
    const std::string none = Printed(g_variant_new_string(""));
    const std::string noPort = Printed(g_variant_new_int32(0));
    // GNOME sends every protocol without a proxy of its own through SOCKS,
    // so the user's SOCKS proxy would carry what Hopvane's does not.
    const std::string texts[] = {
        host, port,   Printed(g_variant_new_boolean(FALSE)),  host, port, none, noPort,
        none, noPort, Printed(g_variant_new_string("manual"))};
    static_assert(std::size(texts) == std::size(kKeys));
    ProxyValues values;
    for (std::size_t i = 0; i < std::size(kKeys); ++i)
        values.emplace_back(kKeys[i], texts[i]);
    return values;
}

ProxyValues GnomeProxySettings::SwitchedOff(const ProxyValues& current,
                                            const std::optional<ProxyServer>& server) const
{
    // Anything else is the user's own, automatic configuration included.
    if (!server)
        return {};
    const ProxyValues applied = ValuesFor(*server);
    for (const char* key : {"mode", "http.host", "http.port"}) {
        if (ValueOf(current, key) != ValueOf(applied, key))
            return {};
    }
    return {{"mode", Printed(g_variant_new_string("none"))}};
}

void GnomeProxySettings::Write(const ProxyValues& values)
{
    GSettingsBackend* backend = SessionBackend();
    if (!backend)
        return;
    for (const auto& [name, value] : values) {
        WithKey(backend, name,
                [&value = value](GSettingsSchemaKey* key, GSettings* settings,
                                 const char* keyName) { WriteKey(key, settings, keyName, value); });
    }
    g_settings_sync();
    g_object_unref(backend);
}

} // namespace platform
