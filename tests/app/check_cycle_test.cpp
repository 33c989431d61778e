#include "platform/registry_key.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/internet_settings_values.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace app {
namespace {

using namespace app::test;

constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Holds a probe on the worker until the test lets it go.
class Gate {
public:
    void Pass()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        entered_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }
    bool Entered()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return entered_;
    }
    void Open()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool open_ = false;
};

class CheckCycleTest : public MainWindowLogicTest {
protected:
    // One entry at a time unless a test asks for the check ahead.
    CheckCycleTest() { CheckAhead(false); }

    void CheckAhead(bool on)
    {
        WriteFileBytes(IniPath(),
                       std::string("[setting]\r\ncheckahead=") + (on ? "1" : "0") + "\r\n");
    }

    // Entries pass unless listed as failing; the speed test always passes.
    void ProbesFailing(std::set<std::string> failingHosts)
    {
        probes.testProxy = [failingHosts](const switching::ProxyAddress& proxy,
                                          const std::string&) {
            return failingHosts.count(proxy.host) == 0;
        };
        probes.downloadSpeedTest = [](switching::SpeedTestDisplay& display) {
            display.ShowSpeed("2560 Kb/s");
            return true;
        };
        probes.getGeoInfo = [](const switching::ProxyAddress& proxy) {
            return "Place of " + proxy.host;
        };
        probes.getExitAddress = [](const switching::ProxyAddress&) {
            return std::string("192.0.2.99");
        };
    }

    MainWindowLogic& StartedWith(const std::string& list)
    {
        WriteListFile("proxylist.txt", list);
        Logic().FormCreate();
        Logic().SwitchClick(true);
        return Logic();
    }

    // Carries out hand-overs until the cycle has come to rest.
    void UntilIdle()
    {
        handOver.RunUntil([this] { return Logic().ProxyCheckThread().Idle(); });
        Logic().FormDestroy();
    }

    std::vector<std::string> StatusNamesCreated() const
    {
        std::vector<std::string> names;
        std::copy_if(mutexes.created.begin(), mutexes.created.end(), std::back_inserter(names),
                     [](const std::string& name) { return name.rfind("Hopvane_go", 0) != 0; });
        return names;
    }

    std::string ProxyServer()
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                  platform::kKeyRead);
        return key.ReadString("ProxyServer");
    }

    // ProxyEnable as 0 or 1; -1 when it is not a DWORD of either.
    int ProxyEnable()
    {
        const std::vector<std::uint8_t> data = test_support::InternetSettingsData("ProxyEnable");
        for (int value : {0, 1}) {
            if (data == platform::RegDwordData(static_cast<std::uint32_t>(value)))
                return value;
        }
        return -1;
    }
};

TEST_F(CheckCycleTest, FailingEntriesGoToTheBlacklistUntilOnePasses)
{
    ProbesFailing({"a", "b"});
    MainWindowLogic& logic = StartedWith("a:1\r\nb:2\r\nc:3\r\n");
    UntilIdle();
    EXPECT_EQ(ReadFileBytes(DataFile("blacklist.txt")), "a:1\r\nb:2\r\n");
    EXPECT_EQ(ReadFileBytes(DataFile("proxylist.txt")), "c:3\r\n");
    EXPECT_EQ(ProxyServer(), "c:3");
    EXPECT_EQ(ProxyEnable(), 1);
    EXPECT_EQ(StatusNamesCreated(),
              (std::vector<std::string>{"Hopvane_off", "Hopvane_change", "Hopvane_change",
                                        "Hopvane_change", "Hopvane_ok", "Hopvane_ok"}));
    EXPECT_TRUE(ExistsForAnotherProcess("Hopvane_ok"));
    EXPECT_EQ(view.status, "Online IP c");
    EXPECT_EQ(view.geo, "Place of c");
    EXPECT_EQ(view.changed, "Yes");
    EXPECT_EQ(view.mutex, "Hopvane_ok");
    EXPECT_EQ(view.nextIPEnabled, true);
    EXPECT_EQ(logic.CurrentIP, "c");
    EXPECT_EQ(logic.CurrentProxy, "c:3");
}

