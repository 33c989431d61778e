#include "platform/files.h"
#include "platform/named_mutexes.h"
#include "platform/registry_key.h"
#include "sysproxy/system_proxy.h"
#include "tests/support/fake_registry.h"
#include "tests/support/fake_window.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace sysproxy {
namespace {

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

// The pieces NastavProxy and ZrusProxy work on, with fakes for the system.
struct Rig {
    explicit Rig(platform::Registry& reg) : registry(reg) {}

    platform::Registry& registry;
    CountingInternetSettings internet;
    CountingMutexes mutexes;
    extctl::StatusMutex status{mutexes};
    i18n::TsiLangDispatcher dispatcher;
    test_support::FakeWindow mainWindow;
    i18n::Localisation strings{dispatcher, mainWindow};
    SystemProxy proxy{registry, internet, status, strings};
};

TEST(SystemProxy, ApplyWritesServerThenEnableWithWriteAccessOnly)
{
    FakeRegistry registry;
    Rig rig(registry);
    const ProxyIndicator shown = rig.proxy.NastavProxy("10.0.0.1:3128");
    EXPECT_EQ(registry.calls,
              (std::vector<std::string>{std::string("create ") + kKey + " 0x20006",
                                        "set ProxyServer 1 28", "set ProxyEnable 4 4", "close"}));
    EXPECT_EQ(registry.keys[kKey]["ProxyServer"].data, platform::RegSzData("10.0.0.1:3128"));
    EXPECT_EQ(registry.keys[kKey]["ProxyEnable"].data, platform::RegDwordData(1));
    EXPECT_EQ(rig.internet.notifications, 1);
    EXPECT_EQ(shown.txtChanged, "Ano");
    EXPECT_EQ(shown.txtMutex, std::optional<std::string>("Hopvane_ok"));
    EXPECT_EQ(rig.mutexes.created, std::vector<std::string>{"Hopvane_ok"});
}

TEST(SystemProxy, ClearWritesOnlyEnableZeroAndKeepsTheServer)
{
    FakeRegistry registry;
    Rig rig(registry);
    rig.proxy.NastavProxy("10.0.0.1:3128");
    registry.calls.clear();
    const ProxyIndicator shown = rig.proxy.ZrusProxy();
    EXPECT_EQ(registry.calls, (std::vector<std::string>{std::string("create ") + kKey + " 0x20006",
                                                        "set ProxyEnable 4 4", "close"}));
    EXPECT_EQ(registry.keys[kKey]["ProxyServer"].data, platform::RegSzData("10.0.0.1:3128"));
    EXPECT_EQ(registry.keys[kKey]["ProxyEnable"].data, platform::RegDwordData(0));
    EXPECT_EQ(rig.internet.notifications, 2);
    EXPECT_EQ(shown.txtChanged, "Ne");
    EXPECT_FALSE(shown.txtMutex.has_value());
    EXPECT_EQ(rig.mutexes.created.size(), 1u);
}

TEST(SystemProxy, IndicatorTextsFollowTheActiveLanguage)
{
    FakeRegistry registry;
    Rig rig(registry);
    rig.dispatcher.SetLanguage("English");
    EXPECT_EQ(rig.proxy.NastavProxy("h:1").txtChanged, "Yes");
    EXPECT_EQ(rig.proxy.ZrusProxy().txtChanged, "No");
}

TEST(SystemProxy, KeyThatCannotBeOpenedIsPassedOverSilently)
{
    FakeRegistry registry;
    registry.failCreateKey = true;
    Rig rig(registry);
    const ProxyIndicator applied = rig.proxy.NastavProxy("h:1");
    EXPECT_EQ(applied.txtChanged, "Ano");
    EXPECT_EQ(applied.txtMutex, std::optional<std::string>("Hopvane_ok"));
    EXPECT_EQ(rig.mutexes.created, std::vector<std::string>{"Hopvane_ok"});
    EXPECT_EQ(rig.proxy.ZrusProxy().txtChanged, "Ne");
    EXPECT_EQ(rig.internet.notifications, 2);
    EXPECT_EQ(registry.keys.size(), 0u);
}

struct FailingWrite {
    const char* value;
    std::vector<std::string> expectedCalls;
};

class FailedApplyTest : public ::testing::TestWithParam<FailingWrite> {};

TEST_P(FailedApplyTest, StopsAtTheFailedWriteButClosesTheKey)
{
    FakeRegistry registry;
    registry.failSetValue = {GetParam().value};
    Rig rig(registry);
    try {
        rig.proxy.NastavProxy("h:1");
        FAIL() << "no error";
    } catch (const platform::ERegistryException& error) {
        EXPECT_EQ(std::string(error.what()),
                  std::string("Failed to set data for '") + GetParam().value + "'");
    }
    EXPECT_EQ(registry.calls, GetParam().expectedCalls);
    EXPECT_EQ(rig.internet.notifications, 0);
    EXPECT_TRUE(rig.mutexes.created.empty());
}

INSTANTIATE_TEST_SUITE_P(Values, FailedApplyTest,
                         ::testing::Values(FailingWrite{"ProxyServer",
                                                        {std::string("create ") + kKey + " 0x20006",
                                                         "set ProxyServer 1 8", "close"}},
                                           FailingWrite{"ProxyEnable",
                                                        {std::string("create ") + kKey + " 0x20006",
                                                         "set ProxyServer 1 8",
                                                         "set ProxyEnable 4 4", "close"}}),
                         [](const auto& test) { return std::string(test.param.value); });

TEST(SystemProxy, FailedClearRaisesAndSkipsTheNotification)
{
    FakeRegistry registry;
    registry.failSetValue = {"ProxyEnable"};
    Rig rig(registry);
    EXPECT_THROW(rig.proxy.ZrusProxy(), platform::ERegistryException);
    EXPECT_EQ(rig.internet.notifications, 0);
    EXPECT_EQ(registry.OpenKeys(), 0u);
}

// Against the platform's own hive, read back the way another program would.
class SystemProxyOnTheHive : public ::testing::Test {
protected:
    std::string Server()
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kKey, platform::kKeyRead);
        return key.ReadString("ProxyServer");
    }
    std::uint32_t Enable()
    {
        platform::Registry& registry = platform::CurrentUserRegistry();
        platform::Registry::Key key = platform::Registry::kNoKey;
        EXPECT_EQ(registry.CreateKey(kKey, platform::kKeyRead, &key), platform::kErrorSuccess);
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        EXPECT_EQ(registry.QueryValue(key, "ProxyEnable", &type, &data), platform::kErrorSuccess);
        registry.CloseKey(key);
        EXPECT_EQ(type, platform::kRegDword);
        EXPECT_EQ(data.size(), 4u);
        return data.size() == 4 ? data[0] | (data[1] << 8) | (data[2] << 16) |
                                      (static_cast<std::uint32_t>(data[3]) << 24)
                                : 0xFFFFFFFF;
    }
    bool ServerExists()
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kKey, platform::kKeyRead);
        return key.ValueExists("ProxyServer");
    }

    test_support::IsolatedUserEnvironment environment;
    Rig rig{platform::CurrentUserRegistry()};
};

