#include "extctl/status_mutex.h"
#include "i18n/lang_dispatcher.h"
#include "i18n/localisation.h"
#include "platform/named_mutexes.h"
#include "platform/proxy_settings.h"
#include "sysproxy/stale_proxy.h"
#include "sysproxy/system_proxy.h"
#include "tests/support/fake_window.h"
#include "tests/support/temp_dir.h"

#include <gio/gio.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace sysproxy {
namespace {

using platform::ProxyValues;
using test_support::TempDir;

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

bool GnomeSchemaInstalled()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.system.proxy", TRUE) : nullptr;
    if (schema)
        g_settings_schema_unref(schema);
    return schema != nullptr;
}

std::string Text(const ProxyValues& values)
{
    std::string text;
    for (const auto& [key, value] : values)
        text += key + (value ? "=" + *value : " unset") + "\n";
    return text;
}

const platform::ProxyServer kServer{"127.0.0.11", 18128};

// Both desktops write below the home: GSettings to its keyfile backend, KDE's
// kioslaverc as in a Plasma session.
void EnterHome(const TempDir& home)
{
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
    setenv("XDG_CONFIG_HOME", home.Path().c_str(), 1);
    setenv("XDG_CURRENT_DESKTOP", "KDE", 1);
}

// The steps on a SystemProxy of every store, which notes its applied proxy
// in the home.
void WithSystemProxy(const TempDir& home, const std::function<void(SystemProxy&)>& steps)
{
    platform::NamedMutexes& mutexes = platform::SystemNamedMutexes();
    extctl::StatusMutex status(mutexes);
    i18n::TsiLangDispatcher dispatcher;
    test_support::FakeWindow window;
    i18n::Localisation strings(dispatcher, window);
    SystemProxy proxy(platform::SystemProxySettingsStores(), status, strings,
                      RecordPlace{home.Path() + "/", "Hopvane_copy_test"});
    steps(proxy);
}

// A proxy applied twice and switched off.
void OnNextOff(SystemProxy& proxy)
{
    proxy.NastavProxy(kServer);
    proxy.NastavProxy({"127.0.0.12", 18128});
    proxy.ZrusProxy();
}

// What each store holds while the server is applied: everything through it,
// no credentials of the user's offered to it, no other proxy beside it.
const char* const kGnomeApplied =
    "http.host='127.0.0.11'\nhttp.port=18128\nhttp.use-authentication=false\n"
    "https.host='127.0.0.11'\nhttps.port=18128\nftp.host=''\nftp.port=0\nsocks.host=''\n"
    "socks.port=0\nmode='manual'\n";
const char* const kKdeApplied = "ProxyType=1\nhttpProxy=http://127.0.0.11 18128\n"
                                "httpsProxy=http://127.0.0.11 18128\nftpProxy=\nsocksProxy=\n"
                                "ReversedException=false\n";
const char* const kHiveApplied = "ProxyServer=1:"
                                 "3100320037002e0030002e0030002e00310031003a00310038003100320038000"
                                 "000\nProxyEnable=4:01000000\n";

struct UserCase {
    const char* name;
    const char* store;
    // The user's own settings, in the store's own value text.
    ProxyValues own;
    const char* applied;
};

// Hopvane with every store of a Linux session: the hive, GNOME's settings
// in a keyfile, KDE's kioslaverc, all below a temporary home.
class DesktopSession : public ::testing::TestWithParam<UserCase> {
protected:
    void SetUp() override
    {
        if (!OnPrivateBus())
            GTEST_SKIP() << "runs under dbus-run-session only";
        if (InChild([this] {
                Enter();
                return std::string(GnomeSchemaInstalled() ? "yes" : "no");
            }) != "yes")
            GTEST_SKIP() << "org.gnome.system.proxy is not installed";
        InChild([this] {
            Enter();
            Store().Write(GetParam().own);
            return std::string();
        });
    }

    void Enter() const { EnterHome(home_); }

    static platform::ProxySettingsStore& Store()
    {
        for (platform::ProxySettingsStore* store : platform::SystemProxySettingsStores()) {
            if (store->Name() == GetParam().store)
                return *store;
        }
        throw std::runtime_error("no such store");
    }

    // In a fresh child: what the store holds now.
    std::string Held()
    {
        return InChild([this] {
            Enter();
            return Text(Store().Read());
        });
    }

