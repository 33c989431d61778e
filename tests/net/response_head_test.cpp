#include "net/error_texts.h"
#include "net/http_error.h"
#include "net/http_response.h"
#include "net/receive_buffer.h"
#include "net/response_head.h"
#include "tests/net/memory_byte_source.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using net_test::MemoryByteSource;

struct CodeCase {
    const char* statusLine;
    std::int32_t code;
};

class ResponseCodeParsing : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ResponseCodeParsing, ReadsTheSecondWord)
{
    EXPECT_EQ(ParseResponseCode(GetParam().statusLine), GetParam().code) << GetParam().statusLine;
}

INSTANTIATE_TEST_SUITE_P(
    StatusLines, ResponseCodeParsing,
    ::testing::Values(CodeCase{"HTTP/1.1 200 OK", 200}, CodeCase{"HTTP/1.0 404 Not Found", 404},
                      CodeCase{"HTTP/1.1 200.0 OK", 200}, CodeCase{"HTTP/1.1 302", 302},
                      CodeCase{"HTTP/1.1 OK", -1}, CodeCase{"HTTP/1.1  200 OK", -1},
                      CodeCase{"HTTP/1.1", -1}, CodeCase{"", -1}, CodeCase{"HTTP/1.1 2x0 Odd", -1},
                      CodeCase{"HTTP/1.1 99999999999 Big", -1}));

class HeadReading : public ::testing::Test {
protected:
    std::optional<std::string> LineOf(std::vector<std::string> pieces)
    {
        MemoryByteSource source(std::move(pieces));
        ReceiveBuffer buffer(source, progress_);
        return ReadTextLine(buffer);
    }

    HttpResponse HeadersOf(std::vector<std::string> pieces)
    {
        MemoryByteSource source(std::move(pieces));
        ReceiveBuffer buffer(source, progress_);
        HttpResponse response;
        response.StartStatus(ReadStatusLine(buffer));
        ReadHeaderLines(buffer, response);
        return response;
    }

    WorkProgress progress_;
};

TEST_F(HeadReading, LineEndsAtLfAndDropsOneCr)
{
    EXPECT_EQ(LineOf({"abc\r\n"}), "abc");
    EXPECT_EQ(LineOf({"abc\n"}), "abc");
    EXPECT_EQ(LineOf({"abc\r\r\n"}), "abc\r");
    EXPECT_EQ(LineOf({"a", "b", "c\r", "\n"}), "abc");
}

