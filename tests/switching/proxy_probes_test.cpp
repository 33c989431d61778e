#include "platform/files.h"
#include "switching/proxy_probes.h"
#include "tests/net/scripted_server.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace switching {
namespace {

using net_test::ConnectionScript;
using net_test::ReplyWithBody;
using net_test::ScriptedServer;

struct RecordingDisplay final : SpeedTestDisplay {
    void ShowProgress(std::int32_t maximum, std::int32_t position) override
    {
        events.push_back("bar " + std::to_string(position) + "/" + std::to_string(maximum));
    }
    void ResetProgress() override { events.push_back("bar reset"); }
    void ShowSpeed(const std::string& text) override { events.push_back(text); }

    std::vector<std::string> events;
};

// Reads the start, then the end of the download.
TickSource Ticks(std::uint32_t start, std::uint32_t end)
{
    auto readings = std::make_shared<std::vector<std::uint32_t>>(std::vector{end, start});
    return [readings] {
        const std::uint32_t tick = readings->back();
        readings->pop_back();
        return tick;
    };
}

ProxyAddress Through(const ScriptedServer& proxy)
{
    return {"127.0.0.1", std::to_string(proxy.Port())};
}

TEST(SpeedFor, IsWholeKiBPerSecondOfOneMiB)
{
    const std::pair<std::uint32_t, std::int32_t> cases[] = {
        {400, 2560}, {512000, 2}, {512001, 1}, {1, 1024000}, {0, 1024000}, {0xFFFFFFFF, 0}};
    for (const auto& [elapsed, speed] : cases)
        EXPECT_EQ(SpeedFor(elapsed), speed) << elapsed;
}

struct DownloadCase {
    const char* name;
    std::string reply;
    std::uint32_t start;
    std::uint32_t end;
    bool passes;
    std::vector<std::string> events;
};

TEST(DownloadSpeedTest, TimesTheDownloadAndShowsItsProgress)
{
    const std::string body(1000, 'x');
    const DownloadCase cases[] = {
        {"Fast",
         ReplyWithBody("HTTP/1.1 200 OK", "", body),
         5,
         405,
         true,
         {"bar 1000/1000", "2560 Kb/s"}},
        {"SlowestPassing",
         ReplyWithBody("HTTP/1.1 200 OK", "", body),
         0,
         512000,
         true,
         {"bar 1000/1000", "2 Kb/s"}},
        {"TooSlow",
         ReplyWithBody("HTTP/1.1 200 OK", "", body),
         0,
         512001,
         false,
         {"bar 1000/1000", "1 Kb/s"}},
        {"TickCounterWrapped",
         ReplyWithBody("HTTP/1.1 200 OK", "", body),
         0xFFFFFE70,
         0x120,
         true,
         {"bar 1000/1000", "1488 Kb/s"}},
        {"ChunkedLeavesTheBarAlone",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3e8\r\n" + body + "\r\n0\r\n\r\n",
         0,
         400,
         true,
         {"2560 Kb/s"}},
        {"Failed",
         ReplyWithBody("HTTP/1.1 404 Not Found", "", "gone"),
         0,
         400,
         false,
         {"bar 4/4", "bar reset", "0 Kb/s"}},
    };
    for (const auto& c : cases) {
        test_support::TempDir temp;
        ScriptedServer server({ConnectionScript().ReadRequest().Send(c.reply)});
        RecordingDisplay display;
        EXPECT_EQ(DownloadSpeedTest(server.Url("/hopvane/downloadspeed.txt"), temp.Path(), display,
                                    Ticks(c.start, c.end)),
                  c.passes)
            << c.name;
        EXPECT_EQ(display.events, c.events) << c.name;
        // Whenever the file arrived, whatever the speed.
        EXPECT_EQ(platform::FileExists(temp.File("downloadspeed.txt")), c.events.back() != "0 Kb/s")
            << c.name;
    }
}

TEST(DownloadSpeedTest, FailsWhenTheCopyCannotBeWritten)
{
    test_support::TempDir temp;
    ScriptedServer server(
        {ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 200 OK", "", "x"))});
    RecordingDisplay display;
    EXPECT_FALSE(DownloadSpeedTest(server.Url("/f"), temp.File("missing"), display, Ticks(0, 1)));
    EXPECT_EQ(display.events.back(), "0 Kb/s");
}

TEST(ProxyProbes, GoThroughTheProxy)
{
    ScriptedServer proxy(
        {ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 200 OK", "", "page")),
         ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 403 Filtered", "", "no")),
         ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 200 OK", "", "Praha")),
         ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 502 Bad", "", "down"))});
    EXPECT_TRUE(TestProxy(Through(proxy), "http://service.test/hopvane/myip.php"));
    EXPECT_FALSE(TestProxy(Through(proxy), "http://service.test/hopvane/myip.php"));
    EXPECT_EQ(GetGeoInfo(Through(proxy), "http://service.test/hopvane/geo/geo.php"), "Praha");
    EXPECT_EQ(GetGeoInfo(Through(proxy), "http://service.test/hopvane/geo/geo.php"), "");
    const auto& served = proxy.Finish();
    EXPECT_EQ(served[0].requests[0].rfind("GET http://service.test/hopvane/myip.php HTTP/1.1", 0),
              0u);
}

TEST(ProxyProbes, APortThatIsNoNumberFails)
{
    for (const char* port : {"", "http", "80a", " "}) {
        EXPECT_FALSE(TestProxy({"127.0.0.1", port}, "http://service.test/")) << port;
        EXPECT_EQ(GetGeoInfo({"127.0.0.1", port}, "http://service.test/"), "") << port;
    }
}

TEST(SplitProxyEntry, TakesTheFirstTwoPieces)
{
    const std::pair<const char*, std::pair<const char*, const char*>> cases[] = {
        {"10.0.0.1:8080", {"10.0.0.1", "8080"}},
        {"10.0.0.1", {"10.0.0.1", ""}},
        {"10.0.0.1:", {"10.0.0.1", ""}},
        {":8080", {"", "8080"}},
        {"a:b:c", {"a", "b"}},
        {"a::c", {"a", ""}},
        {"", {"", ""}},
    };
    for (const auto& [entry, pieces] : cases) {
        const ProxyAddress address = SplitProxyEntry(entry);
        EXPECT_EQ(address.host, pieces.first) << entry;
        EXPECT_EQ(address.port, pieces.second) << entry;
    }
}

} // namespace
} // namespace switching
