#include "net/error_texts.h"
#include "net/http_error.h"
#include "net/url.h"

#include <gtest/gtest.h>

namespace net {
namespace {

struct UrlCase {
    const char* name;
    const char* text;
    const char* host;
    std::uint16_t port;
    const char* path;
    const char* document;
    const char* query;
    const char* originTarget;
    const char* hostHeader;
};

class UrlParsing : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlParsing, SplitsIntoPiecesAndTargets)
{
    const UrlCase& c = GetParam();
    const Url url = ParseUrl(c.text);
    EXPECT_EQ(url.host, c.host);
    EXPECT_EQ(url.port, c.port);
    EXPECT_EQ(url.path, c.path);
    EXPECT_EQ(url.document, c.document);
    EXPECT_EQ(url.query, c.query);
    EXPECT_EQ(OriginFormTarget(url), c.originTarget);
    EXPECT_EQ(HostHeaderValue(url), c.hostHeader);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, UrlParsing,
    ::testing::Values(
        UrlCase{"ServiceFile", "http://example.cz/hopvane/proxylist/proxy.txt", "example.cz", 80,
                "/hopvane/proxylist/", "proxy.txt", "", "/hopvane/proxylist/proxy.txt",
                "example.cz"},
        UrlCase{"NoPath", "http://example.cz", "example.cz", 80, "/", "", "", "/", "example.cz"},
        UrlCase{"OwnPort", "http://example.cz:8080/a", "example.cz", 8080, "/", "a", "", "/a",
                "example.cz:8080"},
        UrlCase{"DefaultPortWrittenOut", "http://example.cz:80/a", "example.cz", 80, "/", "a", "",
                "/a", "example.cz"},
        UrlCase{"HttpsDefault", "HTTPS://example.cz/x/", "example.cz", 443, "/x/", "", "", "/x/",
                "example.cz"},
        UrlCase{"Http443IsNotDefault", "http://example.cz:443/", "example.cz", 443, "/", "", "",
                "/", "example.cz:443"},
        UrlCase{"QueryKeptFragmentDropped", "http://h/p/d.php?a=1&b=2#part", "h", 80, "/p/",
                "d.php", "a=1&b=2", "/p/d.php?a=1&b=2", "h"},
        UrlCase{"FragmentWithoutQuery", "http://h/p/d#part", "h", 80, "/p/", "d", "", "/p/d", "h"},
        UrlCase{"EmptyQueryAddsNoQuestionMark", "http://h/d?", "h", 80, "/", "d", "", "/d", "h"},
        UrlCase{"BackslashesBeforeQueryBecomeSlashes", "http://h\\a\\b.txt?x=\\y", "h", 80, "/a/",
                "b.txt", "x=\\y", "/a/b.txt?x=\\y", "h"},
        UrlCase{"UserPartNeverInTarget", "http://user:secret@h:81/p", "h", 81, "/", "p", "", "/p",
                "h:81"},
        UrlCase{"UserPartEndsAtLastAt", "http://a@b:c@h/", "h", 80, "/", "", "", "/", "h"},
        UrlCase{"Ipv6InBrackets", "http://[::1]:8080/x", "::1", 8080, "/", "x", "", "/x",
                "[::1]:8080"},
        UrlCase{"Ipv6DefaultPort", "https://[fe80::2]/", "fe80::2", 443, "/", "", "", "/",
                "[fe80::2]"},
        UrlCase{"DotSegmentsSentAsWritten", "http://h/a/../b/./c", "h", 80, "/a/../b/./", "c", "",
                "/a/../b/./c", "h"},
        UrlCase{"EmptyPortMeansDefault", "http://h:/x", "h", 80, "/", "x", "", "/x", "h"},
        UrlCase{"PortNotANumberIsZero", "http://h:8o/x", "h", 0, "/", "x", "", "/x", "h:0"},
        UrlCase{"PortTooLargeIsZero", "http://h:65536/x", "h", 0, "/", "x", "", "/x", "h:0"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(UrlParsing, TakesUserAndPassword)
{
    const Url url = ParseUrl("http://jan:tajne:heslo@h/");
    EXPECT_EQ(url.user, "jan");
    EXPECT_EQ(url.password, "tajne:heslo");
    EXPECT_EQ(ParseUrl("http://jan@h/").password, "");
}

TEST(UrlParsing, UnknownSchemesAndMissingSeparatorFail)
{
    for (const char* text : {"ftp://h/x", "example.cz/x", "http:/h", "", "file:///etc/passwd"}) {
        try {
            ParseUrl(text);
            ADD_FAILURE() << text << " was accepted";
        } catch (const HttpError& error) {
            EXPECT_STREQ(error.what(), kUnknownProtocol) << text;
        }
    }
}

TEST(AbsoluteForm, LeavesOutTheDefaultPortOnly)
{
    EXPECT_EQ(AbsoluteFormTarget(ParseUrl("http://h:80/hopvane/proxylist/proxy.txt")),
              "http://h/hopvane/proxylist/proxy.txt");
    EXPECT_EQ(AbsoluteFormTarget(ParseUrl("http://h:8080/a?q=1#f")), "http://h:8080/a?q=1");
    EXPECT_EQ(AbsoluteFormTarget(ParseUrl("HTTP://[::1]/")), "HTTP://[::1]/");
    EXPECT_EQ(AbsoluteFormTarget(ParseUrl("https://h:443/s")), "https://h/s");
}

} // namespace
} // namespace net
