#include "net/html_meta.h"

#include <gtest/gtest.h>

namespace net {
namespace {

TEST(HtmlMeta, TakesHttpEquivEntriesAndTheCharset)
{
    const HtmlMeta meta = ScanHtmlMeta(
        "<!DOCTYPE html><html><HEAD><title>t</title>"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">"
        "<meta http-equiv='refresh' content='5;url=/x'/>"
        "<meta charset=utf-8><meta charset=\"ignored\">"
        "<meta name=\"description\" content=\"no header\">"
        "<meta http-equiv=Set-Cookie content=\"a=1; path=/\"></head><body></body></html>");
    ASSERT_EQ(meta.httpEquiv.size(), 3u);
    EXPECT_EQ(meta.httpEquiv[0].name, "Content-Type");
    EXPECT_EQ(meta.httpEquiv[0].value, "text/html; charset=windows-1250");
    EXPECT_EQ(meta.httpEquiv[1].name, "refresh");
    EXPECT_EQ(meta.httpEquiv[1].value, "5;url=/x");
    EXPECT_EQ(meta.httpEquiv[2].name, "Set-Cookie");
    EXPECT_EQ(meta.httpEquiv[2].value, "a=1; path=/");
    EXPECT_EQ(meta.charset, "utf-8");
}

TEST(HtmlMeta, StopsAtTheBodyAndSkipsComments)
{
    const HtmlMeta meta =
        ScanHtmlMeta("<head><!-- <meta http-equiv=\"X-Commented\" content=\"1\"> --></head>"
                     "<meta http-equiv=\"X-After\" content=\"2\">");
    EXPECT_TRUE(meta.httpEquiv.empty());
    EXPECT_TRUE(ScanHtmlMeta("<body><meta charset=utf-8>").charset.empty());
}

TEST(HtmlMeta, SurvivesBrokenMarkup)
{
    for (const char* document : {"<", "<meta", "<meta http-equiv=", "<meta http-equiv=\"x", "<!--",
                                 "</", "<meta charset=\"", "<meta =x>"})
        EXPECT_NO_THROW(ScanHtmlMeta(document)) << document;
    EXPECT_EQ(ScanHtmlMeta("<meta http-equiv=\"X-A\" content=\"v\"").httpEquiv.size(), 1u);
}

} // namespace
} // namespace net
