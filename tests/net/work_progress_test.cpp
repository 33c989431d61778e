#include "net/body_reader.h"
#include "net/memory_stream.h"
#include "net/response_head.h"
#include "net/work_progress.h"
#include "tests/net/memory_byte_source.h"

#include <gtest/gtest.h>

namespace net {
namespace {

using net_test::MemoryByteSource;

// Everything the progress units announce, as text.
class RecordedProgress {
public:
    explicit RecordedProgress(WorkProgress& progress)
    {
        progress.SetCallbacks(
            [this](WorkMode mode, std::int64_t count) {
                events_.push_back(Mode(mode) + " " + std::to_string(count));
            },
            [this](WorkMode mode, std::int64_t total) {
                events_.push_back("begin " + Mode(mode) + " " + std::to_string(total));
            },
            [this](WorkMode mode) { events_.push_back("end " + Mode(mode)); });
    }

    const std::vector<std::string>& Events() const { return events_; }

private:
    static std::string Mode(WorkMode mode) { return mode == WorkMode::Read ? "read" : "write"; }

    std::vector<std::string> events_;
};

TEST(WorkUnits, NestedUnitsNeitherResetNorAnnounce)
{
    WorkProgress progress;
    RecordedProgress recorded(progress);
    progress.Taken(5);
    progress.BeginWork(WorkMode::Read, 100);
    progress.Taken(10);
    progress.BeginWork(WorkMode::Read, 7);
    progress.Taken(7);
    progress.EndWork();
    EXPECT_EQ(progress.ExpectedTotal(), 100);
    progress.Taken(3);
    progress.EndWork();
    progress.Taken(4);
    EXPECT_EQ(recorded.Events(), (std::vector<std::string>{"begin read 100", "read 10", "read 17",
                                                           "read 20", "end read"}));
}

TEST(WorkUnits, UnitEndsWhenTheWorkThrows)
{
    WorkProgress progress;
    RecordedProgress recorded(progress);
    EXPECT_THROW(InWorkUnit(progress, WorkMode::Read, 0, [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_FALSE(progress.InUnit());
    EXPECT_EQ(recorded.Events(), (std::vector<std::string>{"begin read 0", "end read"}));
}

class BodyProgress : public ::testing::Test {
protected:
    BodyProgress() : recorded_(progress_) {}

    void ReadResponse(std::vector<std::string> pieces)
    {
        MemoryByteSource source(std::move(pieces), MemoryByteSource::AtEnd::Stall);
        ReceiveBuffer buffer(source, progress_);
        HttpResponse response;
        response.StartStatus(ReadStatusLine(buffer));
        ReadHeaderLines(buffer, response);
        MemoryStream sink;
        ReadBody(buffer, response, progress_, sink);
    }

    WorkProgress progress_;
    RecordedProgress recorded_;
};

TEST_F(BodyProgress, FirstCallReportsTheBytesThatCameWithTheHead)
{
    ReadResponse({"HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n1234", "56", "7890"});
    EXPECT_EQ(recorded_.Events(), (std::vector<std::string>{"begin read 10", "read 4", "read 6",
                                                            "read 10", "end read"}));
}

TEST_F(BodyProgress, HeadAloneCausesNoCall)
{
    ReadResponse({"HTTP/1.1 204 No Content\r\nX: y\r\n\r\n"});
    EXPECT_TRUE(recorded_.Events().empty());
}

TEST_F(BodyProgress, LargeBodyGoesInBlocksOfAtMost32768)
{
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 1048576\r\n\r\n";
    ReadResponse({head + std::string(1048576, 'a')});
    const auto& events = recorded_.Events();
    ASSERT_GE(events.size(), 34u);
    EXPECT_EQ(events.front(), "begin read 1048576");
    EXPECT_EQ(events[events.size() - 2], "read 1048576");
    std::int64_t last = 0;
    for (std::size_t i = 1; i + 1 < events.size(); ++i) {
        const std::int64_t count = std::stoll(events[i].substr(5));
        EXPECT_GT(count, last);
        EXPECT_LE(count - last, 32768);
        last = count;
    }
}

TEST_F(BodyProgress, ChunkFramingIsCounted)
{
    const std::string body =
        "1a;ext\r\n" + std::string(26, 'z') + "\r\n3\r\nabc\r\n0\r\nT: 1\r\n\r\n";
    ReadResponse({"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n" + body});
    const auto& events = recorded_.Events();
    EXPECT_EQ(events.front(), "begin read 0");
    EXPECT_EQ(events[events.size() - 2], "read " + std::to_string(body.size()));
    EXPECT_EQ(events.back(), "end read");
    // Size line, data and line end of each chunk, the last size line, the
    // trailer and the empty line.
    EXPECT_EQ(events.size(), 2u + 3 + 3 + 1 + 2);
}

} // namespace
} // namespace net
