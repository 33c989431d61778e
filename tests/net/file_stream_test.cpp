#include "net/body_reader.h"
#include "net/error_texts.h"
#include "net/file_stream.h"
#include "net/http_client.h"
#include "net/http_error.h"
#include "net/memory_stream.h"
#include "net/response_head.h"
#include "platform/files.h"
#include "tests/net/client_test_support.h"
#include "tests/net/memory_byte_source.h"
#include "tests/net/scripted_server.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unopenable_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace net {
namespace {

using net_test::ConnectionScript;
using net_test::ErrorOf;
using net_test::MemoryByteSource;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;
using test_support::ReadFileBytes;
using test_support::TempDir;
using test_support::WriteFileBytes;

ConnectionScript Answer(std::string reply)
{
    return std::move(ConnectionScript().ReadRequest().Send(std::move(reply)));
}

// Bytes that differ from one position to the next, so that a block written
// twice or out of place shows.
std::string PatternBytes(std::size_t count)
{
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

TEST(FileStream, EachWriteReachesTheFileAtOnce)
{
    TempDir dir;
    const std::string path = dir.File("body.bin");
    FileStream file(path);
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_EQ(ReadFileBytes(path), "");
    file.Write("first ");
    EXPECT_EQ(ReadFileBytes(path), "first ");
    file.Write("second");
    EXPECT_EQ(ReadFileBytes(path), "first second");
}

TEST(FileStream, OldContentAfterTheWrittenBytesGoesOnlyWithTruncate)
{
    struct Case {
        const char* name;
        const char* old;
        const char* written;
        const char* beforeTruncate;
        const char* afterTruncate;
    };
    for (const Case& c : {
             Case{"ShorterBody", "0123456789", "ab", "ab23456789", "ab"},
             Case{"NoBody", "0123456789", "", "0123456789", ""},
             Case{"LongerBody", "old", "longer body", "longer body", "longer body"},
             Case{"NewFile", nullptr, "body", "body", "body"},
         }) {
        TempDir dir;
        const std::string path = dir.File("body.bin");
        if (c.old != nullptr)
            WriteFileBytes(path, c.old);
        FileStream file(path);
        file.Write(c.written);
        EXPECT_EQ(ReadFileBytes(path), c.beforeTruncate) << c.name;
        file.Truncate();
        EXPECT_EQ(ReadFileBytes(path), c.afterTruncate) << c.name;
    }
}

TEST(FileStream, ErrorNamesTheFileThatCannotBeCreated)
{
    TempDir dir;
    const test_support::UnopenableFile held(dir.File("held"));
    for (const std::string& path : {dir.File("missing/body.bin"), dir.Path(), dir.File("held")}) {
        const std::string message = ErrorOf([&] { FileStream file(path); });
        const std::string prefix = "Cannot create file \"" + path + "\". ";
        EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
        EXPECT_GT(message.size(), prefix.size()) << "no reason in: " << message;
    }
    EXPECT_FALSE(platform::DirectoryExists(dir.File("missing")));
}

// The progress events of one body read from the pieces into the sink.
std::vector<std::string> ProgressOfBody(std::vector<std::string> pieces, ByteSink& sink)
{
    MemoryByteSource source(std::move(pieces));
    WorkProgress progress;
    std::vector<std::string> events;
    progress.SetCallbacks(
        [&](WorkMode, std::int64_t count) { events.push_back(std::to_string(count)); },
        [&](WorkMode, std::int64_t total) { events.push_back("begin " + std::to_string(total)); },
        [&](WorkMode) { events.push_back("end"); });
    ReceiveBuffer buffer(source, progress);
    HttpResponse response;
    response.StartStatus(ReadStatusLine(buffer));
    ReadHeaderLines(buffer, response);
    ReadBody(buffer, response, progress, sink);
    return events;
}

TEST(FileStream, BodyIsReadAndCountedAsIntoMemory)
{
    const std::string body = PatternBytes(100000);
    const std::string chunked = "8000;x\r\n" + body.substr(0, 32768) + "\r\n" + "10\r\n" +
                                body.substr(32768, 16) + "\r\n0\r\nTrailer: t\r\n\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        std::string expected;
    };
    for (const Case& c : {
             Case{"KnownLength",
                  {"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + body.substr(0, 7),
                   body.substr(7, 70000), body.substr(70007)},
                  body},
             Case{"Chunked",
                  {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + chunked.substr(0, 3),
                   chunked.substr(3)},
                  body.substr(0, 32768 + 16)},
             Case{"UntilClose", {"HTTP/1.0 200 OK\r\n\r\n", body}, body},
         }) {
        MemoryStream memory;
        const auto memoryEvents = ProgressOfBody(c.pieces, memory);
        TempDir dir;
        const std::string path = dir.File("body.bin");
        FileStream file(path);
        EXPECT_EQ(ProgressOfBody(c.pieces, file), memoryEvents) << c.name;
        EXPECT_EQ(ReadFileBytes(path), c.expected) << c.name;
        EXPECT_EQ(memory.Bytes(), c.expected) << c.name;
    }
}

TEST(FileStream, LimitCountsTheBodyEvenOutsideMemory)
{
    TempDir dir;
    const std::string path = dir.File("body.bin");
    FileStream file(path);
    net_test::RepeatingByteSource source("HTTP/1.0 200 OK\r\n\r\n", kMaxBodyBytes + 1);
    WorkProgress progress;
    ReceiveBuffer buffer(source, progress);
    HttpResponse response;
    response.StartStatus(ReadStatusLine(buffer));
    ReadHeaderLines(buffer, response);
    EXPECT_EQ(ErrorOf([&] { ReadBody(buffer, response, progress, file); }), kBodyTooLarge);
    EXPECT_EQ(std::filesystem::file_size(path), kMaxBodyBytes) << "nothing past the limit";
}

// A file that held more than the body, for seeing what is cut off.
class GetStreamIntoFile : public ::testing::Test {
protected:
    GetStreamIntoFile() { WriteFileBytes(path_, kOldContent); }