// What the probes tested is what the system proxy gets; an entry no setting
// could name fails without a probe, as a failing probe would.
TEST_F(CheckCycleTest, AppliesExactlyTheServerThatWasTested)
{
    ProbesFailing({});
    std::vector<std::string> probed;
    probes.testProxy = [&probed](const switching::ProxyAddress& proxy, const std::string&) {
        probed.push_back(proxy.host + ":" + proxy.port);
        return true;
    };
    MainWindowLogic& logic = StartedWith("a;b:80\r\nh:0x50:x\r\n");
    UntilIdle();
    EXPECT_EQ(probed, std::vector<std::string>{"h:0x50"});
    EXPECT_EQ(ReadFileBytes(DataFile("blacklist.txt")), "a;b:80\r\n");
    EXPECT_EQ(ProxyServer(), "h:80");
    EXPECT_EQ(view.changed, "Yes");
    EXPECT_EQ(logic.CurrentProxy, "h:0x50:x");
}

struct ExitCase {
    const char* name;
    const char* original;
    const char* exit;
    bool applied;
    const char* status;
};

class ExitCheckTest : public CheckCycleTest, public ::testing::WithParamInterface<ExitCase> {};

// Only a proxy that hides the user's address is applied; the check needs the
// address the user has without a proxy.
TEST_P(ExitCheckTest, AppliesOnlyAProxyThatHidesTheUser)
{
    ProbesFailing({});
    std::atomic<int> asked{0};
    probes.getExitAddress = [&asked](const switching::ProxyAddress&) {
        ++asked;
        return std::string(GetParam().exit);
    };
    WriteListFile("proxylist.txt", "p:1\r\n");
    Logic().FormCreate();
    Logic().OriginalIP = GetParam().original;
    Logic().SwitchClick(true);
    UntilIdle();
    EXPECT_EQ(ProxyEnable() == 1, GetParam().applied);
    EXPECT_EQ(platform::FileExists(DataFile("blacklist.txt")), !GetParam().applied);
    EXPECT_EQ(view.status, GetParam().status);
    EXPECT_EQ(asked, *GetParam().original ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Exits, ExitCheckTest,
    ::testing::Values(
        ExitCase{"Hidden", "127.0.0.1", "192.0.2.7", true, "Online IP p"},
        ExitCase{"UsersOwn", "127.0.0.1", "127.0.0.1", false, "Proxy shows your own IP"},
        ExitCase{"NotAnAddress", "127.0.0.1", "<html></html>", false, "Proxy shows no exit IP"},
        ExitCase{"OwnUnknown", "", "127.0.0.1", true, "Online IP p"}),
    [](const auto& test) { return std::string(test.param.name); });

// What the walk ends with does not depend on the check ahead: the same
// applied proxies, blacklist and status names as one entry at a time, though
// the entries ahead were probed before their turn.
class CheckAheadTest : public CheckCycleTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CheckAheadTest, LeavesTheWalksOutcomeAsItIs)
{
    CheckAhead(GetParam());
    std::atomic<int> probesOfTheLast{0};
    probes.testProxy = [&probesOfTheLast](const switching::ProxyAddress& proxy,
                                          const std::string&) {
        if (proxy.host == "last")
            ++probesOfTheLast;
        // Dead entries take a while, so answers from ahead arrive first.
        const bool dead = proxy.host.rfind("dead", 0) == 0;
        if (dead)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return !dead;
    };
    probes.downloadSpeedTest = [](switching::SpeedTestDisplay&) { return true; };
    probes.getGeoInfo = [](const switching::ProxyAddress&) { return std::string(); };
    MainWindowLogic& logic = StartedWith("dead1:1\r\ndead2:1\r\ngood1:1\r\ndead3:1\r\ndead4:1\r\n"
                                         "good2:1\r\ndead5:1\r\nlast:1\r\n");
    handOver.RunUntil([&logic] { return logic.ProxyCheckThread().Idle(); });
    // Answers from ahead for the entries after the applied one, if any.
    handOver.RunUntil([&] { return !GetParam() || probesOfTheLast > 0; });
    logic.NextIP();
    UntilIdle();

