// The check cycle walking a list whose entries all fail at once (nothing
// listens at their port), against the two list saves that each failure
// makes, for the same list sizes. Prints milliseconds per entry for both.
// Usage: hopvane_walk_bench [ENTRIES]

#include "app/main_window_logic.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/named_mutexes.h"
#include "platform/proxy_settings.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "proxylist/proxy_list.h"
#include "switching/service_probes.h"
#include "tests/support/fake_window.h"
#include "tests/support/queued_hand_over.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

class NullView final : public app::MainView {
public:
    void SetProxyUpdateText(const std::string&) override {}
    void SetCountText(const std::string&) override {}
    void SetSystemText(const std::string&, const std::string&) override {}
    void SetMutexText(const std::string&) override {}
    void SetChangedText(const std::string&) override {}
    void SetOriginalIPText(const std::string&) override {}
    void SetStatusText(const std::string&) override {}
    void SetMemoVerText(const std::string&) override {}
    void SetGeoText(const std::string&) override {}
    void SetSpeedText(const std::string&) override {}
    void SetProgress(std::int32_t, std::int32_t) override {}
    void ResetProgress() override {}
    void SetReadMutexText(const std::string&) override {}
    void SetNextIPEnabled(bool) override {}
    void TurnSwitch(bool) override {}
    void SetTestUrl(const std::string&) override {}
    std::string TestUrl() override { return "http://127.0.0.1/hopvane/myip.php"; }
    void Navigate(app::HiddenBrowser, const std::string&) override {}
    void ShowMessage(const std::string&, const std::string&) override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    i18n::TranslatableWindow& TranslationTarget() override { return window_; }

private:
    test_support::FakeWindow window_;
};

class NoShell final : public platform::Shell {
public:
    void OpenUrl(const std::string&) override {}
};

class NoClipboard final : public platform::Clipboard {
public:
    void SetText(const std::string&) override {}
};

std::string Entry(int i)
{
    // Every 127.x.y.z is loopback; port 1 refuses at once.
    return "127." + std::to_string(1 + i / 65536) + "." + std::to_string(i / 256 % 256) + "." +
           std::to_string(i % 256) + ":1";
}

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Walk(int entries)
{
    std::string list;
    for (int i = 0; i < entries; ++i)
        list += Entry(i) + "\r\n";
    platform::MakeDataFolder(platform::DataFolder());
    platform::ReplaceFileContent(platform::DataFolder() + "proxylist.txt", list);

    NullView view;
    NoShell shell;
    NoClipboard clipboard;
    test_support::QueuedHandOver handOver;
    const net::ServiceEndpoints endpoints(
        {"http://127.0.0.1:1", "http://127.0.0.1:1", "http://127.0.0.1:1"});
    app::MainWindowLogic logic(
        app::MainWindowServices{platform::CurrentUserRegistry(), platform::SystemNamedMutexes(),
                                platform::SystemProxySettingsStores(), shell, clipboard, handOver,
                                settings::TestUrlStore(platform::SystemProfile(),
                                                       platform::TempFolder() + "/bench.ini"),
                                endpoints, switching::ServiceCheckProbes(endpoints),
                                platform::DataFolder(), "bench", "bench", false, "bench", ""},
        view);
    logic.FormCreate();
    const Clock::time_point start = Clock::now();
    logic.SwitchClick(true);
    handOver.RunUntil([&logic] { return logic.ProxyCheckThread().Idle(); });
    const double elapsed = MillisecondsSince(start);
    if (logic.Store().blacklist().Count() != entries)
        std::fprintf(stderr, "walk_bench: only %d entries were blacklisted\n",
                     logic.Store().blacklist().Count());
    logic.FormDestroy();
    return elapsed;
}

double SavesAlone(int entries)
{
    proxylist::ProxyList proxys;
    proxylist::ProxyList blacklist;
    for (int i = 0; i < entries; ++i)
        proxys.Add(Entry(i));
    const std::string folder = platform::TempFolder() + "/saves-";
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < entries; ++i) {
        blacklist.Add(Entry(i));
        proxys.Delete(0);
        blacklist.SaveToFile(folder + "blacklist.txt");
        proxys.SaveToFile(folder + "proxylist.txt");
    }
    return MillisecondsSince(start);
}

} // namespace

int main(int argc, char* argv[])
{
    const int entries = argc > 1 ? std::atoi(argv[1]) : 10000;
    const double walk = Walk(entries);
    const double saves = SavesAlone(entries);
    std::printf("entries %d\n", entries);
    std::printf("walk_ms_per_entry %.3f\n", walk / entries);
    std::printf("saves_ms_per_entry %.3f\n", saves / entries);
    std::printf("walk_over_saves %.2f\n", walk / saves);
    return 0;
}
