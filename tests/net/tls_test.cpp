#include "net/error_texts.h"
#include "net/http_client.h"
#include "net/http_error.h"
#include "net/tls_library.h"
#include "tests/net/client_test_support.h"
#include "tests/net/scripted_server.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::ExpectedGet;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;
using net_test::TlsServerOptions;

const std::vector<TlsLibraryFiles> kMissingLibrary = {
    {"libhopvane-missing-ssl.so", "libhopvane-missing-crypto.so"}};

// Each test starts and ends with the library found by its usual names.
class Tls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(net_test::PrepareTlsServers()) << "the tests need libssl.so.3";
        SetTlsLibraryFilesForTesting(DefaultTlsLibraryFiles());
    }
    void TearDown() override { SetTlsLibraryFilesForTesting(DefaultTlsLibraryFiles()); }

    static ConnectionScript TlsAnswer(std::string reply, TlsServerOptions options = {})
    {
        return std::move(
            ConnectionScript().StartTls(std::move(options)).ReadRequest().Send(std::move(reply)));
    }
};

TEST_F(Tls, GetOverTls10WithoutServerName)
{
    ScriptedServer server({TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "1.2.3.4"))});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/ip.php", "https")), "1.2.3.4");
    auto& served = server.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0],
              ExpectedGet("GET /ip.php HTTP/1.1", "127.0.0.1:" + std::to_string(server.Port())));
    EXPECT_EQ(served[0].tlsVersion, 0x0301);
    EXPECT_FALSE(served[0].clientSentServerName);
}

TEST_F(Tls, AttachedLayerBehavesLikeTheOwnOne)
{
    ScriptedServer server({TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "attached"))});
    HttpClient client;
    client.AttachTlsLayer(std::make_unique<TlsLayer>());
    EXPECT_EQ(client.GetText(server.Url("/", "https")), "attached");
    EXPECT_EQ(server.Finish()[0].tlsVersion, 0x0301);
}

TEST_F(Tls, OffersTheWholeCipherListButNoAnonymousSuites)
{
    // Camellia is in the client's list but not in the library's default.
    TlsServerOptions camelliaOnly;
    camelliaOnly.cipherList = "CAMELLIA256-SHA:@SECLEVEL=0";
    TlsServerOptions anonymousOnly;
    anonymousOnly.cipherList = "ADH-AES128-SHA:@SECLEVEL=0";
    ScriptedServer server(
        {TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "camellia"), camelliaOnly),
         TlsAnswer("", anonymousOnly)});
    HttpClient first;
    EXPECT_EQ(first.GetText(server.Url("/", "https")), "camellia");
    HttpClient second;
    const std::string error = ErrorOf([&] { second.GetText(server.Url("/", "https")); });
    EXPECT_EQ(error.rfind("Error connecting with SSL.\r\n", 0), 0u) << error;
}

TEST_F(Tls, BodyUntilAnUnannouncedCloseIsComplete)
{
    ScriptedServer server({TlsAnswer("HTTP/1.0 200 OK\r\n\r\nto the end")});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/", "https")), "to the end");
}

TEST_F(Tls, ServerOfTls12OnlyFailsTheHandshake)
{
    TlsServerOptions modern;
    modern.versions = TlsServerOptions::Versions::Tls12Only;
    ScriptedServer server({TlsAnswer("", modern)});
    HttpClient client;
    const std::string error = ErrorOf([&] { client.GetText(server.Url("/", "https")); });
    EXPECT_EQ(error.rfind("Error connecting with SSL.\r\n", 0), 0u) << error;
    EXPECT_NE(error.find("alert protocol version"), std::string::npos) << error;
}

TEST_F(Tls, ServerClosingDuringTheHandshake)
{
    ScriptedServer server({std::move(ConnectionScript().ReadSome())});
    HttpClient client;
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }),
              "Error connecting with SSL.\r\nEOF was observed that violates the protocol");
}

TEST_F(Tls, PlainHttpAnswerFailsTheHandshake)
{
    ScriptedServer server({std::move(ConnectionScript().ReadSome().Send(
        "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n"))});
    HttpClient client;
    const std::string error = ErrorOf([&] { client.GetText(server.Url("/", "https")); });
    EXPECT_EQ(error.rfind("Error connecting with SSL.\r\n", 0), 0u) << error;
    EXPECT_NE(error.find("wrong version number"), std::string::npos) << error;
}

TEST_F(Tls, HandshakeThatStallsTimesOutAsASocketError)
{
    ScriptedServer server({std::move(ConnectionScript().AwaitClientClose())});
    HttpClient client;
    client.SetTimeLimits({30000, 200, 5000});
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }),
              "Socket Error # 10060\r\nConnection timed out.");
}

TEST_F(Tls, RecordThatStopsArrivingTimesOut)
{
    ScriptedServer server({std::move(
        ConnectionScript()
            .StartTls()
            .ReadRequest()
            .SendPartialRecord(ReplyWithBody("HTTP/1.1 200 OK", "", std::string(1000, 'r')))
            .AwaitClientClose())});
    HttpClient client;
    client.SetTimeLimits({30000, 200, 5000});
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }), kReadTimedOut);
}

// A server that sends its handshake a byte at a time cannot stretch it.
TEST_F(Tls, HandshakeTrickledByTheServerEndsInTime)
{
    ConnectionScript script;
    script.ReadSome().Send(std::string("\x16\x03\x01\x40\x00", 5));
    for (int i = 0; i < 10; ++i)
        script.Send("x").Pause(100);
    ScriptedServer server({std::move(script)});
    HttpClient client;
    client.SetTimeLimits({30000, 300, 5000});
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }),
              "Socket Error # 10060\r\nConnection timed out.");
}