    EXPECT_EQ(ReadFileBytes(DataFile("blacklist.txt")),
              "dead1:1\r\ndead2:1\r\ndead3:1\r\ndead4:1\r\n");
    EXPECT_EQ(ReadFileBytes(DataFile("proxylist.txt")),
              "good1:1\r\ngood2:1\r\ndead5:1\r\nlast:1\r\n");
    EXPECT_EQ(ProxyServer(), "good2:1");
    EXPECT_EQ(
        StatusNamesCreated(),
        (std::vector<std::string>{"Hopvane_off", "Hopvane_change", "Hopvane_change",
                                  "Hopvane_change", "Hopvane_ok", "Hopvane_ok", "Hopvane_change",
                                  "Hopvane_change", "Hopvane_change", "Hopvane_ok", "Hopvane_ok"}));
    EXPECT_EQ(probesOfTheLast > 0, GetParam());
}

INSTANTIATE_TEST_SUITE_P(OnAndOff, CheckAheadTest, ::testing::Bool());

TEST_F(CheckCycleTest, TheLastEntryFailingEndsTheCycle)
{
    ProbesFailing({"a", "b"});
    MainWindowLogic& logic = StartedWith("a:1\r\nb:2\r\n");
    UntilIdle();
    EXPECT_EQ(logic.Store().Proxys().Count(), 0);
    EXPECT_EQ(view.mutex, "Hopvane_change");
    EXPECT_EQ(view.nextIPEnabled, false);
    EXPECT_EQ(logic.CurrentProxy, "b:2");
    EXPECT_NE(ProxyEnable(), 1);
}

TEST_F(CheckCycleTest, EmptyHostsAndRepeatedBlacklistedEntriesDoNotHoldTheWalk)
{
    ProbesFailing({"", "a", "A"});
    MainWindowLogic& logic = StartedWith(":80\r\na:1\r\nA:1\r\na:1\r\nc:3\r\n");
    UntilIdle();
    // The second spelling of a:1 is blacklisted already: it is tested twice,
    // then passed over; the third copy follows it the same way.
    EXPECT_EQ(ReadFileBytes(DataFile("blacklist.txt")), ":80\r\na:1\r\n");
    EXPECT_EQ(logic.CurrentProxy, "c:3");
    EXPECT_EQ(view.mutex, "Hopvane_ok");
}

TEST_F(CheckCycleTest, AFailedBlacklistSaveEndsTheCycleQuietly)
{
    ProbesFailing({"a"});
    WriteListFile("proxylist.txt", "a:1\r\nb:2\r\n");
    platform::MakeDirectory(DataFile("blacklist.txt"));
    Logic().FormCreate();
    Logic().SwitchClick(true);
    UntilIdle();
    EXPECT_EQ(view.mutex, "Hopvane_change");
    EXPECT_EQ(view.nextIPEnabled, false);
    EXPECT_NE(ProxyEnable(), 1);
}

TEST_F(CheckCycleTest, SwitchingOffDuringAProbeLeavesTheProxyUntested)
{
    Gate gate;
    ProbesFailing({});
    probes.testProxy = [&gate](const switching::ProxyAddress&, const std::string&) {
        gate.Pass();
        return false;
    };
    MainWindowLogic& logic = StartedWith("a:1\r\nb:2\r\n");
    handOver.RunUntil([&gate] { return gate.Entered(); });
    logic.SwitchClick(false);
    gate.Open();
    logic.FormDestroy();
    EXPECT_EQ(logic.Store().blacklist().Count(), 0);
    EXPECT_EQ(logic.Store().Proxys().Count(), 2);
    EXPECT_EQ(view.mutex, "Hopvane_off");
    EXPECT_EQ(view.status, "");
    EXPECT_EQ(ProxyEnable(), 0);
}

TEST_F(CheckCycleTest, AStartWaitsForThePreviousRunsGeoLookup)
{
    ProbesFailing({});
    probes.getGeoInfo = [](const switching::ProxyAddress& proxy) {
        // Long enough for the next start to come while the lookup runs.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return "Place of " + proxy.host;
    };
    MainWindowLogic& logic = StartedWith("a:1\r\nb:2\r\n");
    handOver.RunUntil([this] { return view.nextIPEnabled == true; });
    logic.NextIP();
    UntilIdle();
    EXPECT_EQ(view.events,
              (std::vector<std::string>{"status Connecting to a", "status Online IP a", "geo ",
                                        "geo Place of a", "status Connecting to b",
                                        "status Online IP b", "geo Place of b"}));
}