TEST_F(HeadReading, HighBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(LineOf({"x\xE9y\xC3\xA1\r\n"}), "x\xEF\xBF\xBDy\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(HeadReading, LineOf16383BytesAndCrIsAccepted)
{
    const std::string line(16383, 'a');
    EXPECT_EQ(LineOf({line + "\r\n"}), line);
}

TEST_F(HeadReading, LineOf16384BytesAndCrIsTooLong)
{
    try {
        LineOf({std::string(16384, 'a') + "\r\n"});
        FAIL() << "accepted";
    } catch (const HttpError& error) {
        EXPECT_STREQ(error.what(), kMaxLineLengthExceeded);
    }
}

TEST_F(HeadReading, MoreThan16384BytesWithoutLfFailWithoutWaitingForTheEnd)
{
    // The source would stall after these bytes: the limit must strike first.
    MemoryByteSource source({std::string(16385, 'a')}, MemoryByteSource::AtEnd::Stall);
    ReceiveBuffer buffer(source, progress_);
    EXPECT_THROW(
        {
            try {
                ReadTextLine(buffer);
            } catch (const HttpError& error) {
                EXPECT_STREQ(error.what(), kMaxLineLengthExceeded);
                throw;
            }
        },
        HttpError);
}

TEST_F(HeadReading, StatusLineCutOffByCloseFails)
{
    for (const char* bytes : {"", "HTTP/1.1 200 OK"}) {
        MemoryByteSource source({bytes});
        ReceiveBuffer buffer(source, progress_);
        try {
            ReadStatusLine(buffer);
            ADD_FAILURE() << "accepted " << bytes;
        } catch (const ConnectionClosedError& error) {
            EXPECT_STREQ(error.what(), kConnectionClosedGracefully);
        }
    }
}

TEST_F(HeadReading, HeadersAreSplitTrimmedAndKeptInOrder)
{
    const HttpResponse response =
        HeadersOf({"HTTP/1.1 200 OK\r\nContent-Type :  text/plain \r\nX-Empty:\r\n"
                   "x-a: 1\r\nX-A: 2\r\nNoColon\r\n\r\nbody"});
    ASSERT_EQ(response.Headers().size(), 5u);
    EXPECT_EQ(response.Headers()[0].name, "Content-Type");
    EXPECT_EQ(response.Headers()[0].value, "text/plain");
    EXPECT_EQ(response.HeaderValue("X-EMPTY"), "");
    EXPECT_EQ(response.HeaderValue("X-A"), "1");
    EXPECT_EQ(response.HeaderValues("x-a"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(response.HeaderValue("NoColon"), "");
    EXPECT_EQ(response.HeaderValue("Missing"), std::nullopt);
}

TEST_F(HeadReading, ContinuationLinesJoinWithOneBlank)
{
    const HttpResponse response =
        HeadersOf({"HTTP/1.1 200 OK\r\nX-Long: first\r\n   second\r\n\tthird \r\n\r\n"});
    ASSERT_EQ(response.Headers().size(), 1u);
    EXPECT_EQ(response.HeaderValue("X-Long"), "first second third");
}

TEST_F(HeadReading, FieldsComeFromTheFirstOccurrence)
{
    const HttpResponse response = HeadersOf(
        {"HTTP/1.1 200 OK\r\ncontent-length: 12\r\nContent-Length: 99\r\n"
         "Transfer-Encoding: Chunked\r\nContent-Type: text/html; Charset=\"UTF-8\"; q=1\r\n"
         "Connection: close\r\nProxy-Connection: keep-alive\r\nLocation: /next\r\n\r\n"});
    EXPECT_EQ(response.ResponseText(), "HTTP/1.1 200 OK");
    EXPECT_EQ(response.ResponseCode(), 200);
    EXPECT_EQ(response.ContentLength(), 12);
    EXPECT_EQ(response.TransferEncoding(), "Chunked");
    EXPECT_EQ(response.ContentType(), "text/html; q=1");
    EXPECT_EQ(response.CharSet(), "UTF-8");
    EXPECT_EQ(response.Connection(), "close");
    EXPECT_EQ(response.ProxyConnection(), "keep-alive");
    EXPECT_EQ(response.Location(), "/next");
}

TEST_F(HeadReading, ContentLengthThatIsNoCountIsAbsent)
{
    for (const char* value : {"-5", "12a", "", "99999999999999999999"}) {
        const HttpResponse response =
            HeadersOf({std::string("HTTP/1.1 200 OK\r\nContent-Length: ") + value + "\r\n\r\n"});
        EXPECT_EQ(response.ContentLength(), -1) << value;
    }
}

TEST_F(HeadReading, CloseDuringHeadersKeepsTheCompleteLines)
{
    const HttpResponse response = HeadersOf({"HTTP/1.1 200 OK\r\nX-One: 1\r\nX-Two: 2\r\nX-Thr"});
    ASSERT_EQ(response.Headers().size(), 2u);
    EXPECT_EQ(response.HeaderValue("X-Two"), "2");
}

TEST_F(HeadReading, AtMost255HeaderLines)
{
    std::string head = "HTTP/1.1 200 OK\r\n";
    for (int i = 0; i < 255; ++i)
        head += "X-" + std::to_string(i) + ": v\r\n";
    EXPECT_EQ(HeadersOf({head + "\r\n"}).Headers().size(), 255u);
    try {
        HeadersOf({head + "X-Extra: v\r\n\r\n"});
        FAIL() << "accepted 256 header lines";
    } catch (const HttpError& error) {
        EXPECT_STREQ(error.what(), kTooManyHeaderLines);
    }
}

TEST(HttpResponseRecord, StatusLineClearsEverything)
{
    HttpResponse response;
    response.StartStatus("HTTP/1.1 100 Continue");
    response.AddHeader("Content-Length", "5");
    response.UpdateFromHeaders();
    response.StartStatus("HTTP/1.1 200 OK");
    EXPECT_TRUE(response.Headers().empty());
    EXPECT_EQ(response.ContentLength(), -1);
    EXPECT_EQ(response.ResponseCode(), 200);
}

TEST(HttpResponseRecord, ReplaceHeaderRemovesEveryOccurrence)
{
    HttpResponse response;
    response.AddHeader("Refresh", "1");
    response.AddHeader("X", "y");
    response.AddHeader("refresh", "2");
    response.ReplaceHeader("REFRESH", "3");
    ASSERT_EQ(response.Headers().size(), 2u);
    EXPECT_EQ(response.HeaderValues("Refresh"), std::vector<std::string>{"3"});
}

} // namespace
} // namespace net
