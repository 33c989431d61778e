#include "net/body_reader.h"
#include "net/error_texts.h"
#include "net/http_client.h"
#include "tests/net/client_test_support.h"
#include "tests/net/scripted_server.h"
#include "tests/net/unanswering_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;

// Short limits, so that a slow peer outlasts them within a test: the
// connect, the head and the TLS handshake in 300 ms, 100 body bytes every
// 300 ms, 1.5 s in all.
TimeLimits ShortLimits()
{
    TimeLimits limits;
    limits.connectMs = 300;
    limits.tlsSocketMs = 300;
    limits.headMs = 300;
    limits.bodyStallMs = 300;
    limits.bodyLeastBytes = 100;
    limits.requestMs = 1500;
    return limits;
}

// The bytes, sent in pieces with a pause after each.
ConnectionScript Trickle(ConnectionScript script, const std::string& piece, int count, int pauseMs)
{
    for (int i = 0; i < count; ++i)
        script.Send(piece).Pause(pauseMs);
    return script;
}

struct HostileCase {
    const char* name;
    std::function<ConnectionScript()> script;
    const char* outcome;
};

TEST(HostilePeers, CannotStretchARequest)
{
    const std::string interim = "HTTP/1.1 100 Continue\r\n\r\n";
    const std::string lastReply = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
    const HostileCase cases[] = {
        {"HeaderLineASecond",
         [] {
             return Trickle(ConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\n"),
                            "X-A: 1\r\n", 8, 100);
         },
         kReadTimedOut},
        {"BodyAByteAtATime",
         [] {
             return Trickle(ConnectionScript().ReadRequest().Send(
                                "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n"),
                            "x", 8, 100);
         },
         kReadTimedOut},
        {"UntilCloseBodyAtJustTooSlowAPace",
         [] {
             return Trickle(ConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\n\r\n"),
                            std::string(30, 'x'), 8, 100);
         },
         kReadTimedOut},
        {"BodyKeepingItsPaceForTooLong",
         [] {
             return Trickle(ConnectionScript().ReadRequest().Send(
                                "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n"),
                            std::string(200, 'x'), 30, 100);
         },
         kReadTimedOut},
        {"FailingStatusWithAStalledBody",
         [] {
             return Trickle(ConnectionScript().ReadRequest().Send(
                                "HTTP/1.1 404 Not Found\r\nContent-Length: 1000\r\n\r\n"),
                            "x", 8, 100);
         },
         "HTTP/1.1 404 Not Found"},
        {"SixteenInterimRepliesAreRead",
         [&] {
             std::string replies;
             for (int i = 0; i < kMaxInterimReplies; ++i)
                 replies += interim;
             return ConnectionScript().ReadRequest().Send(replies + lastReply);
         },
         "ok"},
        {"EndlessInterimReplies",
         [&] {
             return Trickle(ConnectionScript().ReadRequest(), interim, kMaxInterimReplies + 2, 0);
         },
         kTooManyInterimReplies},
    };
    for (const auto& c : cases) {
        ScriptedServer server({c.script()});
        HttpClient client;
        client.SetTimeLimits(ShortLimits());
        std::string outcome;
        try {
            outcome = client.GetText(server.Url("/"));
        } catch (const std::exception& error) {
            outcome = error.what();
        }
        EXPECT_EQ(outcome, c.outcome) << c.name;
    }
}

TEST(HostilePeers, AProxyCannotStretchItsReplyToConnect)
{
    ScriptedServer proxy({Trickle(ConnectionScript().ReadRequest().Send("HTTP/1.1 200 OK\r\n"),
                                  "X-A: 1\r\n", 8, 100)});
    HttpClient client;
    client.SetTimeLimits(ShortLimits());
    client.SetProxyHostName("127.0.0.1");
    client.SetProxyPortNumber(proxy.Port());
    EXPECT_EQ(ErrorOf([&] { client.GetText("https://service.test/"); }), kReadTimedOut);
}

