#include "net/body_reader.h"
#include "net/error_texts.h"
#include "net/http_error.h"
#include "net/memory_stream.h"
#include "net/response_head.h"
#include "tests/net/memory_byte_source.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using net_test::MemoryByteSource;
using net_test::RepeatingByteSource;

// Reads the head and then the body of a response from the pieces.
class BodyReading : public ::testing::Test {
protected:
    std::string BodyOf(std::vector<std::string> pieces,
                       MemoryByteSource::AtEnd atEnd = MemoryByteSource::AtEnd::Close)
    {
        MemoryByteSource source(std::move(pieces), atEnd);
        return Read(source);
    }

    std::string Read(ByteSource& source)
    {
        ReceiveBuffer buffer(source, progress_);
        response_.StartStatus(ReadStatusLine(buffer));
        ReadHeaderLines(buffer, response_);
        MemoryStream sink;
        ReadBody(buffer, response_, progress_, sink);
        return sink.Bytes();
    }

    WorkProgress progress_;
    HttpResponse response_;
};

TEST_F(BodyReading, ContentLengthReadsExactlyThatMany)
{
    // The bytes after the body would belong to a next response.
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA"},
                     MemoryByteSource::AtEnd::Stall),
              "hello");
}

TEST_F(BodyReading, EarlyCloseEndsAKnownLengthBodyWithoutError)
{
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\n";
    EXPECT_EQ(BodyOf({head, std::string(600, 'b')}), std::string(600, 'b'));
}

TEST_F(BodyReading, WithoutLengthReadsUntilClose)
{
    EXPECT_EQ(BodyOf({"HTTP/1.0 200 OK\r\n\r\nab", "cd", "ef"}), "abcdef");
}

TEST_F(BodyReading, NoBodyIsReadForStatusesWithoutOne)
{
    for (const char* status : {"HTTP/1.1 204 No Content", "HTTP/1.1 304 Not Modified",
                               "HTTP/1.1 101 Switching", "HTTP/1.1 200 OK"}) {
        const std::string length =
            std::string(status) == "HTTP/1.1 200 OK" ? "Content-Length: 0\r\n" : "";
        // A read would wait for more: the stall shows it as an error.
        EXPECT_EQ(BodyOf({std::string(status) + "\r\n" + length + "\r\n"},
                         MemoryByteSource::AtEnd::Stall),
                  "")
            << status;
    }
}

TEST_F(BodyReading, ChunkedWinsOverContentLengthZero)
{
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nContent-Length: 0\r\nTransfer-Encoding: chunked\r\n\r\n"
                      "3\r\nabc\r\n0\r\n\r\n"},
                     MemoryByteSource::AtEnd::Stall),
              "abc");
}

TEST_F(BodyReading, ChunkSizeLineWithExtensionAnnounces26Bytes)
{
    const std::string chunk(26, 'z');
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1a;name=value\r\n" +
                      chunk + "\r\n0\r\n\r\n"},
                     MemoryByteSource::AtEnd::Stall),
              chunk);
}

TEST_F(BodyReading, ChunksSplitAcrossReceivesAndTrailersJoinTheHeaders)
{
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n4\r\nab", "cd\r",
                      "\n 2 \r\nef\r\n0;last\r\nX-Trailer: t\r\n\r\n"},
                     MemoryByteSource::AtEnd::Stall),
              "abcdef");
    EXPECT_EQ(response_.HeaderValue("X-Trailer"), "t");
}

TEST_F(BodyReading, ChunkSizeThatIsNoNumberEndsTheBody)
{
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\nzz\r\n\r\n"},
                     MemoryByteSource::AtEnd::Stall),
              "ab");
}

TEST_F(BodyReading, ChunkedBodyCutOffFails)
{
    for (const char* rest : {"5\r\nab", "5\r\nabcde\r\n", "5"}) {
        try {
            BodyOf({std::string("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n") + rest});
            ADD_FAILURE() << "accepted " << rest;
        } catch (const ConnectionClosedError& error) {
            EXPECT_STREQ(error.what(), kConnectionClosedGracefully);
        }
    }
}