    // In a child: the steps on a SystemProxy of every store, which notes its
    // applied proxy in the folder; then what the store holds.
    std::string Run(const std::function<void(SystemProxy&)>& steps)
    {
        return InChild([&] {
            Enter();
            WithSystemProxy(home_, steps);
            return Text(Store().Read());
        });
    }

    TempDir home_;
};

TEST_P(DesktopSession, NothingOfTheUsersWhileApplied)
{
    const std::string applied = Run([](SystemProxy& proxy) { proxy.NastavProxy(kServer); });
    EXPECT_EQ(applied, GetParam().applied);
    EXPECT_EQ(Held(), applied);
}

TEST_P(DesktopSession, OffPutsBackWhatTheUserHad)
{
    const std::string own = Held();
    Run(OnNextOff);
    EXPECT_EQ(Held(), own);
}

TEST_P(DesktopSession, AStartAfterAKillPutsBackWhatTheUserHad)
{
    const std::string own = Held();
    Run([](SystemProxy& proxy) { proxy.NastavProxy(kServer); });
    EXPECT_EQ(InChild([this] {
                  Enter();
                  return std::to_string(ClearStaleProxy(home_.Path() + "/",
                                                        platform::SystemProxySettingsStores(),
                                                        platform::SystemNamedMutexes(), ""));
              }),
              "1");
    EXPECT_EQ(Held(), own);
}

// Only the system's own switch-off runs, as it always has; the desktops'
// settings were never Hopvane's.
TEST_P(DesktopSession, OffWithoutAnApplyLeavesTheDesktopsAlone)
{
    const std::string own = Held();
    const std::string after = Run([](SystemProxy& proxy) { proxy.ZrusProxy(); });
    if (std::string(GetParam().store) == "registry")
        EXPECT_EQ(after, own.substr(0, own.find("ProxyEnable")) + "ProxyEnable=4:00000000\n");
    else
        EXPECT_EQ(after, own);
}

struct Signals {
    GMainContext* context = nullptr;
    std::size_t count = 0;
};

void Received(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant*,
              gpointer signals)
{
    ++static_cast<Signals*>(signals)->count;
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

TEST(KioDesktopSession, HearsOnceForEveryWrite)
{
    if (!OnPrivateBus())
        GTEST_SKIP() << "runs under dbus-run-session only";
    TempDir home;
    const std::string heard = InChild([&] {
        EnterHome(home);
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
        WithSystemProxy(home, OnNextOff);
        const gint64 deadline = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
        while (signals.count < 3 && g_get_monotonic_time() < deadline) {
            if (!g_main_context_iteration(signals.context, FALSE))
                g_usleep(10000);
        }
        RoundTrip(bus);
        while (g_main_context_iteration(signals.context, FALSE)) {
        }
        return std::to_string(signals.count);
    });
    EXPECT_EQ(heard, "3");
}

INSTANTIATE_TEST_SUITE_P(
    Users, DesktopSession,
    ::testing::Values(UserCase{"GnomeManualWithCredentialsAndSocks",
                               "gnome",
                               {{"http.host", "'corp.example'"},
                                {"http.port", "8080"},
                                {"http.use-authentication", "true"},
                                {"https.host", "'corp.example'"},
                                {"https.port", "8443"},
                                {"socks.host", "'socks.example'"},
                                {"socks.port", "1080"},
                                {"mode", "'manual'"}},
                               kGnomeApplied},
                      UserCase{"GnomeAutomatic", "gnome", {{"mode", "'auto'"}}, kGnomeApplied},
                      UserCase{"KdeManualWithSocksReversed",
                               "kde",
                               {{"ProxyType", "1"},
                                {"httpProxy", "http://corp.example 8080"},
                                {"ftpProxy", "ftp://corp.example 21"},
                                {"socksProxy", "socks://socks.example 1080"},
                                {"ReversedException", "true"}},
                               kKdeApplied},
                      UserCase{"KdeAutomatic", "kde", {{"ProxyType", "2"}}, kKdeApplied},
                      UserCase{"HiveManual",
                               "registry",
                               {{"ProxyServer", "1:63006f00720070003a00380030000000"},
                                {"ProxyEnable", "4:01000000"}},
                               kHiveApplied},
                      UserCase{"HiveNone", "registry", {}, kHiveApplied}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace sysproxy