TEST_F(Tls, ResponseThatNeverStartsTimesOut)
{
    ScriptedServer server(
        {std::move(ConnectionScript().StartTls().ReadRequest().AwaitClientClose())});
    HttpClient client;
    client.SetTimeLimits({200, 30000, 5000});
    EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }), kReadTimedOut);
}

TEST_F(Tls, MissingLibraryFailsHttpsButNotHttp)
{
    SetTlsLibraryFilesForTesting(kMissingLibrary);
    ScriptedServer server({std::move(ConnectionScript().AwaitClientClose()),
                           std::move(ConnectionScript().ReadRequest().Send(
                               ReplyWithBody("HTTP/1.1 200 OK", "", "plain"))),
                           std::move(ConnectionScript().ReadRequest().Send(
                               ReplyWithBody("HTTP/1.1 200 OK", "", "plain again")))});
    {
        HttpClient client;
        EXPECT_EQ(ErrorOf([&] { client.GetText(server.Url("/", "https")); }),
                  kCouldNotLoadSslLibrary);
    }
    HttpClient withLayer;
    withLayer.AttachTlsLayer(std::make_unique<TlsLayer>());
    EXPECT_EQ(withLayer.GetText(server.Url("/")), "plain");
    HttpClient withoutLayer;
    EXPECT_EQ(withoutLayer.GetText(server.Url("/")), "plain again");
    auto& served = server.Finish();
    EXPECT_EQ(served[0].received, "") << "nothing may be sent without TLS";
    EXPECT_EQ(served[0].error, "");
}

TEST_F(Tls, LoadIsTriedAgainByTheNextConnection)
{
    SetTlsLibraryFilesForTesting(kMissingLibrary);
    ScriptedServer server({std::move(ConnectionScript().AwaitClientClose()),
                           TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "loaded"))});
    {
        HttpClient failing;
        EXPECT_EQ(ErrorOf([&] { failing.GetText(server.Url("/", "https")); }),
                  kCouldNotLoadSslLibrary);
    }
    SetTlsLibraryFilesForTesting(DefaultTlsLibraryFiles());
    HttpClient working;
    EXPECT_EQ(working.GetText(server.Url("/", "https")), "loaded");
}

TEST_F(Tls, OlderNamesAreTriedWhenTheFirstAreMissing)
{
    SetTlsLibraryFilesForTesting({kMissingLibrary[0], {"libssl.so.3", "libcrypto.so.3"}});
    ScriptedServer server({TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "second pair"))});
    HttpClient client;
    EXPECT_EQ(client.GetText(server.Url("/", "https")), "second pair");
}

TEST_F(Tls, ThroughAProxyTheMissingLibraryShowsAfterConnect)
{
    SetTlsLibraryFilesForTesting(kMissingLibrary);
    ScriptedServer proxy({std::move(ConnectionScript()
                                        .ReadRequest()
                                        .Send("HTTP/1.0 200 Connection established\r\n\r\n")
                                        .AwaitClientClose())});
    {
        HttpClient client;
        client.SetProxyHostName("127.0.0.1");
        client.SetProxyPortNumber(proxy.Port());
        EXPECT_EQ(ErrorOf([&] { client.GetText("https://service.example/geo"); }),
                  kCouldNotLoadSslLibrary);
    }
    auto& served = proxy.Finish();
    ASSERT_EQ(served[0].requests.size(), 1u) << served[0].error;
    EXPECT_EQ(served[0].requests[0].rfind("CONNECT service.example:443 HTTP/1.1\r\n", 0), 0u);
}

void IgnoreSignal(int) {}

TEST_F(Tls, SignalsDuringTheExchangeDoNotBreakIt)
{
    // A signal with a handler, even one that asks for restarts, cuts short a
    // receive that has a time limit.
    struct sigaction handler {};
    handler.sa_handler = IgnoreSignal;
    handler.sa_flags = SA_RESTART;
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &handler, &previous), 0);
    ScriptedServer server(
        {std::move(ConnectionScript().Pause(300).StartTls().ReadRequest().Pause(300).Send(
            ReplyWithBody("HTTP/1.1 200 OK", "", "calm")))});
    const pthread_t clientThread = pthread_self();
    std::atomic<bool> done{false};
    std::thread signaller([&] {
        for (int i = 0; i < 100 && !done; ++i) {
            pthread_kill(clientThread, SIGUSR1);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    std::string outcome;
    try {
        HttpClient client;
        outcome = client.GetText(server.Url("/", "https"));
    } catch (const std::exception& error) {
        outcome = error.what();
    }
    done = true;
    signaller.join();
    sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_EQ(outcome, "calm");
}

TEST_F(Tls, TwoThreadsAtOnce)
{
    ScriptedServer first({TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "one"))});
    ScriptedServer second({TlsAnswer(ReplyWithBody("HTTP/1.1 200 OK", "", "two"))});
    std::string firstText;
    std::string secondText;
    const auto fetch = [](const ScriptedServer& server, std::string& text) {
        try {
            HttpClient client;
            text = client.GetText(server.Url("/", "https"));
        } catch (const std::exception& error) {
            text = error.what();
        }
    };
    std::thread worker(fetch, std::cref(first), std::ref(firstText));
    fetch(second, secondText);
    worker.join();
    EXPECT_EQ(firstText, "one");
    EXPECT_EQ(secondText, "two");
}

} // namespace
} // namespace net
