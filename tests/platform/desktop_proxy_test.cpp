#include "platform/posix/desktop_proxy.h"
#include "platform/posix/kioslaverc.h"
#include "platform/posix/session_bus.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace platform {
namespace {

using test_support::IsolatedUserEnvironment;
using test_support::ReadFileBytes;
using test_support::ScopedEnv;
using test_support::WriteFileBytes;

struct EntryCase {
    const char* name;
    const char* entry;
    const char* host; // nullptr: rejected
    std::uint16_t port;
};

class SplitProxyEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SplitProxyEntryTest, SplitsOnlyHostAndDecimalPort)
{
    const std::optional<ProxyAddress> address = SplitProxyEntry(GetParam().entry);
    if (!GetParam().host) {
        EXPECT_FALSE(address);
        return;
    }
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, GetParam().host);
    EXPECT_EQ(address->port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SplitProxyEntryTest,
    ::testing::Values(
        EntryCase{"Address", "127.0.0.11:18128", "127.0.0.11", 18128},
        EntryCase{"Name", "proxy-1.example_net:80", "proxy-1.example_net", 80},
        EntryCase{"HighestPort", "h:65535", "h", 65535},
        EntryCase{"PortTooHigh", "h:65536", nullptr, 0}, EntryCase{"PortZero", "h:0", nullptr, 0},
        EntryCase{"HugePort", "h:99999999999999999999", nullptr, 0},
        EntryCase{"NoPort", "h:", nullptr, 0}, EntryCase{"NoColon", "h", nullptr, 0},
        EntryCase{"NoHost", ":80", nullptr, 0}, EntryCase{"SignedPort", "h:+80", nullptr, 0},
        EntryCase{"TextAfterPort", "h:80 x", nullptr, 0},
        EntryCase{"SecondColon", "h:80:81", nullptr, 0},
        EntryCase{"CommandSubstitution", "$(touch x):80", nullptr, 0},
        EntryCase{"Semicolon", "a;b:80", nullptr, 0},
        EntryCase{"LineBreak", "a\n[x]:80", nullptr, 0}, EntryCase{"Blank", "a b:80", nullptr, 0}),
    [](const auto& test) { return std::string(test.param.name); });

const ProxyAddress kProxy{"10.0.0.1", 8080};

struct RewriteCase {
    const char* name;
    const char* before;
    bool on;
    const char* after;
};

class RewriteKioslavercTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteKioslavercTest, SetsOnlyTheProxyKeys)
{
    const std::optional<ProxyAddress> proxy =
        GetParam().on ? std::optional<ProxyAddress>(kProxy) : std::nullopt;
    EXPECT_EQ(RewriteKioslaverc(GetParam().before, proxy), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RewriteKioslavercTest,
    ::testing::Values(
        RewriteCase{"Empty", "", true,
                    "[Proxy Settings]\nProxyType=1\nhttpProxy=http://10.0.0.1 8080\n"
                    "httpsProxy=http://10.0.0.1 8080\n"},
        RewriteCase{"OtherGroupsStay",
                    "# mine\n[Cache]\nMaxSize=5\n\n[Proxy Settings]\nftpProxy=ftp://f 21\n"
                    "ProxyType=0\nhttpProxy=http://old 1\n\n[Later]\nProxyType=7\n",
                    true,
                    "# mine\n[Cache]\nMaxSize=5\n\n[Proxy Settings]\nftpProxy=ftp://f 21\n"
                    "ProxyType=1\nhttpProxy=http://10.0.0.1 8080\n"
                    "httpsProxy=http://10.0.0.1 8080\n\n[Later]\nProxyType=7\n"},
        RewriteCase{"GroupMissingAfterUnterminatedLine", "[Cache]\nMaxSize=5", true,
                    "[Cache]\nMaxSize=5\n\n[Proxy Settings]\nProxyType=1\n"
                    "httpProxy=http://10.0.0.1 8080\nhttpsProxy=http://10.0.0.1 8080\n"},
        RewriteCase{"CommentsAndCrLfInGroupStay",
                    "[Proxy Settings]\r\n# note\r\n ProxyType = 0\r\nNoProxyFor=localhost\r\n",
                    true,
                    "[Proxy Settings]\r\n# note\r\nProxyType=1\r\nNoProxyFor=localhost\r\n"
                    "httpProxy=http://10.0.0.1 8080\nhttpsProxy=http://10.0.0.1 8080\n"},
        RewriteCase{"RepeatedGroupsAllSet",
                    "[Proxy Settings]\nProxyType=1\n[Proxy Settings]\nProxyType=1\n", false,
                    "[Proxy Settings]\nProxyType=0\n[Proxy Settings]\nProxyType=0\n"},
        RewriteCase{"OffKeepsTheAddresses",
                    "[Proxy Settings]\nProxyType=1\nhttpProxy=http://10.0.0.1 8080\n", false,
                    "[Proxy Settings]\nProxyType=0\nhttpProxy=http://10.0.0.1 8080\n"},
        RewriteCase{"OffAddsTheTypeOnly", "[Proxy Settings]\n", false,
                    "[Proxy Settings]\nProxyType=0\n"}),
    [](const auto& test) { return std::string(test.param.name); });

struct UpdateCase {
    const char* name;
    const char* existing; // nullptr: no file
    const char* desktop;  // nullptr: unset
    bool written;
};

class UpdateKioslavercTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UpdateKioslavercTest, WritesOnlyForKde)
{
    IsolatedUserEnvironment user;
    ScopedEnv desktop("XDG_CURRENT_DESKTOP", GetParam().desktop
                                                 ? std::optional<std::string>(GetParam().desktop)
                                                 : std::nullopt);
    const std::string path = user.Root().File("config") + "/kioslaverc";
    if (GetParam().existing)
        WriteFileBytes(path, GetParam().existing);

