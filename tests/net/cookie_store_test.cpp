#include "net/cookie_date.h"
#include "net/cookie_store.h"
#include "net/url.h"

#include <gtest/gtest.h>

namespace net {
namespace {

constexpr std::int64_t kNow = 1700000000; // 2023-11-14 22:13:20 UTC

std::string Sent(const CookieStore& store, const char* url)
{
    return store.CookieHeaderFor(ParseUrl(url), kNow);
}

TEST(CookieStore, HostOnlyCookieGoesBackToTheSameHost)
{
    CookieStore store;
    store.Take("sid=abc", ParseUrl("https://service.cz/geo"), kNow);
    EXPECT_EQ(Sent(store, "https://service.cz/geo"), "sid=abc");
    EXPECT_EQ(Sent(store, "https://SERVICE.cz/other"), "sid=abc");
    EXPECT_EQ(Sent(store, "https://www.service.cz/geo"), "");
}

TEST(CookieStore, DomainCookieCoversSubdomainsOfTheHost)
{
    CookieStore store;
    store.Take("a=1; Domain=.service.cz", ParseUrl("http://www.service.cz/"), kNow);
    EXPECT_EQ(Sent(store, "http://service.cz/"), "a=1");
    EXPECT_EQ(Sent(store, "http://api.service.cz/"), "a=1");
    EXPECT_EQ(Sent(store, "http://notservice.cz/"), "");
}

TEST(CookieStore, ForeignDomainIsIgnored)
{
    CookieStore store;
    store.Take("a=1; domain=other.cz", ParseUrl("http://service.cz/"), kNow);
    store.Take("b=1; domain=1.2.3", ParseUrl("http://4.1.2.3/"), kNow);
    store.Take("novalue", ParseUrl("http://service.cz/"), kNow);
    store.Take("=v", ParseUrl("http://service.cz/"), kNow);
    EXPECT_EQ(store.Count(), 0u);
}

TEST(CookieStore, PathDefaultsToTheDirectoryAndMatchesBySegments)
{
    CookieStore store;
    store.Take("dir=1", ParseUrl("http://h/app/page.php"), kNow);
    store.Take("root=1; path=/", ParseUrl("http://h/app/page.php"), kNow);
    store.Take("own=1; Path=/app/sub", ParseUrl("http://h/app/page.php"), kNow);
    EXPECT_EQ(Sent(store, "http://h/app/sub/x"), "own=1; dir=1; root=1");
    EXPECT_EQ(Sent(store, "http://h/app"), "dir=1; root=1");
    EXPECT_EQ(Sent(store, "http://h/application"), "root=1");
    EXPECT_EQ(Sent(store, "http://h/app/subway"), "dir=1; root=1");
}

TEST(CookieStore, SecureCookieOnlyOverHttps)
{
    CookieStore store;
    store.Take("s=1; Secure; HttpOnly", ParseUrl("https://h/"), kNow);
    EXPECT_EQ(Sent(store, "https://h/"), "s=1");
    EXPECT_EQ(Sent(store, "http://h/"), "");
}

TEST(CookieStore, SameNameDomainAndPathReplacesAndExpiredRemoves)
{
    CookieStore store;
    const Url url = ParseUrl("http://h/");
    store.Take("a=1", url, kNow);
    store.Take("a=2", url, kNow);
    EXPECT_EQ(Sent(store, "http://h/"), "a=2");
    store.Take("a=gone; Max-Age=0", url, kNow);
    EXPECT_EQ(store.Count(), 0u);
    store.Take("b=1; Expires=Wed, 09 Jun 2021 10:18:14 GMT", url, kNow);
    EXPECT_EQ(store.Count(), 0u);
}

TEST(CookieStore, ExpiryIsCheckedWhenSending)
{
    CookieStore store;
    const Url url = ParseUrl("http://h/");
    store.Take("short=1; Max-Age=10", url, kNow);
    store.Take("long=1; Expires=Fri, 01 Jan 2100 00:00:00 GMT; Max-Age=5", url, kNow);
    EXPECT_EQ(store.CookieHeaderFor(url, kNow + 4), "short=1; long=1");
    EXPECT_EQ(store.CookieHeaderFor(url, kNow + 7), "short=1");
    EXPECT_EQ(store.CookieHeaderFor(url, kNow + 10), "");
}

TEST(CookieStore, HugeMaxAgeDoesNotOverflow)
{
    CookieStore store;
    const Url url = ParseUrl("http://h/");
    store.Take("a=1; Max-Age=99999999999999999999999", url, kNow);
    EXPECT_EQ(store.CookieHeaderFor(url, kNow + 1000000000), "a=1");
}

struct DateCase {
    const char* text;
    std::int64_t seconds;
};

class CookieDates : public ::testing::TestWithParam<DateCase> {};

TEST_P(CookieDates, ReadsTheFormatsServersSend)
{
    const auto parsed = ParseCookieDate(GetParam().text);
    if (GetParam().seconds < 0) {
        EXPECT_EQ(parsed, std::nullopt) << GetParam().text;
    } else {
        EXPECT_EQ(parsed, GetParam().seconds) << GetParam().text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, CookieDates,
    ::testing::Values(DateCase{"Wed, 09 Jun 2021 10:18:14 GMT", 1623233894},
                      DateCase{"Wednesday, 09-Jun-21 10:18:14 GMT", 1623233894},
                      DateCase{"Wed Jun  9 10:18:14 2021", 1623233894},
                      DateCase{"Thu, 01 Jan 1970 00:00:00 GMT", 0},
                      DateCase{"29 Feb 2024 23:59:59", 1709251199},
                      DateCase{"29 Feb 2023 00:00:00", -1}, DateCase{"31 Apr 2021 00:00:00", -1},
                      DateCase{"09 Jun 2021 24:00:00", -1}, DateCase{"09 Jun 1600 10:00:00", -1},
                      DateCase{"Jun 2021 10:18:14", -1}, DateCase{"tomorrow", -1},
                      DateCase{"", -1}));

} // namespace
} // namespace net
