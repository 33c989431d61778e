#include "net/http_client.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/named_mutexes.h"
#include "platform/registry_key.h"
#include "tests/app/local_service.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

extern char** environ;

namespace app {
namespace {

constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

std::uint32_t ProxyEnable()
{
    platform::Registry& registry = platform::CurrentUserRegistry();
    platform::Registry::Key key = platform::Registry::kNoKey;
    if (registry.CreateKey(kInternetSettingsKey, platform::kKeyRead, &key) !=
        platform::kErrorSuccess)
        return 0xFFFFFFFF;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    const bool read =
        registry.QueryValue(key, "ProxyEnable", &type, &data) == platform::kErrorSuccess;
    registry.CloseKey(key);
    return read && data.size() == 4 ? data[0] : 0xFFFFFFFF;
}

// The real program on the offscreen platform, killed when the object goes if
// it still runs: a failed check never leaves it behind, holding the pipes
// that ctest waits on.
class RunningProgram {
public:
    RunningProgram()
    {
        char* const argv[] = {const_cast<char*>(HOPVANE_EXECUTABLE), nullptr};
        if (posix_spawn(&pid_, HOPVANE_EXECUTABLE, nullptr, nullptr, argv, environ) != 0)
            pid_ = -1;
    }
    ~RunningProgram()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    pid_t Pid() const { return pid_; }
    // Waits for the end of the program; its wait status, -1 when it was gone.
    int Wait()
    {
        int status = 0;
        const bool reaped = pid_ > 0 && waitpid(pid_, &status, 0) == pid_;
        pid_ = -1;
        return reaped ? status : -1;
    }

private:
    pid_t pid_ = -1;
};

// Waits for the started program to hold its first status name; false when
// it ended or took far longer than any start should.
bool WaitUntilStarted(pid_t program)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        if (platform::SystemNamedMutexes().Exists("Hopvane_off"))
            return true;
        int status = 0;
        if (waitpid(program, &status, WNOHANG) == program)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

class QuitSignalTest : public ::testing::TestWithParam<int> {};

TEST_P(QuitSignalTest, ClosesTheWindowAndSwitchesTheSystemProxyOff)
{
    test_support::IsolatedUserEnvironment environment;
    test_support::ScopedEnv offscreen("QT_QPA_PLATFORM", "offscreen");
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                  platform::kKeyWrite);
        key.WriteString("ProxyServer", "192.0.2.1:8080");
        key.WriteInteger("ProxyEnable", 1);
    }

    RunningProgram program;
    ASSERT_TRUE(WaitUntilStarted(program.Pid()));
    ASSERT_EQ(ProxyEnable(), 1u);

    kill(program.Pid(), GetParam());
    const int status = program.Wait();
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(ProxyEnable(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Signals, QuitSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const auto& test) { return std::string(sigabbrev_np(test.param)); });

bool WaitFor(const char* statusName)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (platform::SystemNamedMutexes().Exists(statusName))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// Closed the ordinary way (SIGTERM) or killed outright (SIGKILL, then a next
// start) with a proxy on, the program leaves the user's own proxy settings as
// they were. It reaches the service it was built for, so this needs the
// service's own ports.
class UsersOwnProxyTest : public ::testing::TestWithParam<int> {};

TEST_P(UsersOwnProxyTest, ComesBackAfterTheProgramEnds)
{
    test_support::IsolatedUserEnvironment environment;
    test_support::ScopedEnv offscreen("QT_QPA_PLATFORM", "offscreen");
    const test_support::LocalService service(test_support::LocalService::kBuiltPorts);
    if (!service.IsUp())
        GTEST_SKIP() << "the service's ports are taken: " << service.Output();
    platform::MakeDataFolder(platform::DataFolder());
    test_support::WriteFileBytes(
        platform::DataFolder() + "proxylist.txt",
        net::GetTextDirect(service.Sites().czechHttp + "/hopvane/proxylist/proxy.txt"));
    // The user's own proxy, in the hive and for KDE.
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                  platform::kKeyWrite);
        key.WriteString("ProxyServer", "192.0.2.1:8080");
        key.WriteInteger("ProxyEnable", 1);
    }
    const std::string kioslaverc = environment.Root().File("config") + "/kioslaverc";
    const std::string usersKde = "[Proxy Settings]\nProxyType=1\nhttpProxy=http://192.0.2.1 8080\n";
    test_support::WriteFileBytes(kioslaverc, usersKde);

    RunningProgram ended;
    ASSERT_TRUE(WaitUntilStarted(ended.Pid()));
    {
        platform::NamedMutexes& mutexes = platform::SystemNamedMutexes();
        const auto on = mutexes.Create("Hopvane_go_on");
        const bool applied = WaitFor("Hopvane_ok");
        mutexes.Close(on.handle);
        ASSERT_TRUE(applied);
    }
    ASSERT_NE(test_support::ReadFileBytes(kioslaverc), usersKde);
    kill(ended.Pid(), GetParam());
    ASSERT_NE(ended.Wait(), -1);
    const bool killed = GetParam() == SIGKILL;
    std::optional<RunningProgram> restarted;
    if (killed) {
        restarted.emplace();
        ASSERT_TRUE(WaitUntilStarted(restarted->Pid()));
    }

    EXPECT_EQ(ProxyEnable(), 1u);
    EXPECT_EQ(platform::RegistryKey(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                    platform::kKeyRead)
                  .ReadString("ProxyServer"),
              "192.0.2.1:8080");
    EXPECT_EQ(test_support::ReadFileBytes(kioslaverc), usersKde);
    const std::string reports =
        platform::FileExists(platform::DataFolder() + "bugreport.txt")
            ? test_support::ReadFileBytes(platform::DataFolder() + "bugreport.txt")
            : std::string();
    EXPECT_EQ(reports.find("127.0.0.11:18128") != std::string::npos, killed);
    if (restarted) {
        kill(restarted->Pid(), SIGTERM);
        EXPECT_NE(restarted->Wait(), -1);
    }
}

INSTANTIATE_TEST_SUITE_P(Endings, UsersOwnProxyTest, ::testing::Values(SIGTERM, SIGKILL),
                         [](const auto& test) { return std::string(sigabbrev_np(test.param)); });

} // namespace
} // namespace app