    EXPECT_EQ(UpdateKioslaverc(std::nullopt), GetParam().written);
    if (GetParam().written)
        EXPECT_EQ(ReadFileBytes(path),
                  RewriteKioslaverc(GetParam().existing ? GetParam().existing : "", std::nullopt));
    else
        EXPECT_EQ(access(path.c_str(), F_OK), -1);
}

INSTANTIATE_TEST_SUITE_P(Homes, UpdateKioslavercTest,
                         ::testing::Values(UpdateCase{"Gnome", nullptr, "ubuntu:GNOME", false},
                                           UpdateCase{"NoDesktop", nullptr, nullptr, false},
                                           UpdateCase{"PlasmaSession", nullptr, "kde", true},
                                           UpdateCase{"ExistingFile", "[Cache]\nMaxSize=5\n",
                                                      "GNOME", true}),
                         [](const auto& test) { return std::string(test.param.name); });

struct BusCase {
    const char* name;
    const char* variable; // nullptr: unset
    bool runtimeSocket;
    const char* expected; // nullptr: none; "RUNTIME": the socket in the runtime folder
};

class SessionBusAddressTest : public ::testing::TestWithParam<BusCase> {};

TEST_P(SessionBusAddressTest, NeverAutolaunches)
{
    IsolatedUserEnvironment user;
    ScopedEnv variable("DBUS_SESSION_BUS_ADDRESS",
                       GetParam().variable ? std::optional<std::string>(GetParam().variable)
                                           : std::nullopt);
    const std::string socketPath = user.Root().File("runtime") + "/bus";
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    if (GetParam().runtimeSocket) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    }

    const std::string runtime = "unix:path=" + socketPath;
    const std::optional<std::string> expected =
        !GetParam().expected ? std::nullopt
        : std::string(GetParam().expected) == "RUNTIME"
            ? std::optional<std::string>(runtime)
            : std::optional<std::string>(GetParam().expected);
    EXPECT_EQ(SessionBusAddress(), expected);
    close(listener);
}

INSTANTIATE_TEST_SUITE_P(Sessions, SessionBusAddressTest,
                         ::testing::Values(BusCase{"Variable", "unix:path=/run/b", true,
                                                   "unix:path=/run/b"},
                                           BusCase{"RuntimeSocket", nullptr, true, "RUNTIME"},
                                           BusCase{"EmptyVariable", "", true, "RUNTIME"},
                                           BusCase{"Nothing", nullptr, false, nullptr},
                                           BusCase{"Autolaunch", "autolaunch:", true, nullptr}),
                         [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace platform
