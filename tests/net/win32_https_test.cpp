#include "net/http_client.h"
#include "net/tls_library.h"
#include "tests/net/client_test_support.h"
#include "tests/net/proxy_test_support.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>

#include <memory>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::ExpectedConnect;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;
using net_test::UseProxy;

// OpenSSL's DLLs by their usual names, as the program looks for them; none is
// built for mingw-w64, so there is none under Wine.
class Win32WithoutOpenSsl : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (LoadTlsLibrary() != nullptr)
            GTEST_SKIP() << "OpenSSL's DLLs are installed here";
    }
};

TEST_F(Win32WithoutOpenSsl, HttpsFailsAfterConnectingWithoutSendingAByte)
{
    ScriptedServer server({std::move(ConnectionScript().AwaitClientClose())});
    {
        HttpClient client;
        EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }),
                  "Could not load SSL library.");
    }
    auto& served = server.Finish();
    EXPECT_EQ(served[0].error, "");
    EXPECT_EQ(served[0].received, "");
}

TEST_F(Win32WithoutOpenSsl, ThroughAProxyTheFailureFollowsTheConnectExchange)
{
    ScriptedServer proxy({std::move(ConnectionScript()
                                        .ReadRequest()
                                        .Send("HTTP/1.0 200 Connection established\r\n\r\n")
                                        .AwaitClientClose())});
    {
        HttpClient client;
        UseProxy(client, proxy);
        EXPECT_EQ(ErrorOf([&] { client.GetText("https://service.example/geo"); }),
                  "Could not load SSL library.");
    }
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0], ExpectedConnect("service.example:443", "service.example"));
}

TEST_F(Win32WithoutOpenSsl, HttpStillWorksAlsoThroughAnAttachedLayer)
{
    ScriptedServer server({std::move(ConnectionScript().ReadRequest().Send(
                               ReplyWithBody("HTTP/1.1 200 OK", "", "plain"))),
                           std::move(ConnectionScript().ReadRequest().Send(
                               ReplyWithBody("HTTP/1.1 200 OK", "", "layered")))});
    HttpClient plain;
    EXPECT_EQ(plain.GetText(server.Url("/")), "plain");
    HttpClient layered;
    layered.AttachTlsLayer(std::make_unique<TlsLayer>());
    EXPECT_EQ(layered.GetText(server.Url("/")), "layered");
}

} // namespace
} // namespace net
