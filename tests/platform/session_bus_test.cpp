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
using test_support::ScopedEnv;

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
