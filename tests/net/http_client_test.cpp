#include "net/body_reader.h"
#include "net/error_texts.h"
#include "net/http_client.h"
#include "net/http_error.h"
#include "net/memory_stream.h"
#include "tests/net/client_test_support.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::ExpectedGet;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;

// A server that reads one request and answers with the bytes.
ConnectionScript Answer(std::string reply)
{
    return std::move(ConnectionScript().ReadRequest().Send(std::move(reply)));
}

std::string HostOf(const ScriptedServer& server)
{
    return "127.0.0.1:" + std::to_string(server.Port());
}

TEST(DirectGet, SendsTheSixLinesAndReturnsTheBody)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", "1.2.3.4:8080\r\n"))});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/hopvane/proxylist/proxy.txt")), "1.2.3.4:8080\r\n");
    auto& served = server.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0],
              ExpectedGet("GET /hopvane/proxylist/proxy.txt HTTP/1.1", HostOf(server)));
    EXPECT_EQ(served[0].received, served[0].requests[0]) << "one request, nothing more";
}

TEST(DirectGet, LocalhostNameAndQueryGoOutAsWritten)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", "x"))});
    HttpClient client;
    client.GetText("http://LocalHost:" + std::to_string(server.Port()) + "\\a\\b.php?q=1#frag");
    auto& served = server.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0], ExpectedGet("GET /a/b.php?q=1 HTTP/1.1",
                                                 "LocalHost:" + std::to_string(server.Port())));
}

TEST(DirectGet, UnknownProtocolOpensNoConnection)
{
    ScriptedServer server({});
    HttpClient client;
    for (const char* scheme : {"ftp", "gopher"}) {
        EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/x", scheme)); }), kUnknownProtocol);
    }
    EXPECT_EQ(ErrorOf([&] { client.GetText("127.0.0.1:" + std::to_string(server.Port())); }),
              kUnknownProtocol);
    EXPECT_FALSE(server.HasExtraConnection());
}

TEST(DirectGet, EmptyHostAndPortZeroAreRefusedBeforeConnecting)
{
    HttpClient client;
    EXPECT_EQ(ErrorOf([&] { client.GetText("http:///x"); }), kHostRequired);
    EXPECT_EQ(ErrorOf([&] { client.GetText("http://127.0.0.1:0/x"); }), kPortRequired);
}

TEST(DirectGet, RefusedConnectionIsASocketError)
{
    std::uint16_t port = 0;
    {
        platform::TcpListener listener;
        port = listener.Port();
    }
    HttpClient client;
    EXPECT_EQ(ErrorOf([&] { client.GetText("http://127.0.0.1:" + std::to_string(port) + "/"); }),
              "Socket Error # 10061\r\nConnection refused.");
}

TEST(DirectGet, InterimContinueIsSkipped)
{
    ScriptedServer server({Answer("HTTP/1.1 100 Continue\r\nX-Interim: 1\r\n\r\n" +
                                  ReplyWithBody("HTTP/1.1 200 OK", "", "final"))});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/")), "final");
    EXPECT_EQ(client.Response().ResponseText(), "HTTP/1.1 200 OK");
    EXPECT_EQ(client.Response().HeaderValue("X-Interim"), std::nullopt);
}

TEST(DirectGet, OtherInterimRepliesFail)
{
    for (const char* status : {"HTTP/1.1 101 Switching Protocols", "HTTP/1.1 102 Processing"}) {
        ScriptedServer server({Answer(std::string(status) + "\r\n\r\n")});
        HttpClient client;
        try {
            client.GetText(server.Url("/"));
            ADD_FAILURE() << status << " succeeded";
        } catch (const HttpStatusError& error) {
            EXPECT_STREQ(error.what(), status);
        }
    }
}

