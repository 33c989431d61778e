#include "net/error_texts.h"
#include "net/http_client.h"
#include "tests/net/client_test_support.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::ScriptedServer;

// Short limits, so that a slow peer outlasts them within a test: the head
// in 300 ms, 100 body bytes every 300 ms, 1.5 s in all.
TimeLimits ShortLimits()
{
    TimeLimits limits;
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

} // namespace
} // namespace net
