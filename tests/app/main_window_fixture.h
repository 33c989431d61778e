#pragma once

#include "app/main_window_logic.h"
#include "net/http_error.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry_key.h"
#include "platform/registry_proxy_settings.h"
#include "platform/text_codec.h"
#include "tests/net/scripted_server.h"
#include "tests/support/fake_window.h"
#include "tests/support/queued_hand_over.h"
#include "tests/support/recording_services.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace app::test {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

using net_test::ConnectionScript;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;

struct RecordingView final : MainView {
    void SetProxyUpdateText(const std::string& text) override { proxyUpdate = text; }
    void SetCountText(const std::string& text) override { count = text; }
    void SetSystemText(const std::string& text, const std::string& shorterText) override
    {
        system = text;
        shorterSystem = shorterText;
    }
    void SetMutexText(const std::string& text) override { mutex = text; }
    void SetChangedText(const std::string& text) override { changed = text; }
    void SetOriginalIPText(const std::string& text) override { originalIP = text; }
    void SetStatusText(const std::string& text) override
    {
        status = text;
        events.push_back("status " + text);
    }
    void SetMemoVerText(const std::string& text) override { memoVer = text; }
    void SetTestUrl(const std::string& url) override { testUrl = url; }
    std::string TestUrl() override { return testUrl.value_or(""); }
    void SetGeoText(const std::string& text) override
    {
        geo = text;
        events.push_back("geo " + text);
    }
    void SetSpeedText(const std::string& text) override { speed = text; }
    void SetProgress(std::int32_t, std::int32_t position) override { progress = position; }
    void ResetProgress() override { progress = 0; }
    void SetReadMutexText(const std::string& text) override { readMutex = text; }
    void SetNextIPEnabled(bool enabled) override { nextIPEnabled = enabled; }
    void TurnSwitch(bool on) override { switchTurned = on; }
    i18n::TranslatableWindow& TranslationTarget() override { return window; }
    void Navigate(HiddenBrowser browser, const std::string& url) override
    {
        navigated.push_back((browser == HiddenBrowser::WebBrowserIP ? "IP " : "Connection ") + url);
    }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        messages.push_back(title + ": " + text);
    }
    bool AskYesNo(const std::string& text, const std::string& title) override
    {
        messages.push_back(title + "? " + text);
        return answerYes;
    }

    std::optional<std::string> proxyUpdate, count, system, shorterSystem, mutex, changed,
        originalIP, status, memoVer, testUrl, geo, speed, readMutex;
    std::optional<std::int32_t> progress;
    std::optional<bool> nextIPEnabled, switchTurned;
    std::vector<std::string> navigated;
    // The status and geo lines in the order shown.
    std::vector<std::string> events;
    std::vector<std::string> messages;
    bool answerYes = false;
    test_support::FakeWindow window;
};

// Answers each request, in order, with a 200 and the body.
inline std::vector<ConnectionScript> Replies(std::initializer_list<std::string> bodies)
{
    std::vector<ConnectionScript> scripts;
    for (const std::string& body : bodies)
        scripts.push_back(ConnectionScript().ReadRequest().Send(
            ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: text/plain\r\n", body)));
    return scripts;
}

// Both sites of the service on one plain loopback server.
inline net::ServiceSites SitesOn(const ScriptedServer& server)
{
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    return {base, base, base + "/en"};
}

// Sites where nothing listens.
inline net::ServiceSites UnreachableSites()
{
    std::uint16_t port = 0;
    {
        const platform::TcpListener listener;
        port = listener.Port();
    }
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    return {base, base, base};
}

inline std::string RequestLine(const net_test::ServedConnection& served)
{
    return served.requests.empty() ? ""
                                   : served.requests[0].substr(0, served.requests[0].find('\r'));
}

using test_support::RecordingClipboard;
using test_support::RecordingShell;

class NoInternetSettings final : public platform::InternetSettings {
public:
    void NotifySettingsChanged() override {}
};

constexpr const char* kLanguageKey = "Software\\Kelbrin\\Hopvane\\";
constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Whether a process other than this one sees the name.
#ifdef _WIN32
// Windows' named objects belong to the session: this process sees them as any other does.
inline bool ExistsForAnotherProcess(const char* name)
{
    return platform::SystemNamedMutexes().Exists(name);
}
#else
inline bool ExistsForAnotherProcess(const char* name)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(platform::SystemNamedMutexes().Exists(name) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
#endif

// The system's named mutexes, with a record of the names created.
class RecordingMutexes final : public platform::NamedMutexes {
public:
    Created Create(std::string_view name) override
    {
        created.emplace_back(name);
        return platform::SystemNamedMutexes().Create(name);
    }
    void Close(Handle handle) override { platform::SystemNamedMutexes().Close(handle); }
    bool Exists(std::string_view name) override
    {
        return platform::SystemNamedMutexes().Exists(name);
    }

    std::vector<std::string> created;
};

class MainWindowLogicTest : public ::testing::Test {
protected:
    MainWindowLogic& Logic(bool warn = false)
    {
        if (!logic_)
            logic_ = std::make_unique<MainWindowLogic>(Services(warn), view);
        return *logic_;
    }

    MainWindowServices Services(bool warn = false)
    {
        return MainWindowServices{platform::CurrentUserRegistry(),
                                  mutexes,
                                  {&hive_},
                                  shell,
                                  clipboard,
                                  handOver,
                                  settings::TestUrlStore(platform::SystemProfile(), IniPath()),
                                  net::ServiceEndpoints(sites),
                                  probes,
                                  platform::DataFolder(),
                                  "Test System 1",
                                  "TS 1",
                                  warn,
                                  "Hopvane",
                                  ""};
    }

    // FormCreate with the service on the server.
    MainWindowLogic& CreatedWith(const ScriptedServer& server)
    {
        sites = SitesOn(server);
        Logic().FormCreate();
        return Logic();
    }

    std::string DataFile(const char* name) const { return platform::DataFolder() + name; }

    void StoreLanguage(const std::string& value)
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kLanguageKey,
                                  platform::kKeyWrite);
        key.WriteString("Lang", value);
    }

    std::string StoredLanguage()
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kLanguageKey,
                                  platform::kKeyRead);
        return key.ReadString("Lang");
    }

    void WriteListFile(const char* name, const std::string& bytes)
    {
        platform::MakeDirectory(platform::DataFolder());
        WriteFileBytes(DataFile(name), bytes);
    }

    std::string IniPath() const { return env_.Root().File("hopvane.ini"); }

    test_support::IsolatedUserEnvironment env_;
    RecordingMutexes mutexes;
    NoInternetSettings internet_;
    platform::RegistryProxySettings hive_{platform::CurrentUserRegistry(), internet_};
    RecordingShell shell;
    RecordingClipboard clipboard;
    RecordingView view;
    net::ServiceSites sites = UnreachableSites();
    test_support::QueuedHandOver handOver;
    switching::CheckProbes probes;
    std::unique_ptr<MainWindowLogic> logic_;
};

} // namespace app::test
