#include "net/http_client.h"
#include "tests/net/client_test_support.h"
#include "tests/net/proxy_test_support.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>

// Inside the tunnel the scripted proxy answers as the origin server would, in
// TLS through the test servers' OpenSSL.

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ExpectedConnect;
using net_test::ExpectedGet;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;
using net_test::UseProxy;

constexpr char kConnectReply[] = "HTTP/1.0 200 Connection established\r\n"
                                 "Proxy-agent: tinyproxy/1.11.1\r\n\r\n";

TEST(HttpsThroughProxy, TunnelCarriesTheOriginFormRequestInsideTls)
{
    ScriptedServer proxy({std::move(ConnectionScript()
                                        .ReadRequest()
                                        .Send(kConnectReply)
                                        .StartTls()
                                        .ReadRequest()
                                        .Send(ReplyWithBody("HTTP/1.1 200 OK", "", "Praha, CZ")))});
    HttpClient client;
    UseProxy(client, proxy);
    EXPECT_EQ(client.GetText("https://service.example/geo/info.php?x=1"), "Praha, CZ");
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 2u) << served[0].error;
    EXPECT_EQ(served[0].requests[0], ExpectedConnect("service.example:443", "service.example"));
    EXPECT_EQ(served[0].requests[1],
              ExpectedGet("GET /geo/info.php?x=1 HTTP/1.1", "service.example"));
    EXPECT_EQ(served[0].tlsVersion, 0x0301);
}

TEST(HttpsThroughProxy, EmptyReplyLineOpensTheTunnel)
{
    ScriptedServer proxy(
        {std::move(ConnectionScript().ReadRequest().Send("\r\n").StartTls().ReadRequest().Send(
            ReplyWithBody("HTTP/1.1 200 OK", "", "inside")))});
    HttpClient client;
    UseProxy(client, proxy);
    EXPECT_EQ(client.GetText("https://service.example/"), "inside");
}

TEST(HttpsThroughProxy, CookieOfTheConnectReplyIsSentInTheTunnel)
{
    ScriptedServer proxy({std::move(ConnectionScript()
                                        .ReadRequest()
                                        .Send("HTTP/1.0 200 Connection established\r\n"
                                              "Set-Cookie: route=p7; Path=/\r\n"
                                              "Set-Cookie: seen=1\r\n\r\n")
                                        .StartTls()
                                        .ReadRequest()
                                        .Send(ReplyWithBody("HTTP/1.1 200 OK", "", "ok")))});
    HttpClient client;
    UseProxy(client, proxy);
    EXPECT_EQ(client.GetText("https://service.example/index.php"), "ok");
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 2u) << served[0].error;
    EXPECT_EQ(served[0].requests[0].find("Cookie"), std::string::npos);
    EXPECT_EQ(served[0].requests[1],
              ExpectedGet("GET /index.php HTTP/1.1", "service.example", "route=p7; seen=1"));
}

} // namespace
} // namespace net
