#include "net/error_texts.h"
#include "net/http_client.h"
#include "net/http_error.h"
#include "tests/net/client_test_support.h"
#include "tests/net/proxy_test_support.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::ExpectedConnect;
using net_test::ExpectedGet;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;
using net_test::UseProxy;

TEST(HttpThroughProxy, SendsTheAbsoluteFormWithoutTheDefaultPort)
{
    ScriptedServer proxy({std::move(ConnectionScript().ReadRequest().Send(
                              ReplyWithBody("HTTP/1.1 200 OK", "", "list"))),
                          std::move(ConnectionScript().ReadRequest().Send(
                              ReplyWithBody("HTTP/1.1 200 OK", "", "other")))});
    HttpClient first;
    UseProxy(first, proxy);
    EXPECT_EQ(first.GetText("http://service.example:80/hopvane/proxylist/proxy.txt"), "list");
    HttpClient second;
    UseProxy(second, proxy);
    EXPECT_EQ(second.GetText("HTTP://service.example:8080/a?b=1#c"), "other");
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0],
              ExpectedGet("GET http://service.example/hopvane/proxylist/proxy.txt HTTP/1.1",
                          "service.example"));
    ASSERT_EQ(served[1].requests.size(), 1u) << served[1].error;
    EXPECT_EQ(served[1].requests[0], ExpectedGet("GET HTTP://service.example:8080/a?b=1 HTTP/1.1",
                                                 "service.example:8080"));
}

TEST(HttpThroughProxy, ProxyPortZeroIsRefused)
{
    HttpClient client;
    client.SetProxyHostName("127.0.0.1");
    EXPECT_EQ(ErrorOf([&] { client.GetText("http://service.example/"); }), kPortRequired);
    client.SetProxyPortNumber(65536);
    EXPECT_EQ(ErrorOf([&] { client.GetText("http://service.example/"); }), kPortRequired);
}

TEST(HttpThroughProxy, OnlyTheLow16BitsOfThePortCount)
{
    ScriptedServer proxy({std::move(
        ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 200 OK", "", "ok")))});
    HttpClient client;
    client.SetProxyHostName("127.0.0.1");
    client.SetProxyPortNumber(proxy.Port() + 65536 * 3);
    EXPECT_EQ(client.GetText("http://service.example/"), "ok");
}

TEST(HttpThroughProxy, ProxyStatusIsTheRequestsStatus)
{
    ScriptedServer proxy({std::move(ConnectionScript().ReadRequest().Send(
        ReplyWithBody("HTTP/1.1 500 Unable to connect", "", "upstream refused")))});
    HttpClient client;
    UseProxy(client, proxy);
    EXPECT_EQ(ErrorOf([&] { client.GetText("http://service.example/"); }),
              "HTTP/1.1 500 Unable to connect");
}

TEST(HttpsThroughProxy, ForbiddenConnectFailsWithTheProxysStatusLine)
{
    ScriptedServer proxy({std::move(ConnectionScript().ReadRequest().Send(ReplyWithBody(
        "HTTP/1.1 403 Access violation", "Content-Type: text/html\r\n", "<p>denied</p>")))});
    HttpClient client;
    UseProxy(client, proxy);
    try {
        client.GetText("https://service.example/geo");
        FAIL() << "succeeded";
    } catch (const HttpStatusError& error) {
        EXPECT_STREQ(error.what(), "HTTP/1.1 403 Access violation");
        EXPECT_EQ(error.Code(), 403);
        EXPECT_EQ(error.BodyText(), "<p>denied</p>");
    }
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0], ExpectedConnect("service.example:443", "service.example"));
}

TEST(HttpsThroughProxy, ProxyAuthenticationRequiredFails)
{
    ScriptedServer proxy({std::move(ConnectionScript().ReadRequest().Send(
        "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n"
        "Content-Length: 0\r\n\r\n"))});
    HttpClient client;
    UseProxy(client, proxy);
    EXPECT_EQ(ErrorOf([&] { client.GetText("https://user:pw@service.example:8443/geo"); }),
              "HTTP/1.1 407 Proxy Authentication Required");
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0],
              ExpectedConnect("service.example:8443", "service.example:8443"));
}

TEST(HttpsThroughProxy, ProxyClosingInsteadOfReplyingFails)
{
    ScriptedServer proxy({std::move(ConnectionScript().ReadRequest())});
    HttpClient client;
    UseProxy(client, proxy);
    EXPECT_EQ(ErrorOf([&] { client.GetText("https://service.example/"); }),
              kConnectionClosedGracefully);
}

} // namespace
} // namespace net
