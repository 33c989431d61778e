#include "switching/proxy_address.h"

#include <gtest/gtest.h>

namespace switching {
namespace {

struct ServerCase {
    const char* name;
    const char* entry;
    const char* applied; // nullptr: the entry fails before any probe
};

class ServerToApplyTest : public ::testing::TestWithParam<ServerCase> {};

TEST_P(ServerToApplyTest, IsWhatTheProbesConnectTo)
{
    const std::optional<platform::ProxyServer> server =
        ServerToApply(SplitProxyEntry(GetParam().entry));
    if (!GetParam().applied) {
        EXPECT_FALSE(server) << server->Text();
        return;
    }
    ASSERT_TRUE(server);
    EXPECT_EQ(server->Text(), GetParam().applied);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ServerToApplyTest,
    ::testing::Values(ServerCase{"Address", "127.0.0.11:18128", "127.0.0.11:18128"},
                      ServerCase{"Name", "proxy-1.example_net:80", "proxy-1.example_net:80"},
                      ServerCase{"PiecesAfterThePort", "127.0.0.12:18128:x", "127.0.0.12:18128"},
                      ServerCase{"HexadecimalPort", "h:0x50", "h:80"},
                      ServerCase{"InternationalName",
                                 "b\xC3\xBC"
                                 "cher.example:80",
                                 "xn--bcher-kva.example:80"},
                      ServerCase{"HighestPort", "h:65535", "h:65535"},
                      ServerCase{"PortTooHigh", "h:65536", nullptr},
                      ServerCase{"NegativePort", "h:-47408", nullptr},
                      ServerCase{"PortZero", "h:0", nullptr}, ServerCase{"NoPort", "h", nullptr},
                      ServerCase{"NoHost", ":80", nullptr},
                      ServerCase{"Semicolon", "a;b:80", nullptr},
                      ServerCase{"Blank", "127.0.0.12 x:80", nullptr},
                      ServerCase{"CommandSubstitution", "$(touch x):80", nullptr}),
    [](const auto& test) { return std::string(test.param.name); });

} // namespace
} // namespace switching
