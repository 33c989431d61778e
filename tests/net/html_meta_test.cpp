#include "net/html_meta.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace net {
namespace {

constexpr char kDocument[] =
    "<!DOCTYPE html><html><HEAD><title>t</title>"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">"
    "<meta http-equiv='refresh' content='5;url=/x'/>"
    "<meta charset=utf-8><meta charset=\"ignored\">"
    "<meta name=\"description\" content=\"no header\">"
    "<meta http-equiv=Set-Cookie content=\"a=1; path=/\"></head><body></body></html>";

void ExpectWhatTheDocumentSays(const HtmlMeta& meta)
{
    ASSERT_EQ(meta.httpEquiv.size(), 3u);
    EXPECT_EQ(meta.httpEquiv[0].name, "Content-Type");
    EXPECT_EQ(meta.httpEquiv[0].value, "text/html; charset=windows-1250");
    EXPECT_EQ(meta.httpEquiv[1].name, "refresh");
    EXPECT_EQ(meta.httpEquiv[1].value, "5;url=/x");
    EXPECT_EQ(meta.httpEquiv[2].name, "Set-Cookie");
    EXPECT_EQ(meta.httpEquiv[2].value, "a=1; path=/");
    EXPECT_EQ(meta.charset, "utf-8");
}

TEST(HtmlMeta, TakesHttpEquivEntriesAndTheCharset)
{
    ExpectWhatTheDocumentSays(ScanHtmlMeta(kDocument));
}

TEST(HtmlMeta, ReadsTheDocumentAByteAtATimeAsAWhole)
{
    HtmlMetaScanner scanner;
    for (const char c : std::string_view(kDocument))
        scanner.Feed(std::string_view(&c, 1));
    ExpectWhatTheDocumentSays(scanner.Finish());
}

TEST(HtmlMeta, KeepsAValueUpToItsLimit)
{
    const HtmlMeta meta = ScanHtmlMeta("<meta http-equiv=X-Long content=\"" +
                                       std::string(kMaxMetaValueBytes + 1, 'v') + "\">");
    ASSERT_EQ(meta.httpEquiv.size(), 1u);
    EXPECT_EQ(meta.httpEquiv[0].value, std::string(kMaxMetaValueBytes, 'v'));
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

#ifndef _WIN32
// Peak memory of this process so far, in KiB.
long PeakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Ten million attributes cost nothing beyond the document: only the few
// that mean something are kept.
TEST(HtmlMetaScan, ManyAttributesKeepMemoryBounded)
{
    std::string document = "<head><meta ";
    for (int i = 0; i < 10000000; ++i)
        document += "a ";
    document += "http-equiv=refresh content=5>";
    const long before = PeakKiB();
    const HtmlMeta meta = ScanHtmlMeta(document);
    ASSERT_EQ(meta.httpEquiv.size(), 1u);
    EXPECT_EQ(meta.httpEquiv[0].value, "5");
    EXPECT_LT(PeakKiB() - before, 64 * 1024);
}

// A body scanned as it arrives is never held: 64 MiB fed in pieces cost no
// more than a piece.
TEST(HtmlMetaScan, PiecesFedAreNotKept)
{
    const std::string piece(1 << 16, ' ');
    const long before = PeakKiB();
    HtmlMetaScanner scanner;
    scanner.Feed("<head>");
    for (int i = 0; i < 1024; ++i)
        scanner.Feed(piece);
    scanner.Feed("<meta charset=utf-8>");
    EXPECT_EQ(scanner.Finish().charset, "utf-8");
    EXPECT_LT(PeakKiB() - before, 16 * 1024);
}
#endif

} // namespace
} // namespace net