TEST_F(SystemProxyOnTheHive, ClearOnAFreshMachineLeavesOnlyEnableZero)
{
    rig.proxy.ZrusProxy();
    EXPECT_EQ(Enable(), 0u);
    EXPECT_FALSE(ServerExists());
}

TEST_F(SystemProxyOnTheHive, ApplyTwiceThenClearKeepsTheSecondEntry)
{
    rig.proxy.NastavProxy("192.0.2.1:8080");
    EXPECT_EQ(Enable(), 1u);
    rig.proxy.NastavProxy("192.0.2.2:3128");
    EXPECT_EQ(Server(), "192.0.2.2:3128");
    rig.proxy.ZrusProxy();
    EXPECT_EQ(Server(), "192.0.2.2:3128");
    EXPECT_EQ(Enable(), 0u);
}

TEST_F(SystemProxyOnTheHive, AUserProxyIsSwitchedOffAndItsServerReplaced)
{
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kKey, platform::kKeyWrite);
        key.WriteString("ProxyServer", "corporate:8080");
        key.WriteInteger("ProxyEnable", 1);
    }
    rig.proxy.ZrusProxy();
    EXPECT_EQ(Server(), "corporate:8080");
    EXPECT_EQ(Enable(), 0u);
    rig.proxy.NastavProxy("192.0.2.9:80");
    rig.proxy.ZrusProxy();
    EXPECT_EQ(Server(), "192.0.2.9:80");
    EXPECT_EQ(Enable(), 0u);
}

struct StaleCase {
    const char* name;
    bool recorded;
    bool anotherCopyRuns;
    bool cleared;
};

// A run that ends without closing leaves its proxy on and its note behind.
TEST_F(SystemProxyOnTheHive, AStartSwitchesOffWhatAnEndedRunLeftOn)
{
    const StaleCase cases[] = {
        {"LeftOn", true, false, true},
        {"OwnedByARunningCopy", true, true, false},
        {"ClosedProperly", false, false, false},
    };
    const std::string folder = environment.Root().File("data/");
    platform::MakeDataFolder(folder);
    for (const auto& c : cases) {
        {
            SystemProxy applying(platform::CurrentUserRegistry(), rig.internet, rig.status,
                                 rig.strings, folder);
            applying.NastavProxy("192.0.2.5:3128");
            if (!c.recorded)
                applying.ZrusProxy();
        }
        if (!c.recorded)
            rig.proxy.NastavProxy("192.0.2.6:80");
        platform::NamedMutexes& mutexes = platform::SystemNamedMutexes();
        const auto other = mutexes.Create(c.anotherCopyRuns ? "Hopvane_ok" : "unrelated");
        EXPECT_EQ(ClearStaleProxy(folder, platform::CurrentUserRegistry(), rig.internet, mutexes),
                  c.cleared)
            << c.name;
        mutexes.Close(other.handle);
        EXPECT_EQ(Enable(), c.cleared ? 0u : 1u) << c.name;
        EXPECT_EQ(platform::FileExists(folder + "proxyapplied.txt"), c.recorded && !c.cleared)
            << c.name;
        const std::string reports = platform::FileExists(folder + "bugreport.txt")
                                        ? platform::ReadWholeFile(folder + "bugreport.txt")
                                        : std::string();
        EXPECT_EQ(reports.find("192.0.2.5:3128") != std::string::npos, c.cleared) << c.name;
        platform::RemoveFile(folder + "bugreport.txt");
        platform::RemoveFile(folder + "proxyapplied.txt");
    }
}

} // namespace
} // namespace sysproxy
