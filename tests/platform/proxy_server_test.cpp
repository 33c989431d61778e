#include "platform/proxy_settings.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

struct EntryCase {
    const char* name;
    const char* entry;
    const char* host; // nullptr: rejected
    std::uint16_t port;
};

class ParseProxyServerTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ParseProxyServerTest, ReadsOnlyHostAndDecimalPort)
{
    const std::optional<ProxyServer> address = ParseProxyServer(GetParam().entry);
    if (!GetParam().host) {
        EXPECT_FALSE(address);
        return;
    }
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, GetParam().host);
    EXPECT_EQ(address->port, GetParam().port);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ParseProxyServerTest,
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

} // namespace
} // namespace platform