TEST(DirectGet, RedirectFailsAndIsNotFollowed)
{
    ScriptedServer server({Answer(ReplyWithBody(
        "HTTP/1.1 302 Found", "Location: http://127.0.0.1:1/elsewhere\r\n", "moved"))});
    HttpClient client;
    try {
        client.GetText(server.Url("/"));
        FAIL() << "succeeded";
    } catch (const HttpStatusError& error) {
        EXPECT_STREQ(error.what(), "HTTP/1.1 302 Found");
        EXPECT_EQ(error.Code(), 302);
        EXPECT_EQ(error.BodyText(), "moved");
    }
    server.Finish();
    EXPECT_FALSE(server.HasExtraConnection());
}

TEST(DirectGet, RedirectBodyThatDoesNotStartIsLeftUnread)
{
    ScriptedServer server({std::move(ConnectionScript()
                                         .ReadRequest()
                                         .Send("HTTP/1.1 301 Moved\r\nContent-Length: 5\r\n\r\n")
                                         .AwaitClientClose())});
    HttpClient client;
    client.SetTimeLimits({30000, 30000, 100});
    try {
        client.GetText(server.Url("/"));
        FAIL() << "succeeded";
    } catch (const HttpStatusError& error) {
        EXPECT_STREQ(error.what(), "HTTP/1.1 301 Moved");
        EXPECT_EQ(error.BodyText(), "");
    }
}

TEST(DirectGet, NoContentAndZeroLengthGiveEmptyText)
{
    ScriptedServer server({Answer("HTTP/1.1 204 No Content\r\n\r\n"),
                           Answer("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")});
    HttpClient first;
    EXPECT_EQ(first.GetText(server.Url("/")), "");
    HttpClient second;
    EXPECT_EQ(second.GetText(server.Url("/")), "");
}

TEST(DirectGet, StatusCodeWithDecimalPartCounts)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200.0 OK", "", "fine")),
                           Answer(ReplyWithBody("HTTP/1.1 OK", "", "odd"))});
    HttpClient first;
    EXPECT_EQ(first.GetText(server.Url("/")), "fine");
    HttpClient second;
    try {
        second.GetText(server.Url("/"));
        FAIL() << "succeeded";
    } catch (const HttpStatusError& error) {
        EXPECT_EQ(error.Code(), -1);
        EXPECT_STREQ(error.what(), "HTTP/1.1 OK");
        EXPECT_EQ(error.BodyText(), "odd");
    }
}

TEST(DirectGet, EarlyCloseEndsAKnownLengthBody)
{
    ScriptedServer server(
        {Answer("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n" + std::string(600, 'b'))});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/")), std::string(600, 'b'));
}

TEST(DirectGet, BodyWithoutLengthIsReadUntilClose)
{
    ScriptedServer server(
        {Answer("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\nuntil close")});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/")), "until close");
}

TEST(DirectGet, ChunkSizeWithExtension)
{
    ScriptedServer server({Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                  "1a;ext=val\r\nabcdefghijklmnopqrstuvwxyz\r\n0\r\n\r\n")});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/")), "abcdefghijklmnopqrstuvwxyz");
}

TEST(DirectGet, HeaderLineLengthBoundary)
{
    const std::string accepted = "X-Long: " + std::string(16383 - 8, 'v');
    const std::string tooLong = "X-Long: " + std::string(16384 - 8, 'v');
    ScriptedServer server(
        {Answer("HTTP/1.1 200 OK\r\n" + accepted + "\r\nContent-Length: 2\r\n\r\nok"),
         Answer("HTTP/1.1 200 OK\r\n" + tooLong + "\r\nContent-Length: 2\r\n\r\nok")});
    HttpClient first;
    EXPECT_EQ(first.GetText(server.Url("/")), "ok");
    HttpClient second;
    EXPECT_EQ(ErrorOf([&] { second.GetText(server.Url("/")); }), kMaxLineLengthExceeded);
}

TEST(DirectGet, CloseBeforeTheStatusLine)
{
    ScriptedServer server({std::move(ConnectionScript().ReadRequest())});
    HttpClient client;
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/")); }), kConnectionClosedGracefully);
}