struct AdvanceCase {
    const char* name;
    const char* list;
    int selected;
    int selectedAfter;
    bool starts;
};

TEST_F(CheckCycleTest, NextIPAdvancesTheSelection)
{
    const AdvanceCase cases[] = {
        {"Middle", "a:1\r\nb:2\r\nc:3\r\nd:4\r\ne:5\r\n", 2, 3, true},
        {"LastWrapsToTheSecond", "a:1\r\nb:2\r\nc:3\r\nd:4\r\ne:5\r\n", 4, 1, true},
        {"OnlyEntryAgain", "a:1\r\n", 0, 0, true},
        {"NothingSelected", "a:1\r\nb:2\r\n", -1, 0, true},
        {"EmptyList", "", -1, -1, false},
    };
    ProbesFailing({});
    for (const auto& c : cases) {
        WriteListFile("proxylist.txt", c.list);
        RecordingView fresh;
        MainWindowLogic logic(Services(), fresh);
        logic.FormCreate();
        logic.SwitchClick(true);
        handOver.RunUntil([&logic] { return logic.ProxyCheckThread().Idle(); });
        logic.Store().Proxys().SetItemIndex(c.selected);
        fresh.geo = "kept";
        logic.NextIP();
        EXPECT_EQ(logic.Store().Proxys().ItemIndex(), c.selectedAfter) << c.name;
        EXPECT_EQ(logic.ProxyCheckThread().Active(), c.starts) << c.name;
        EXPECT_EQ(fresh.geo, "") << c.name;
        logic.FormDestroy();
    }
}

TEST_F(CheckCycleTest, NextIPChangesNothingWhileOffAndOnlyLabelsWhileChecking)
{
    Gate gate;
    ProbesFailing({});
    WriteListFile("proxylist.txt", "a:1\r\nb:2\r\n");
    Logic().FormCreate();
    view.geo = "kept";
    Logic().NextIP();
    EXPECT_EQ(view.geo, "kept");
    EXPECT_EQ(Logic().Store().Proxys().ItemIndex(), 0);

    probes.testProxy = [&gate](const switching::ProxyAddress&, const std::string&) {
        gate.Pass();
        return true;
    };
    RecordingView checking;
    MainWindowLogic logic(Services(), checking);
    logic.FormCreate();
    logic.SwitchClick(true);
    handOver.RunUntil([&gate] { return gate.Entered(); });
    checking.geo = "kept";
    logic.NextIP();
    EXPECT_EQ(checking.geo, "");
    EXPECT_EQ(checking.changed, "No");
    EXPECT_EQ(logic.Store().Proxys().ItemIndex(), 0);
    gate.Open();
    logic.FormDestroy();
}

TEST_F(CheckCycleTest, TriggersFromAnotherProgramDriveTheSwitchAndNextIP)
{
    ProbesFailing({});
    WriteListFile("proxylist.txt", "a:1\r\nb:2\r\n");
    Logic().FormCreate();
    Logic().Timer1Timer();
    EXPECT_EQ(view.readMutex, "No detect");
    EXPECT_FALSE(view.switchTurned.has_value());
    EXPECT_FALSE(ExistsForAnotherProcess("Hopvane_go_change"));

    for (const char* name : {"Hopvane_go_on", "Hopvane_go_change"}) {
        const auto held = platform::SystemNamedMutexes().Create(name);
        Logic().Timer1Timer();
        platform::SystemNamedMutexes().Close(held.handle);
    }
    EXPECT_EQ(view.switchTurned, true);
    EXPECT_EQ(view.readMutex, "Yes detect!");

    Logic().SwitchClick(true);
    UntilIdle();
    const auto held = platform::SystemNamedMutexes().Create("Hopvane_go_change");
    Logic().Timer1Timer();
    platform::SystemNamedMutexes().Close(held.handle);
    EXPECT_EQ(Logic().Store().Proxys().ItemIndex(), 1);
    const auto off = platform::SystemNamedMutexes().Create("Hopvane_go_off");
    Logic().Timer1Timer();
    platform::SystemNamedMutexes().Close(off.handle);
    EXPECT_EQ(view.switchTurned, false);
    Logic().FormDestroy();
}

} // namespace
} // namespace app
