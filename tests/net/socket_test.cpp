#include "net/host_address.h"
#include "platform/code_pages.h"
#include "platform/idna.h"
#include "platform/socket.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

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

#ifndef _WIN32
TEST(SocketErrors, SystemNumbersBecomeWindowsSocketsNumbers)
{
    EXPECT_EQ(SystemSocketError(ECONNREFUSED).Code(), 10061);
    EXPECT_EQ(SystemSocketError(ETIMEDOUT).Code(), 10060);
    EXPECT_EQ(SystemSocketError(EHOSTUNREACH).Code(), 10065);
    EXPECT_EQ(SystemSocketError(ENETUNREACH).Code(), 10051);
    EXPECT_EQ(SystemSocketError(ECONNRESET).Code(), 10054);
    EXPECT_EQ(SystemSocketError(EPIPE).Code(), 10054);
}

TEST(SocketErrors, UnmappedNumberKeepsItsOwnNumberAndText)
{
    const SocketError error = SystemSocketError(EPERM);
    EXPECT_EQ(error.Code(), EPERM);
    EXPECT_EQ(std::string(error.what()),
              "Socket Error # " + std::to_string(EPERM) + "\r\n" + std::strerror(EPERM));
}
#endif

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

TEST(Idna, NonAsciiNamesGetTheirAsciiForm)
{
    EXPECT_EQ(HostNameToAscii("m\xC3\xBCnchen.de"), "xn--mnchen-3ya.de");
    EXPECT_EQ(HostNameToAscii("\xC4\x8D"
                              "esko.cz"),
              "xn--esko-fua.cz");
    EXPECT_EQ(HostNameToAscii("Example.COM"), "Example.COM");
    EXPECT_EQ(HostNameToAscii("\xFF.de"), std::nullopt);
}

TEST(CodePages, UnknownCodePageIsNone)
{
    EXPECT_EQ(DecodeCodePage("abc", 12345), std::nullopt);
    EXPECT_EQ(DecodeCodePage("a\xE9", 1252), "a\xC3\xA9");
}

TEST(CodePages, InvalidAndTruncatedSequencesBecomeReplacementCharacters)
{
    EXPECT_EQ(DecodeCodePage("a\x82", 932), "a\xEF\xBF\xBD");
    EXPECT_EQ(DecodeCodePage("\x80x", 20127), "\xEF\xBF\xBDx");
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