TEST(DirectGet, SilentServerTimesOut)
{
    ScriptedServer server({std::move(ConnectionScript().ReadRequest().AwaitClientClose())});
    HttpClient client;
    client.SetTimeLimits({200, 200, 100});
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/")); }), kReadTimedOut);
}

TEST(DirectGet, AnnouncedBodyOverTheLimitFails)
{
    ScriptedServer server({Answer("HTTP/1.1 200 OK\r\nContent-Length: 67108865\r\n\r\nabc")});
    HttpClient client;
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/")); }), kBodyTooLarge);
}

struct CharSetCase {
    const char* name;
    const char* headers;
    std::string body;
    std::string text;
};

class BodyCharSet : public ::testing::TestWithParam<CharSetCase> {};

TEST_P(BodyCharSet, DecodesTheBody)
{
    ScriptedServer server(
        {Answer(ReplyWithBody("HTTP/1.1 200 OK", GetParam().headers, GetParam().body))});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/")), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, BodyCharSet,
    ::testing::Values(
        CharSetCase{"TextWithoutCharsetIsLatin1", "Content-Type: text/plain\r\n", "caf\xE9",
                    "caf\xC3\xA9"},
        CharSetCase{"Utf8InAnyCase", "Content-Type: text/plain; charset=uTf-8\r\n",
                    "P\xC5\x99\xC3\xAD", "P\xC5\x99\xC3\xAD"},
        CharSetCase{"NoContentTypeIsEachByte", "", "\xE9\x9A", "\xC3\xA9\xC2\x9A"},
        CharSetCase{"Windows1250", "Content-Type: text/plain; charset=windows-1250\r\n", "\x9A",
                    "\xC5\xA1"},
        CharSetCase{"MetaCharsetOfHtml", "Content-Type: text/html\r\n",
                    "<html><head><meta charset=\"windows-1250\"></head>\x9A",
                    "<html><head><meta charset=\"windows-1250\"></head>\xC5\xA1"},
        CharSetCase{"MetaContentTypeOfHtml", "Content-Type: text/html; charset=utf-8\r\n",
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">"
                    "\xB9",
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-2\">"
                    "\xC5\xA1"},
        CharSetCase{"TextIsReturnedAsItIs", "Content-Type: text/plain\r\n", "  a\r\nb\n  ",
                    "  a\r\nb\n  "}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(DirectGet, MetaHttpEquivReplacesHeaders)
{
    ScriptedServer server(
        {Answer(ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: text/html\r\nRefresh: 1\r\n",
                              "<head><meta http-equiv=\"refresh\" content=\"9\"></head>"))});
    HttpClient client;
    client.GetText(server.Url("/"));
    EXPECT_EQ(client.Response().HeaderValues("Refresh"), std::vector<std::string>{"9"});
}

struct UnauthorizedCase {
    const char* name;
    const char* userPart;
    const char* challenge;
    bool succeeds;
};

class Unauthorized : public ::testing::TestWithParam<UnauthorizedCase> {};

TEST_P(Unauthorized, SucceedsOnlyWithPasswordAndKnownScheme)
{
    const UnauthorizedCase& c = GetParam();
    ScriptedServer server(
        {Answer(ReplyWithBody("HTTP/1.1 401 Unauthorized", c.challenge, "login page"))});
    HttpClient client;
    const std::string url = "http://" + std::string(c.userPart) +
                            "127.0.0.1:" + std::to_string(server.Port()) + "/private";
    if (c.succeeds) {
        EXPECT_EQ(client.GetText(url), "login page");
    } else {
        try {
            client.GetText(url);
            ADD_FAILURE() << "succeeded";
        } catch (const HttpStatusError& error) {
            EXPECT_STREQ(error.what(), "HTTP/1.1 401 Unauthorized");
            EXPECT_EQ(error.BodyText(), "login page");
        }
    }
    auto& served = server.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0].find("Authorization"), std::string::npos);
    EXPECT_FALSE(server.HasExtraConnection());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Unauthorized,
    ::testing::Values(
        UnauthorizedCase{"NoUserPart", "", "WWW-Authenticate: Basic realm=\"x\"\r\n", false},
        UnauthorizedCase{"UserWithoutPassword", "jan@", "WWW-Authenticate: Basic\r\n", false},
        UnauthorizedCase{"BlankPassword", "jan: @", "WWW-Authenticate: Basic\r\n", false},
        UnauthorizedCase{"UnknownScheme", "jan:pw@", "WWW-Authenticate: Bearer x\r\n", false},
        UnauthorizedCase{"NoChallenge", "jan:pw@", "", false},
        UnauthorizedCase{"Basic", "jan:pw@", "WWW-Authenticate: basic realm=\"x\"\r\n", true},
        UnauthorizedCase{"SecondChallengeKnown", "jan:pw@",
                         "WWW-Authenticate: Bearer\r\nWWW-Authenticate: NTLM\r\n", true},
        UnauthorizedCase{"Negotiate", "jan:pw@", "WWW-Authenticate: Negotiate\r\n", true}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(StatusError, CarriesCodeAndDecodedBody)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 404 Nenalezeno",
                                                "Content-Type: text/plain; charset=utf-8\r\n",
                                                "str\xC3\xA1nka chyb\xC3\xAD"))});
    HttpClient client;
    try {
        client.GetText(server.Url("/missing"));
        FAIL() << "succeeded";
    } catch (const HttpStatusError& error) {
        EXPECT_STREQ(error.what(), "HTTP/1.1 404 Nenalezeno");
        EXPECT_EQ(error.Code(), 404);
        EXPECT_EQ(error.BodyText(), "str\xC3\xA1nka chyb\xC3\xAD");
    }
}

