#include "platform/posix/desktop_internet_settings.h"
#include "platform/registry.h"
#include "tests/support/fake_registry.h"
#include "tests/support/temp_dir.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {
namespace {

using test_support::FakeRegistry;
using test_support::ReadFileBytes;
using test_support::TempDir;

constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// GLib settles its settings backend, the user's folders and the bus once per
// process; every step here needs them fresh, so each runs in a child of the
// test, which itself never touches GLib. What the child returns comes back
// as text.
std::string InChild(const std::function<std::string()>& body)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        const std::string text = body();
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t written = write(pipeEnds[1], text.data() + done, text.size() - done);
            if (written <= 0)
                _exit(1);
            done += static_cast<std::size_t>(written);
        }
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string text;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof(buffer))) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child failed: " + text;
    return text;
}

// The desktops' services live on the session bus; these tests must not reach
// the developer's own, so they run only under dbus-run-session.
bool OnPrivateBus()
{
    return std::getenv("HOPVANE_TEST_PRIVATE_BUS") != nullptr;
}

// Both desktops write below the temporary folder: GSettings to its keyfile
// backend, KDE's kioslaverc as in a Plasma session.
void UseTemporaryDesktop(const TempDir& home)
{
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
    setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
}

bool GnomeSchemaInstalled()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.system.proxy", TRUE) : nullptr;
    if (schema)
        g_settings_schema_unref(schema);
    return schema != nullptr;
}

struct Step {
    std::optional<std::uint32_t> enable; // nullopt: no ProxyEnable value
    const char* server;
    const char* gnome;   // mode, then HOST:PORT of http and https
    std::size_t signals; // reparse signals seen so far
};

void Notify(const Step& step)
{
    FakeRegistry registry;
    auto& values = registry.keys[kInternetSettingsKey];
    values["ProxyServer"] = {kRegSz, RegSzData(step.server)};
    if (step.enable)
        values["ProxyEnable"] = {kRegDword, RegDwordData(*step.enable)};
    DesktopInternetSettings(registry).NotifySettingsChanged();
}

std::string ReadGnomeProxy()
{
    std::string text;
    GSettings* proxy = g_settings_new("org.gnome.system.proxy");
    gchar* mode = g_settings_get_string(proxy, "mode");
    text = mode;
    g_free(mode);
    g_object_unref(proxy);
    for (const char* id : {"org.gnome.system.proxy.http", "org.gnome.system.proxy.https"}) {
        GSettings* server = g_settings_new(id);
        gchar* host = g_settings_get_string(server, "host");
        text += std::string(" ") + host + ":" + std::to_string(g_settings_get_int(server, "port"));
        g_free(host);
        g_object_unref(server);
    }
    return text;
}

const char* const kMarker = "/tmp/hopvane-desktop-test-marker";

const std::vector<Step> kSteps = {
    {1, "127.0.0.11:18128", "manual 127.0.0.11:18128 127.0.0.11:18128", 1},
    {1, "a;b:80", "manual 127.0.0.11:18128 127.0.0.11:18128", 1},
    {1, "$(touch /tmp/hopvane-desktop-test-marker):80", "manual 127.0.0.11:18128 127.0.0.11:18128",
     1},
    {0, "127.0.0.11:18128", "none 127.0.0.11:18128 127.0.0.11:18128", 2},
    {1, "proxy.example:3128", "manual proxy.example:3128 proxy.example:3128", 3},
    {std::nullopt, "proxy.example:3128", "none proxy.example:3128 proxy.example:3128", 4},
};

TEST(DesktopSession, GsettingsHoldWhatEachStepLeft)
{
    if (!OnPrivateBus())
        GTEST_SKIP() << "runs under dbus-run-session only";
    TempDir home;
    unlink(kMarker);
    for (const Step& step : kSteps) {
        const std::string applied = InChild([&] {
            UseTemporaryDesktop(home);
            if (!GnomeSchemaInstalled())
                return std::string("no schema");
            Notify(step);
            return std::string("applied");
        });
        if (applied == "no schema")
            GTEST_SKIP() << "org.gnome.system.proxy is not installed";
        ASSERT_EQ(applied, "applied");
        // A fresh process reads only what reached the backend's file.
        EXPECT_EQ(InChild([&] {
                      UseTemporaryDesktop(home);
                      return ReadGnomeProxy();
                  }),
                  step.gnome)
            << step.server;
    }
    EXPECT_NE(access(kMarker, F_OK), 0);
}

struct Signals {
    GMainContext* context = nullptr;
    std::vector<std::string> arguments;
};

void Received(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*,
              GVariant* parameters, gpointer signals)
{
    gchar* text = g_variant_print(parameters, FALSE);
    static_cast<Signals*>(signals)->arguments.emplace_back(text);
    g_free(text);
}

// A round trip on the bus orders this connection's earlier requests before
// anything that follows.
void RoundTrip(GDBusConnection* bus)
{
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId",
        nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    if (reply)
        g_variant_unref(reply);
}

void WaitFor(Signals& signals, std::size_t count)
{
    const gint64 deadline = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
    while (signals.arguments.size() < count && g_get_monotonic_time() < deadline) {
        if (!g_main_context_iteration(signals.context, FALSE))
            g_usleep(10000);
    }
}

TEST(DesktopSession, KioHearsOnceForEveryWrittenChange)
{
    if (!OnPrivateBus())
        GTEST_SKIP() << "runs under dbus-run-session only";
    TempDir home;
    unlink(kMarker);
    const std::string transcript = InChild([&] {
        UseTemporaryDesktop(home);
        Signals signals;
        signals.context = g_main_context_new();
        g_main_context_push_thread_default(signals.context);
        GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        if (!bus)
            return std::string("no bus");
        g_dbus_connection_signal_subscribe(bus, nullptr, "org.kde.KIO.Scheduler",
                                           "reparseSlaveConfiguration", "/KIO/Scheduler", nullptr,
                                           G_DBUS_SIGNAL_FLAGS_NONE, Received, &signals, nullptr);
        RoundTrip(bus);
        std::string text;
        for (const Step& step : kSteps) {
            Notify(step);
            WaitFor(signals, step.signals);
            text += std::to_string(signals.arguments.size()) + " ";
        }
        RoundTrip(bus);
        while (g_main_context_iteration(signals.context, FALSE)) {
        }
        for (const std::string& argument : signals.arguments)
            text += argument;
        return text;
    });

    EXPECT_EQ(transcript, "1 1 1 2 3 4 ('',)('',)('',)('',)");
    EXPECT_EQ(ReadFileBytes(home.File("kioslaverc")),
              "[Proxy Settings]\nProxyType=0\nhttpProxy=http://proxy.example 3128\n"
              "httpsProxy=http://proxy.example 3128\n");
    EXPECT_NE(access(kMarker, F_OK), 0);
}

} // namespace
} // namespace platform