TEST(HostilePeers, AProxyThatNeverAnswersCostsTheConnectLimit)
{
    if (!net_test::UnansweringListener::Possible())
        GTEST_SKIP() << "Windows refuses attempts on a full queue";
    const net_test::UnansweringListener proxy;
    ASSERT_TRUE(proxy.Full()) << "every attempt was taken";
    HttpClient client;
    client.SetTimeLimits(ShortLimits());
    client.SetProxyHostName("127.0.0.1");
    client.SetProxyPortNumber(proxy.Port());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ErrorOf([&] { client.GetText("http://service.test/"); }),
              "Socket Error # 10060\r\nConnection timed out.");
    // The system's own time-out gives 10060 too, but only after minutes.
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 10) << "seconds";
}

// Three bytes of text for each byte of the body: the text stops at the
// body's cap, on a character's boundary, and costs no more than that.
TEST(HostilePeers, InvalidUtf8CostsNoMoreThanTheBodyCap)
{
    const std::string body(kMaxBodyBytes / 3 + 2, '\xFF');
    ScriptedServer server({std::move(ConnectionScript().ReadRequest().Send(
        ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: text/plain; charset=utf-8\r\n", body)))});
    HttpClient client;
    const std::string text = client.GetText(server.Url("/"));
    EXPECT_EQ(text.size(), kMaxBodyBytes - kMaxBodyBytes % 3);
    EXPECT_LE(text.capacity(), kMaxBodyBytes);
    EXPECT_EQ(text.substr(text.size() - 3), "\xEF\xBF\xBD");
}

// A sink of its own that keeps nothing: the body is read to its end for its
// META elements all the same.
TEST(HostilePeers, AnHtmlBodyStreamedAwayIsScannedToItsEnd)
{
    class DiscardingSink : public ByteSink {
    public:
        void Write(std::string_view) override {}
        void Truncate() override {}
    };
    const std::string body = "<html><head>" + std::string(1 << 20, ' ') +
                             "<meta http-equiv=X-Last content=reached></head>";
    ScriptedServer server({std::move(ConnectionScript().ReadRequest().Send(
        ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: text/html\r\n", body)))});
    HttpClient client;
    DiscardingSink sink;
    client.GetStream(server.Url("/"), sink);
    EXPECT_EQ(client.Response().HeaderValues("X-Last"), std::vector<std::string>{"reached"});
}

#ifndef _WIN32
// A reply's TLS record that arrives a byte at a time cannot stretch the
// request, nor can a handshake that arrives so through a proxy's tunnel.
TEST(HostilePeers, CannotStretchTlsRecords)
{
    ASSERT_TRUE(net_test::PrepareTlsServers()) << "the tests need libssl.so.3";
    ConnectionScript trickledReply;
    trickledReply.StartTls().ReadRequest().TrickleRecords(
        ReplyWithBody("HTTP/1.1 200 OK", "", "late"), 100);
    ConnectionScript trickledHandshake;
    trickledHandshake.ReadRequest()
        .Send("HTTP/1.1 200 Connection established\r\n\r\n")
        .ReadSome()
        .Send(std::string("\x16\x03\x01\x40\x00", 5));
    const struct {
        const char* name;
        ConnectionScript script;
        bool viaProxy;
        const char* outcome;
    } cases[] = {
        {"ReplyRecordAByteAtATime", trickledReply, false, kReadTimedOut},
        {"HandshakeAByteAtATimeInATunnel", Trickle(trickledHandshake, "x", 8, 100), true,
         "Socket Error # 10060\r\nConnection timed out."},
    };
    for (const auto& c : cases) {
        ScriptedServer server({c.script});
        HttpClient client;
        client.SetTimeLimits(ShortLimits());
        std::string url = server.Url("/", "https");
        if (c.viaProxy) {
            client.SetProxyHostName("127.0.0.1");
            client.SetProxyPortNumber(server.Port());
            url = "https://service.test/";
        }
        EXPECT_EQ(ErrorOf([&] { client.GetText(url); }), c.outcome) << c.name;
    }
}
#endif

} // namespace
} // namespace net
