#include "net/http_error.h"
#include "net/memory_stream.h"
#include "net/response_reader.h"
#include "net/url.h"
#include "tests/net/memory_byte_source.h"

#include <gtest/gtest.h>

#include <ctime>

namespace net {
namespace {

using net_test::MemoryByteSource;

// One response read from pieces of bytes, as a server would send them.
class ResponseReading : public ::testing::Test {
protected:
    std::string Read(std::vector<std::string> pieces,
                     MemoryByteSource::AtEnd atEnd = MemoryByteSource::AtEnd::Stall)
    {
        source_ = std::make_unique<MemoryByteSource>(std::move(pieces), atEnd);
        ReceiveBuffer buffer(*source_, progress_);
        ResponseContext context{response_, cookies_, url_, progress_, 100};
        MemoryStream sink;
        ReadResponse(buffer, context, sink);
        return sink.Bytes();
    }

    // The status error's decoded body.
    std::string FailedBody(std::vector<std::string> pieces)
    {
        try {
            Read(std::move(pieces));
        } catch (const HttpStatusError& error) {
            return error.BodyText();
        }
        ADD_FAILURE() << "no status error";
        return "";
    }

    std::string SentCookies() const
    {
        return cookies_.CookieHeaderFor(url_, static_cast<std::int64_t>(std::time(nullptr)));
    }

    Url url_ = ParseUrl("http://service.example/page");
    HttpResponse response_;
    CookieStore cookies_;
    WorkProgress progress_;
    std::unique_ptr<MemoryByteSource> source_;
};

TEST_F(ResponseReading, SkipsEveryInterimContinue)
{
    EXPECT_EQ(Read({"HTTP/1.1 100 Continue\r\n\r\n", "HTTP/1.1 100 Continue\r\nX: 1\r\n\r\n",
                    "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"}),
              "ok");
    EXPECT_EQ(response_.ResponseText(), "HTTP/1.1 200 OK");
    EXPECT_EQ(response_.Headers().size(), 1u);
}

TEST_F(ResponseReading, HeaderLineCutOffByCloseIsDroppedNotReadAsBody)
{
    EXPECT_EQ(Read({"HTTP/1.1 200 OK\r\nX-A: 1\r\nContent-Le"}, MemoryByteSource::AtEnd::Close),
              "");
    EXPECT_EQ(response_.Headers().size(), 1u);
}

TEST_F(ResponseReading, RedirectBodyThatIsThereIsRead)
{
    EXPECT_EQ(
        FailedBody({"HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 4\r\n\r\n", "gone"}),
        "gone");
}

TEST_F(ResponseReading, RedirectBodyThatDoesNotComeIsNotWaitedFor)
{
    EXPECT_EQ(FailedBody({"HTTP/1.1 307 Temporary\r\nContent-Length: 4\r\n\r\n"}), "");
}

TEST_F(ResponseReading, NotModifiedReadsNoBodyAndDoesNotWait)
{
    EXPECT_EQ(FailedBody({"HTTP/1.1 304 Not Modified\r\n\r\n"}), "");
    EXPECT_EQ(source_->WaitCalls(), 0);
}

TEST_F(ResponseReading, CookiesOfHeadersAndOfMetaElementsAreStored)
{
    Read({"HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\nContent-Type: text/html\r\n\r\n"
          "<head><meta http-equiv=\"Set-Cookie\" content=\"c=3\"></head>"},
         MemoryByteSource::AtEnd::Close);
    EXPECT_EQ(SentCookies(), "a=1; b=2; c=3");
}

TEST_F(ResponseReading, MetaOfABodyThatIsNotHtmlIsIgnored)
{
    Read({"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n"
          "<meta http-equiv=\"Set-Cookie\" content=\"c=3\"><meta charset=utf-8>"},
         MemoryByteSource::AtEnd::Close);
    EXPECT_EQ(SentCookies(), "");
    EXPECT_EQ(response_.CharSet(), "ISO-8859-1");
}

TEST_F(ResponseReading, MetaEntriesAreBoundedLikeHeaderLines)
{
    std::string body = "<head>";
    for (int i = 0; i < 1000; ++i)
        body += "<meta http-equiv=\"X-" + std::to_string(i) + "\" content=\"v\">";
    Read({"HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + body},
         MemoryByteSource::AtEnd::Close);
    EXPECT_EQ(response_.Headers().size(), 1u + kMaxHeaderLines);
}

TEST_F(ResponseReading, StatusErrorBodyIsDecodedWithTheMetaCharset)
{
    const std::string body = "<meta charset=\"windows-1250\"></head>\x9A\x9A";
    EXPECT_EQ(FailedBody({"HTTP/1.1 500 Error\r\nContent-Type: text/html\r\nContent-Length: " +
                          std::to_string(body.size()) + "\r\n\r\n" + body}),
              "<meta charset=\"windows-1250\"></head>\xC5\xA1\xC5\xA1");
}

} // namespace
} // namespace net
