#include "net/host_address.h"
#include "platform/code_pages.h"
#include "platform/idna.h"
#include "platform/socket.h"
#include "tests/net/unanswering_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

namespace platform {
namespace {

TEST(SocketErrors, MessageIsNumberLineBreakAndText)
{
    EXPECT_STREQ(SocketError(10061).what(), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_STREQ(SocketError(11001).what(), "Socket Error # 11001\r\nHost not found.");
    EXPECT_STREQ(SocketError(10060).what(), "Socket Error # 10060\r\nConnection timed out.");
    EXPECT_STREQ(SocketError(10065).what(), "Socket Error # 10065\r\nNo route to host.");
    EXPECT_STREQ(SocketError(10051).what(), "Socket Error # 10051\r\nNetwork is unreachable.");
    EXPECT_STREQ(SocketError(10054).what(), "Socket Error # 10054\r\nConnection reset by peer.");
    EXPECT_EQ(SocketError(10054).Code(), 10054);
}

TEST(TcpConnect, RefusedPortFailsWith10061)
{
    std::uint16_t port = 0;
    {
        TcpListener listener;
        port = listener.Port();
    }
    try {
        TcpSocket::Connect(0x7F000001, port);
        FAIL() << "connected";
    } catch (const SocketError& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10061\r\nConnection refused.");
    }
}

TEST(TcpConnect, UnansweredAttemptFailsWith10060AtItsLimit)
{
    if (!net_test::UnansweringListener::Possible())
        GTEST_SKIP() << "Windows refuses attempts on a full queue";
    const net_test::UnansweringListener listener;
    ASSERT_TRUE(listener.Full()) << "every attempt was taken";
    const auto start = std::chrono::steady_clock::now();
    try {
        TcpSocket::Connect(0x7F000001, listener.Port(), 300);
        FAIL() << "connected";
    } catch (const SocketError& error) {
        EXPECT_STREQ(error.what(), "Socket Error # 10060\r\nConnection timed out.");
    }
    // The system's own time-out gives 10060 too, but only after minutes.
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 10) << "seconds";
}

TEST(TcpConnect, ReceiveTimeLimitFailsWith10060)
{
    TcpListener listener;
    TcpSocket client = TcpSocket::Connect(0x7F000001, listener.Port());
    TcpSocket server = listener.Accept(5000);
    ASSERT_TRUE(server.IsOpen());
    client.SetSendReceiveTimeLimits(50);
    char byte = 0;
    try {
        client.Receive(&byte, 1);
        FAIL() << "received";
    } catch (const SocketError& error) {
        EXPECT_EQ(error.Code(), 10060);
    }
    server.SendAll("x");
    EXPECT_EQ(client.Receive(&byte, 1), 1u);
    server.Close();
    EXPECT_TRUE(client.WaitReadable(5000));
    EXPECT_EQ(client.Receive(&byte, 1), 0u);
}

TEST(Resolver, LocalhostIsTheLoopbackAddress)
{
    EXPECT_EQ(ResolveIpv4("localhost"), 0x7F000001u);
}

struct IdnaCase {
    const char* name;
    std::optional<std::string> ascii;
};

// Cases in which the Windows conversion and libidn2's agree.
class Idna : public ::testing::TestWithParam<IdnaCase> {};

TEST_P(Idna, NonAsciiNamesGetTheirAsciiForm)
{
    EXPECT_EQ(HostNameToAscii(GetParam().name), GetParam().ascii) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, Idna,
                         ::testing::Values(IdnaCase{"m\xC3\xBCnchen.de", "xn--mnchen-3ya.de"},
                                           IdnaCase{"\xC4\x8D"
                                                    "esko.cz",
                                                    "xn--esko-fua.cz"},
                                           IdnaCase{"Example.COM", "Example.COM"},
                                           // Upper case folds, sharp s becomes "ss" (IDNA 2003).
                                           IdnaCase{"M\xC3\x9CNCHEN.DE", "xn--mnchen-3ya.de"},
                                           IdnaCase{"stra\xC3\x9F"
                                                    "e.de",
                                                    "strasse.de"},
                                           IdnaCase{"\xCE\xB1\xCE\xB2.gr", "xn--mxac.gr"},
                                           // Beyond the BMP: two UTF-16 code units on Windows.
                                           IdnaCase{"\xF0\xA0\x80\x80.cn", "xn--j50i.cn"},
                                           // U+0378 is unassigned.
                                           IdnaCase{"\xCD\xB8.cz", std::nullopt},
                                           IdnaCase{"\xFF.de", std::nullopt}));

TEST(CodePages, UnknownCodePageIsNone)
{
    EXPECT_EQ(DecodeCodePage("abc", 12345), std::nullopt);
    EXPECT_EQ(DecodeCodePage("", 12345), std::nullopt);
    EXPECT_EQ(DecodeCodePage("", 1252), "");
    EXPECT_EQ(DecodeCodePage("a\xE9", 1252), "a\xC3\xA9");
    EXPECT_EQ(DecodeCodePage("\x82\xA0", 932), "\xE3\x81\x82");
}

TEST(CodePages, Utf32InBothByteOrders)
{
    using namespace std::string_literals;
    EXPECT_EQ(DecodeCodePage("a\0\0\0\x0D\x01\0\0\x00\xF6\x01\0"s, 12000),
              "a\xC4\x8D\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeCodePage("\0\0\0a\0\0\x01\x0D"s, 12001), "a\xC4\x8D");
    EXPECT_EQ(DecodeCodePage("a\0\0\0\x0D"s, 12000), "a\xEF\xBF\xBD");
}

TEST(CodePages, InvalidAndTruncatedSequencesBecomeReplacementCharacters)
{
    EXPECT_EQ(DecodeCodePage("a\x82", 932), "a\xEF\xBF\xBD");
    EXPECT_EQ(DecodeCodePage("\x80x", 20127), "\xEF\xBF\xBDx");
    // One for each byte of a cut-off sequence.
    EXPECT_EQ(DecodeCodePage("\xE2\x82", 65001), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(DecodeCodePage("a\xFF"
                             "b",
                             65001),
              "a\xEF\xBF\xBD"
              "b");
}

} // namespace
} // namespace platform

namespace net {
namespace {

TEST(HostAddress, DottedIpv4IsTakenAsItIs)
{
    EXPECT_EQ(ParseIpv4Address("127.0.0.1"), 0x7F000001u);
    EXPECT_EQ(ParseIpv4Address("10.255.0.7"), 0x0AFF0007u);
    for (const char* text : {"256.0.0.1", "1.2.3", "1.2.3.4.5", "1.2.3.", "a.b.c.d", "1..2.3",
                             " 1.2.3.4", "1.2.3.4 ", "0001.2.3.4", ""})
        EXPECT_EQ(ParseIpv4Address(text), std::nullopt) << text;
}

TEST(HostAddress, LocalhostInAnyCaseIsLoopbackWithoutResolving)
{
    EXPECT_EQ(ResolveHostAddress("LocalHost"), 0x7F000001u);
    EXPECT_EQ(ResolveHostAddress("127.0.0.2"), 0x7F000002u);
}

} // namespace
} // namespace net
