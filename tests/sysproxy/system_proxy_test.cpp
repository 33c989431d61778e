#include "platform/files.h"
#include "platform/named_mutexes.h"
#include "platform/registry_key.h"
#include "platform/registry_proxy_settings.h"
#include "sysproxy/proxy_owner.h"
#include "sysproxy/stale_proxy.h"
#include "sysproxy/system_proxy.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_window.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

namespace sysproxy {
namespace {

using platform::ProxyServer;
using platform::ProxyValues;
using test_support::FakeRegistry;

constexpr const char* kKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

class CountingInternetSettings final : public platform::InternetSettings {
public:
    void NotifySettingsChanged() override { ++notifications; }
    int notifications = 0;
};

class CountingMutexes final : public platform::NamedMutexes {
public:
    Created Create(std::string_view name) override
    {
        created.emplace_back(name);
        return {static_cast<Handle>(created.size()), platform::kErrorSuccess};
    }
    void Close(Handle) override {}
    bool Exists(std::string_view) override { return false; }
    std::vector<std::string> created;
};

// A desktop's store of three keys: the proxy's server, whether it is on
// ("1", "0" or a mode of the user's), and a secret of the user's that no
// proxy of Hopvane's may be offered.
class FakeStore final : public platform::ProxySettingsStore {
public:
    std::string Name() const override { return "fake"; }
    bool InUse() override { return inUse; }
    ProxyValues Read() override
    {
        if (!readable)
            return {};
        ProxyValues values;
        for (const char* key : {"server", "on", "secret"}) {
            const auto found = held.find(key);
            values.emplace_back(key, found == held.end() ? platform::ProxyValue()
                                                         : platform::ProxyValue(found->second));
        }
        return values;
    }
    ProxyValues ValuesFor(const ProxyServer& server) const override
    {
        return {{"server", server.Text()}, {"on", "1"}, {"secret", std::nullopt}};
    }
    ProxyValues SwitchedOff(const ProxyValues& current,
                            const std::optional<ProxyServer>& server) const override
    {
        if (!server || platform::ValueOf(current, "on") != "1" ||
            platform::ValueOf(current, "server") != server->Text())
            return {};
        return {{"on", "0"}};
    }
    void Write(const ProxyValues& values) override
    {
        for (const auto& [key, value] : values) {
            if (value)
                held[key] = *value;
            else
                held.erase(key);
        }
    }

    std::map<std::string, std::string> held;
    bool inUse = true;
    bool readable = true;
};

// The pieces NastavProxy and ZrusProxy work on, with fakes for the system.
struct Rig {
    explicit Rig(std::vector<platform::ProxySettingsStore*> stores,
                 std::optional<RecordPlace> record = std::nullopt)
        : proxy(std::move(stores), status, strings, std::move(record))
    {
    }

