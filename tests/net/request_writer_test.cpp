#include "net/request_writer.h"
#include "net/url.h"

#include <gtest/gtest.h>

namespace net {
namespace {

TEST(GetRequest, IsTheSixLinesInOrder)
{
    const Url url = ParseUrl("http://example.cz/hopvane/proxylist/proxy.txt");
    EXPECT_EQ(BuildGetRequest(url, OriginFormTarget(url), ""),
              "GET /hopvane/proxylist/proxy.txt HTTP/1.1\r\n"
              "Host: example.cz\r\n"
              "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
              "Accept-Encoding: identity\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
              "\r\n");
}

TEST(GetRequest, HostCarriesAPortThatIsNotTheDefault)
{
    const Url url = ParseUrl("http://example.cz:8080/x");
    EXPECT_NE(BuildGetRequest(url, "/x", "").find("\r\nHost: example.cz:8080\r\n"),
              std::string::npos);
}

TEST(GetRequest, CookieComesLast)
{
    const Url url = ParseUrl("http://h/");
    const std::string request = BuildGetRequest(url, "/", "a=1; b=2");
    EXPECT_NE(request.find("Indy Library)\r\nCookie: a=1; b=2\r\n\r\n"), std::string::npos);
}

TEST(GetRequest, CharactersOutsideAsciiGoOutAsOneQuestionMarkPerUtf16Unit)
{
    // "č" is one UTF-16 unit, the emoji two.
    const Url url = ParseUrl("http://h/x");
    const std::string request = BuildGetRequest(url, "/m\xC4\x8D/\xF0\x9F\x98\x80", "");
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "GET /m?/?? HTTP/1.1");
    for (const char c : request)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(ConnectRequest, HasItsOwnHeaderSet)
{
    EXPECT_EQ(BuildConnectRequest(ParseUrl("https://example.cz/geo")),
              "CONNECT example.cz:443 HTTP/1.1\r\n"
              "Pragma: no-cache\r\n"
              "Proxy-Connection: keep-alive\r\n"
              "Host: example.cz\r\n"
              "Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"
              "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
              "\r\n");
}

TEST(ConnectRequest, NamesAnOwnPortInLineAndHost)
{
    const std::string request = BuildConnectRequest(ParseUrl("https://[::1]:8443/"));
    EXPECT_EQ(request.substr(0, request.find("\r\n")), "CONNECT [::1]:8443 HTTP/1.1");
    EXPECT_NE(request.find("\r\nHost: [::1]:8443\r\n"), std::string::npos);
}

} // namespace
} // namespace net