TEST_F(BodyReading, MultipartEndsWithTheLineOfTheClosingBoundary)
{
    const std::string body = "--xy\r\nContent-Type: text/plain\r\n\r\npart\r\n--xy-- epilogue\r\n";
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nContent-Type: multipart/mixed; boundary=\"xy\"\r\n\r\n" +
                          body.substr(0, 40),
                      body.substr(40), "never read"},
                     MemoryByteSource::AtEnd::Stall),
              body);
}

TEST_F(BodyReading, MultipartBoundarySplitBetweenReceives)
{
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nContent-Type: multipart/form-data; boundary=b\r\n\r\n"
                      "--b\r\nx\r\n-",
                      "-b", "-", "-\r\nnever"},
                     MemoryByteSource::AtEnd::Stall),
              "--b\r\nx\r\n--b--\r\n");
}

TEST_F(BodyReading, MultipartWithoutClosingBoundaryReadsUntilClose)
{
    EXPECT_EQ(BodyOf({"HTTP/1.1 200 OK\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n"
                      "x"}),
              "--b\r\nx");
}

TEST(ChunkSize, HexadecimalUpToTheFirstSemicolon)
{
    EXPECT_EQ(ParseChunkSize("1a"), 26u);
    EXPECT_EQ(ParseChunkSize(" 1A ; ext=1"), 26u);
    EXPECT_EQ(ParseChunkSize("ff"), 255u);
    EXPECT_EQ(ParseChunkSize(""), 0u);
    EXPECT_EQ(ParseChunkSize("0x10"), 0u);
    EXPECT_EQ(ParseChunkSize("-1"), 0u);
    EXPECT_EQ(ParseChunkSize("4000000"), kMaxBodyBytes);
}

TEST(ChunkSize, TooLargeForMemoryFails)
{
    for (const char* line : {"4000001", "FFFFFFFFFFFFFFFFFFFFFFFF", "10000000000000000"}) {
        try {
            ParseChunkSize(line);
            ADD_FAILURE() << "accepted " << line;
        } catch (const HttpError& error) {
            EXPECT_STREQ(error.what(), kBodyTooLarge);
        }
    }
}

TEST_F(BodyReading, AnnouncedLengthOverTheLimitFailsBeforeReading)
{
    MemoryByteSource source({"HTTP/1.1 200 OK\r\nContent-Length: 67108865\r\n\r\nabc"},
                            MemoryByteSource::AtEnd::Stall);
    try {
        Read(source);
        FAIL() << "accepted";
    } catch (const HttpError& error) {
        EXPECT_STREQ(error.what(), kBodyTooLarge);
    }
    EXPECT_EQ(source.ReceiveCalls(), 1);
}

TEST_F(BodyReading, BodyOfExactlyTheLimitIsRead)
{
    RepeatingByteSource source("HTTP/1.0 200 OK\r\n\r\n", kMaxBodyBytes);
    EXPECT_EQ(Read(source).size(), kMaxBodyBytes);
}

TEST_F(BodyReading, BodyUntilCloseOverTheLimitFails)
{
    RepeatingByteSource source("HTTP/1.0 200 OK\r\n\r\n", kMaxBodyBytes + 1);
    try {
        Read(source);
        FAIL() << "accepted";
    } catch (const HttpError& error) {
        EXPECT_STREQ(error.what(), kBodyTooLarge);
    }
}

TEST_F(BodyReading, ChunksAddingUpOverTheLimitFail)
{
    MemoryByteSource source({"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n"
                             "4000000\r\n"},
                            MemoryByteSource::AtEnd::Stall);
    try {
        Read(source);
        FAIL() << "accepted";
    } catch (const HttpError& error) {
        EXPECT_STREQ(error.what(), kBodyTooLarge);
    }
}

// A body at the limit costs the limit: the buffer does not double past it.
TEST(MemoryStreamGrowth, StopsAtTheBodyLimit)
{
    MemoryStream sink;
    // Blocks of an odd size, as the network hands them out.
    const std::string block(10000, 'x');
    for (std::size_t written = 0; written < kMaxBodyBytes; written += block.size())
        sink.Write(std::string_view(block).substr(0, kMaxBodyBytes - written));
    EXPECT_EQ(sink.Bytes().size(), kMaxBodyBytes);
    EXPECT_LE(sink.Bytes().capacity(), kMaxBodyBytes);
}

} // namespace
} // namespace net