    CountingMutexes mutexes;
    extctl::StatusMutex status{mutexes};
    i18n::TsiLangDispatcher dispatcher;
    test_support::FakeWindow mainWindow;
    i18n::Localisation strings{dispatcher, mainWindow};
    SystemProxy proxy;
};

const ProxyServer kFirst{"10.0.0.1", 3128};
const ProxyServer kSecond{"10.0.0.2", 8080};
using Held = std::map<std::string, std::string>;
const Held kUsersOwn{{"server", "corp:80"}, {"on", "1"}, {"secret", "pw"}};

struct SnapshotCase {
    const char* name;
    Held before;
    // 1 and 2 apply the first and second server, "c" clears, "x" is another
    // program setting the server, "u" makes the store unreadable.
    const char* steps;
    Held after;
};

class SnapshotTest : public ::testing::TestWithParam<SnapshotCase> {};

TEST_P(SnapshotTest, PutsBackOnlyWhatHopvaneWrote)
{
    FakeStore store;
    store.held = GetParam().before;
    Rig rig({&store});
    for (const char* step = GetParam().steps; *step; ++step) {
        switch (*step) {
        case '1':
            rig.proxy.NastavProxy(kFirst);
            break;
        case '2':
            rig.proxy.NastavProxy(kSecond);
            break;
        case 'c':
            rig.proxy.ZrusProxy();
            break;
        case 'x':
            store.held["server"] = "theirs:1";
            break;
        case 'u':
            store.readable = false;
            break;
        }
    }
    EXPECT_EQ(store.held, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SnapshotTest,
    ::testing::Values(
        SnapshotCase{"NothingOfTheUsersWhileApplied",
                     kUsersOwn,
                     "1",
                     {{"server", "10.0.0.1:3128"}, {"on", "1"}}},
        SnapshotCase{"OffPutsBackWhatTheUserHad", kUsersOwn, "1c", kUsersOwn},
        SnapshotCase{"SecondApplyKeepsTheFirstSnapshot", kUsersOwn, "12c", kUsersOwn},
        SnapshotCase{"NoProxyOfTheUsersEndsOff", {}, "12c", {}},
        SnapshotCase{"AValueChangedMeanwhileStays",
                     kUsersOwn,
                     "1xc",
                     {{"server", "theirs:1"}, {"on", "1"}, {"secret", "pw"}}},
        SnapshotCase{"AChangeBeforeTheNextApplyComesBack",
                     kUsersOwn,
                     "1x2c",
                     {{"server", "theirs:1"}, {"on", "1"}, {"secret", "pw"}}},
        SnapshotCase{"WithoutAnApplyNothingOfTheUsersChanges", kUsersOwn, "c", kUsersOwn},
        SnapshotCase{"AnOffAfterAnOffKeepsWhatWasPutBack", kUsersOwn, "1cc", kUsersOwn},
        SnapshotCase{"AnUnreadableStoreIsLeftAlone", kUsersOwn, "u1c", kUsersOwn}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(SystemProxy, AStoreNotInUseIsNeverWritten)
{
    FakeStore store;
    store.inUse = false;
    store.held = kUsersOwn;
    Rig rig({&store});
    rig.proxy.NastavProxy(kFirst);
    EXPECT_EQ(store.held, kUsersOwn);
    rig.proxy.ZrusProxy();
    EXPECT_EQ(store.held, kUsersOwn);
}

// The Internet Settings key, on a fake hive that records every call.
struct RegistryRig {
    FakeRegistry registry;
    CountingInternetSettings internet;
    platform::RegistryProxySettings store{registry, internet};
    Rig rig{{&store}};
};

const std::vector<std::string> kReadCalls = {std::string("create ") + kKey + " 0x20019",
                                             "query ProxyServer", "query ProxyEnable", "close"};

std::vector<std::string> Calls(std::vector<std::string> before, std::vector<std::string> calls)
{
    before.insert(before.end(), calls.begin(), calls.end());
    return before;
}

TEST(SystemProxy, ApplyReadsThenWritesServerThenEnable)
{
    RegistryRig r;
    const ProxyIndicator shown = r.rig.proxy.NastavProxy(kFirst);
    EXPECT_EQ(r.registry.calls,
              Calls(kReadCalls, {std::string("create ") + kKey + " 0x20006", "set ProxyServer 1 28",
                                 "set ProxyEnable 4 4", "close"}));
    EXPECT_EQ(r.registry.keys[kKey]["ProxyServer"].data, platform::RegSzData("10.0.0.1:3128"));
    EXPECT_EQ(r.registry.keys[kKey]["ProxyEnable"].data, platform::RegDwordData(1));
    EXPECT_EQ(r.internet.notifications, 1);
    EXPECT_EQ(shown.txtChanged, "Ano");
    EXPECT_EQ(shown.txtMutex, std::optional<std::string>("Hopvane_ok"));
    EXPECT_EQ(r.rig.mutexes.created, std::vector<std::string>{"Hopvane_ok"});
}

TEST(SystemProxy, ClearOnAFreshKeyLeavesOnlyEnableZero)
{
    RegistryRig r;
    r.rig.proxy.NastavProxy(kFirst);
    r.registry.calls.clear();
    const ProxyIndicator shown = r.rig.proxy.ZrusProxy();
    EXPECT_EQ(r.registry.calls,
              Calls(kReadCalls, {std::string("create ") + kKey + " 0x20006", "delete ProxyServer",
                                 "set ProxyEnable 4 4", "close"}));
    EXPECT_EQ(r.registry.keys[kKey].size(), 1u);
    EXPECT_EQ(r.registry.keys[kKey]["ProxyEnable"].data, platform::RegDwordData(0));
    EXPECT_EQ(r.internet.notifications, 2);
    EXPECT_EQ(shown.txtChanged, "Ne");
    EXPECT_FALSE(shown.txtMutex.has_value());
}

TEST(SystemProxy, ClearBeforeAnyApplyWritesOnlyEnableZeroOnce)
{
    RegistryRig r;
    r.rig.proxy.ZrusProxy();
    EXPECT_EQ(r.registry.calls, Calls(kReadCalls, {std::string("create ") + kKey + " 0x20006",
                                                   "set ProxyEnable 4 4", "close"}));
    EXPECT_EQ(r.registry.keys[kKey].size(), 1u);
    EXPECT_EQ(r.registry.keys[kKey]["ProxyEnable"].data, platform::RegDwordData(0));
    r.registry.calls.clear();
    r.rig.proxy.ZrusProxy();
    EXPECT_TRUE(r.registry.calls.empty());
}

TEST(SystemProxy, IndicatorTextsFollowTheActiveLanguage)
{
    RegistryRig r;
    r.rig.dispatcher.SetLanguage("English");
    EXPECT_EQ(r.rig.proxy.NastavProxy(kFirst).txtChanged, "Yes");
    EXPECT_EQ(r.rig.proxy.ZrusProxy().txtChanged, "No");
}

TEST(SystemProxy, KeyThatCannotBeOpenedIsPassedOverSilently)
{
    RegistryRig r;
    r.registry.failCreateKey = true;
    EXPECT_EQ(r.rig.proxy.ZrusProxy().txtChanged, "Ne");
    const ProxyIndicator applied = r.rig.proxy.NastavProxy(kFirst);
    EXPECT_EQ(applied.txtChanged, "Ano");
    EXPECT_EQ(applied.txtMutex, std::optional<std::string>("Hopvane_ok"));
    EXPECT_EQ(r.internet.notifications, 2);
    EXPECT_EQ(r.registry.keys.size(), 0u);
}

struct FailingWrite {
    const char* value;
    std::vector<std::string> expectedWrites;
};

class FailedApplyTest : public ::testing::TestWithParam<FailingWrite> {};

TEST_P(FailedApplyTest, StopsAtTheFailedWriteButClosesTheKey)
{
    RegistryRig r;
    r.registry.failSetValue = {GetParam().value};
    try {
        r.rig.proxy.NastavProxy(kFirst);
        FAIL() << "no error";
    } catch (const platform::ERegistryException& error) {
        EXPECT_EQ(std::string(error.what()),
                  std::string("Failed to set data for '") + GetParam().value + "'");
    }
    EXPECT_EQ(r.registry.calls, Calls(kReadCalls, GetParam().expectedWrites));
    EXPECT_EQ(r.internet.notifications, 0);
    EXPECT_TRUE(r.rig.mutexes.created.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, FailedApplyTest,
                         ::testing::Values(FailingWrite{"ProxyServer",
                                                        {std::string("create ") + kKey + " 0x20006",
                                                         "set ProxyServer 1 28", "close"}},
                                           FailingWrite{"ProxyEnable",
                                                        {std::string("create ") + kKey + " 0x20006",
                                                         "set ProxyServer 1 28",
                                                         "set ProxyEnable 4 4", "close"}}),
                         [](const auto& test) { return std::string(test.param.value); });

TEST(SystemProxy, FailedClearRaisesAndSkipsTheNotification)
{
    RegistryRig r;
    r.registry.failSetValue = {"ProxyEnable"};
    EXPECT_THROW(r.rig.proxy.ZrusProxy(), platform::ERegistryException);
    EXPECT_EQ(r.internet.notifications, 0);
    EXPECT_EQ(r.registry.OpenKeys(), 0u);
}

TEST(AppliedProxyNote, ReadsBackWhatItWroteAndTheOlderNote)
{
    ProxySnapshot snapshot;
    snapshot.values = {{"kde", "httpProxy", std::nullopt, "http://h 1"},
                       {"gnome", "a\tb\\c", "x\r\ny", std::nullopt}};
    const AppliedProxy applied{"h:1", "Hopvane_copy_1", snapshot};
    const AppliedProxy read = ParseAppliedProxy(FormatAppliedProxy(applied));
    EXPECT_EQ(read.server, "h:1");
    EXPECT_EQ(read.owner, "Hopvane_copy_1");
    ASSERT_TRUE(read.snapshot);
    EXPECT_EQ(read.snapshot->values, snapshot.values);

    const AppliedProxy older = ParseAppliedProxy("192.0.2.5:3128");
    EXPECT_EQ(older.server, "192.0.2.5:3128");
    EXPECT_EQ(older.owner, "");
    EXPECT_FALSE(older.snapshot);
}

struct StaleCase {
    const char* name;
    bool ownerRuns;
    const char* otherCopysStatus; // nullptr: no other copy
    bool olderNote;
    bool cleared;
    Held after;
};

// A run that ends without closing leaves its proxy on and its note behind.
class StaleProxyTest : public ::testing::TestWithParam<StaleCase> {
protected:
    test_support::IsolatedUserEnvironment environment;
};

TEST_P(StaleProxyTest, OnlyTheCopyThatAppliedItOwnsAProxy)
{
    const StaleCase& c = GetParam();
    const std::string folder = environment.Root().File("data/");
    platform::MakeDataFolder(folder);
    platform::NamedMutexes& mutexes = platform::SystemNamedMutexes();
    FakeStore store;
    store.held = kUsersOwn;
    auto owner = std::make_unique<ProxyOwner>(mutexes);
    {
        Rig applying({&store}, RecordPlace{folder, owner->Name()});
        applying.proxy.NastavProxy(kFirst);
    }
    if (c.olderNote)
        platform::ReplaceFileContent(folder + "proxyapplied.txt", "10.0.0.1:3128");
    if (!c.ownerRuns)
        owner.reset();
    const auto other =
        c.otherCopysStatus ? mutexes.Create(c.otherCopysStatus) : platform::NamedMutexes::Created{};

    EXPECT_EQ(ClearStaleProxy(folder, {&store}, mutexes, "Hopvane_copy_starting"), c.cleared);
    if (c.otherCopysStatus)
        mutexes.Close(other.handle);
    EXPECT_EQ(store.held, c.after);
    EXPECT_EQ(platform::FileExists(folder + "proxyapplied.txt"), !c.cleared);
    const std::string reports = platform::FileExists(folder + "bugreport.txt")
                                    ? platform::ReadWholeFile(folder + "bugreport.txt")
                                    : std::string();
    EXPECT_EQ(reports.find("10.0.0.1:3128") != std::string::npos, c.cleared);
}

const Held kApplied{{"server", "10.0.0.1:3128"}, {"on", "1"}};

INSTANTIATE_TEST_SUITE_P(Copies, StaleProxyTest,
                         ::testing::Values(StaleCase{"LeftOnIsPutBack", false, nullptr, false, true,
                                                     kUsersOwn},
                                           StaleCase{"OwnerRunsWhateverItsStatus", true, nullptr,
                                                     false, false, kApplied},
                                           StaleCase{"AnotherCopyOffOwnsNothing", false,
                                                     "Hopvane_off", false, true, kUsersOwn},
                                           StaleCase{"AnotherCopyOnOwnsNothingItDidNotApply", false,
                                                     "Hopvane_ok", false, true, kUsersOwn},
                                           StaleCase{"AnOlderNoteSwitchesOff",
                                                     false,
                                                     nullptr,
                                                     true,
                                                     true,
                                                     {{"server", "10.0.0.1:3128"}, {"on", "0"}}}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST(StaleProxy, NothingToDoAfterAClose)
{
    test_support::IsolatedUserEnvironment environment;
    const std::string folder = environment.Root().File("data/");
    platform::MakeDataFolder(folder);
    FakeStore store;
    store.held = kUsersOwn;
    {
        Rig closing({&store}, RecordPlace{folder, "Hopvane_copy_gone"});
        closing.proxy.NastavProxy(kFirst);
        closing.proxy.ZrusProxy();
    }
    store.held["on"] = "1";
    EXPECT_FALSE(ClearStaleProxy(folder, {&store}, platform::SystemNamedMutexes(), ""));
    EXPECT_FALSE(platform::FileExists(folder + "bugreport.txt"));
}

} // namespace
} // namespace sysproxy