    static constexpr char kOldContent[] = "0123456789ABCDEFGHIJ";
    TempDir dir_;
    const std::string path_ = dir_.File("downloadspeed.txt");
};

TEST_F(GetStreamIntoFile, BodyReplacesWhatTheFileHeld)
{
    const std::string body = PatternBytes(70000);
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", body))});
    HttpClient client;
    FileStream file(path_);
    client.GetStream(server.Url("/hopvane/downloadspeed.txt"), file);
    EXPECT_EQ(ReadFileBytes(path_), body);
}

TEST_F(GetStreamIntoFile, ShortBodyCutsOffTheRest)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", "abc"))});
    HttpClient client;
    FileStream file(path_);
    client.GetStream(server.Url("/"), file);
    EXPECT_EQ(ReadFileBytes(path_), "abc");
}

TEST_F(GetStreamIntoFile, FailingStatusLeavesTheFileAlone)
{
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 404 Not Found", "", "missing"))});
    HttpClient client;
    FileStream file(path_);
    EXPECT_EQ(ErrorOf([&] { client.GetStream(server.Url("/"), file); }), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(ReadFileBytes(path_), kOldContent);
}

TEST_F(GetStreamIntoFile, BrokenBodyKeepsWhatCameAndTheOldRest)
{
    ScriptedServer server({Answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                  "5\r\nabcde\r\n9\r\nfgh")});
    HttpClient client;
    FileStream file(path_);
    EXPECT_EQ(ErrorOf([&] { client.GetStream(server.Url("/"), file); }),
              kConnectionClosedGracefully);
    EXPECT_EQ(ReadFileBytes(path_), "abcdefgh89ABCDEFGHIJ");
}

TEST_F(GetStreamIntoFile, HtmlBodyStillGivesItsMetaHeaders)
{
    const std::string body = "<html><head><meta http-equiv=\"X-Probe\" content=\"seen\">"
                             "<meta charset=\"windows-1250\"></head>\x9A</html>";
    ScriptedServer server(
        {Answer(ReplyWithBody("HTTP/1.1 200 OK", "Content-Type: text/html\r\n", body))});
    HttpClient client;
    FileStream file(path_);
    client.GetStream(server.Url("/"), file);
    EXPECT_EQ(ReadFileBytes(path_), body);
    EXPECT_EQ(client.Response().HeaderValue("X-Probe"), "seen");
    EXPECT_EQ(client.Response().CharSet(), "windows-1250");
}

TEST_F(GetStreamIntoFile, ProgressCountsTheBytesAsTheyReachTheFile)
{
    const std::string body = PatternBytes(1048576);
    ScriptedServer server({Answer(ReplyWithBody("HTTP/1.1 200 OK", "", body))});
    HttpClient client;
    std::vector<std::int64_t> counts;
    std::vector<std::size_t> fileSizes;
    client.SetOnProgress([&](HttpClient& self, WorkMode mode, std::int64_t count) {
        EXPECT_EQ(mode, WorkMode::Read);
        EXPECT_EQ(self.Response().ContentLength(), 1048576);
        counts.push_back(count);
        fileSizes.push_back(ReadFileBytes(path_).size());
    });
    FileStream file(path_);
    client.GetStream(server.Url("/"), file);
    EXPECT_EQ(ReadFileBytes(path_), body);
    ASSERT_GE(counts.size(), 32u) << "blocks of at most 32,768 bytes";
    EXPECT_EQ(counts.back(), 1048576);
    std::int64_t last = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        EXPECT_GT(counts[i], last);
        EXPECT_LE(counts[i] - last, 32768);
        // The old content is 20 bytes long: the file has grown with the body,
        // block by block, never ahead of the count nor behind the last one.
        const auto size = static_cast<std::int64_t>(fileSizes[i]);
        EXPECT_LE(size, std::max<std::int64_t>(counts[i], 20)) << "event " << i;
        EXPECT_GE(size, std::max<std::int64_t>(last, 20)) << "event " << i;
        last = counts[i];
    }
}

} // namespace
} // namespace net