TEST(StatusError, BodyCutOffByCloseIsNoFurtherError)
{
    ScriptedServer server({Answer("HTTP/1.1 500 Oops\r\nTransfer-Encoding: chunked\r\n\r\n"
                                  "5\r\nabc")});
    HttpClient client;
    try {
        client.GetText(server.Url("/"));
        FAIL() << "succeeded";
    } catch (const HttpStatusError& error) {
        EXPECT_STREQ(error.what(), "HTTP/1.1 500 Oops");
        EXPECT_EQ(error.BodyText(), "abc");
    }
}

TEST(GetStream, WritesFromThePositionAndCutsOffTheRest)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", "body"))});
    HttpClient client;
    MemoryStream sink(std::string("head-and-old-content"));
    sink.SetPosition(5);
    client.GetStream(server.Url("/"), sink);
    EXPECT_EQ(sink.Bytes(), "head-body");
    EXPECT_EQ(sink.Position(), 9u);
}

TEST(GetStream, KeepsTheBytesUndecoded)
{
    const std::string bytes("\x00\xFF\xE9\r\n", 5);
    ScriptedServer server(
        {Answer(ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: text/plain\r\n", bytes))});
    HttpClient client;
    MemoryStream sink;
    client.GetStream(server.Url("/"), sink);
    EXPECT_EQ(sink.Bytes(), bytes);
}

TEST(GetStream, FailingStatusLeavesTheSinkAlone)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 403 Forbidden", "", "denied"))});
    HttpClient client;
    MemoryStream sink(std::string("old"));
    EXPECT_THROW(client.GetStream(server.Url("/"), sink), HttpStatusError);
    EXPECT_EQ(sink.Bytes(), "old");
}

TEST(EndOfExchange, KeptAliveConnectionClosesWithTheClient)
{
    ScriptedServer server({std::move(ConnectionScript()
                                         .ReadRequest()
                                         .Send(ReplyWithBody("HTTP/1.1 200 OK", "", "x"))
                                         .KeepOpen())});
    auto client = std::make_unique<HttpClient>();
    client->GetText(server.Url("/"));
    auto& served = server.Finish();
    ASSERT_TRUE(served[0].kept.IsOpen()) << served[0].error;
    EXPECT_FALSE(served[0].kept.WaitReadable(0)) << "closed before the client was released";
    client.reset();
    ASSERT_TRUE(served[0].kept.WaitReadable(5000));
    char byte = 0;
    EXPECT_EQ(served[0].kept.Receive(&byte, 1), 0u);
}

TEST(EndOfExchange, ConnectionCloseHeaderClosesAtOnce)
{
    for (const char* header : {"Connection:  Close \r\n", "Proxy-Connection: close\r\n"}) {
        ScriptedServer server({std::move(ConnectionScript()
                                             .ReadRequest()
                                             .Send(ReplyWithBody("HTTP/1.1 200 OK", header, "x"))
                                             .KeepOpen())});
        HttpClient client;
        client.GetText(server.Url("/"));
        auto& served = server.Finish();
        ASSERT_TRUE(served[0].kept.IsOpen()) << served[0].error;
        ASSERT_TRUE(served[0].kept.WaitReadable(5000)) << header;
        char byte = 0;
        EXPECT_EQ(served[0].kept.Receive(&byte, 1), 0u) << header;
    }
}

TEST(Progress, KnownLengthBodyCountsUpToItsLength)
{
    const std::string body(1048576, 'p');
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", body))});
    HttpClient client;
    std::vector<std::int64_t> counts;
    std::int64_t announcedTotal = -1;
    int ends = 0;
    client.SetOnWorkBegin([&](HttpClient&, WorkMode mode, std::int64_t total) {
        EXPECT_EQ(mode, WorkMode::Read);
        announcedTotal = total;
    });
    client.SetOnWorkEnd([&](HttpClient&, WorkMode) { ++ends; });
    client.SetOnProgress([&](HttpClient& self, WorkMode mode, std::int64_t count) {
        EXPECT_EQ(&self, &client);
        EXPECT_EQ(mode, WorkMode::Read);
        EXPECT_EQ(self.Response().ResponseCode(), 200);
        EXPECT_EQ(self.Response().ContentLength(), 1048576);
        counts.push_back(count);
    });
    MemoryStream sink;
    client.GetStream(server.Url("/"), sink);
    EXPECT_EQ(sink.Bytes().size(), body.size());
    EXPECT_EQ(announcedTotal, 1048576);
    EXPECT_EQ(ends, 1);
    ASSERT_FALSE(counts.empty());
    EXPECT_EQ(counts.back(), 1048576);
    std::int64_t last = 0;
    for (const std::int64_t count : counts) {
        EXPECT_GT(count, last);
        EXPECT_LE(count - last, 32768);
        last = count;
    }
}

TEST(Progress, ChunkedBodyCountsTheFraming)
{
    const std::string chunked = "1a;ext\r\n" + std::string(26, 'c') + "\r\n" + "8\r\n" +
                                std::string(8, 'd') + "\r\n0\r\n\r\n";
    ScriptedServer server(
        {Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunked)});
    HttpClient client;
    std::int64_t last = 0;
    std::int64_t total = -1;
    client.SetOnWorkBegin([&](HttpClient&, WorkMode, std::int64_t expected) { total = expected; });
    client.SetOnProgress([&](HttpClient&, WorkMode, std::int64_t count) { last = count; });
    EXPECT_EQ(client.GetText(server.Url("/")), std::string(26, 'c') + std::string(8, 'd'));
    EXPECT_EQ(total, 0);
    EXPECT_EQ(last, static_cast<std::int64_t>(chunked.size()));
}

TEST(Progress, FailingStatusBodyIsCountedToo)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 500 Error", "", "12345"))});
    HttpClient client;
    std::int64_t last = 0;
    client.SetOnProgress([&](HttpClient&, WorkMode, std::int64_t count) { last = count; });
    EXPECT_THROW(client.GetText(server.Url("/")), HttpStatusError);
    EXPECT_EQ(last, 5);
}

} // namespace
} // namespace net
