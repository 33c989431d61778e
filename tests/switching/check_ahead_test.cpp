#include "switching/check_ahead.h"
#include "tests/support/queued_hand_over.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace switching {
namespace {

using std::chrono::milliseconds;

// Probes that wait until the test lets them answer; hosts named "dead..."
// fail. Counts how many wait at once.
class HeldProbes {
public:
    CheckAhead::Probe Probe()
    {
        return [this](const ProxyAddress& proxy, const std::string&) {
            std::unique_lock<std::mutex> lock(mutex_);
            ++made_;
            mostAtOnce_ = std::max(mostAtOnce_, ++waiting_);
            changed_.wait(lock, [this] { return released_; });
            --waiting_;
            return proxy.host.rfind("dead", 0) != 0;
        };
    }
    void Release()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    void Hold()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        released_ = false;
    }
    int Made()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return made_;
    }
    int MostAtOnce()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return mostAtOnce_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    int made_ = 0;
    int waiting_ = 0;
    int mostAtOnce_ = 0;
};

std::vector<std::string> Entries(int count)
{
    std::vector<std::string> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back((i % 2 ? "good" : "dead") + std::to_string(i) + ":80");
    return entries;
}

class CheckAheadTest : public ::testing::Test {
protected:
    // Carries out hand-overs until the probes have answered.
    void Answered(CheckAhead& ahead)
    {
        probes.Release();
        handOver.RunUntil([&ahead] {
            ahead.LookAhead({}, "");
            return ahead.ProbesOut() == 0;
        });
    }

    test_support::QueuedHandOver handOver;
    HeldProbes probes;
    std::chrono::steady_clock::time_point now;
    CheckAhead::Clock clock = [this] { return now; };
};

TEST_F(CheckAheadTest, ProbesTheWindowInListOrderAFewAtATime)
{
    CheckAhead ahead(handOver, probes.Probe(), {4, 6, milliseconds(1000)}, clock);
    const std::vector<std::string> following = Entries(10);
    ahead.LookAhead(following, "http://test/");
    handOver.RunUntil([this] { return probes.Made() == 4; });
    EXPECT_EQ(ahead.ProbesOut(), 4u);
    Answered(ahead);
    ahead.LookAhead(following, "http://test/");
    Answered(ahead);
    EXPECT_EQ(probes.Made(), 6);
    EXPECT_EQ(probes.MostAtOnce(), 4);
    for (std::size_t i = 0; i < following.size(); ++i)
        EXPECT_EQ(ahead.FailedRecently(following[i]), i < 6 && i % 2 == 0) << following[i];
}

TEST_F(CheckAheadTest, AnAnswerStandsForAWhileThenTheEntryIsProbedAgain)
{
    CheckAhead ahead(handOver, probes.Probe(), {4, 4, milliseconds(1000)}, clock);
    ahead.LookAhead({"dead:80"}, "");
    Answered(ahead);
    ahead.LookAhead({"dead:80"}, "");
    EXPECT_EQ(ahead.ProbesOut(), 0u);
    EXPECT_TRUE(ahead.FailedRecently("dead:80"));
    now += milliseconds(1000);
    EXPECT_FALSE(ahead.FailedRecently("dead:80"));
    ahead.LookAhead({"dead:80"}, "");
    Answered(ahead);
    EXPECT_EQ(probes.Made(), 2);
}

TEST_F(CheckAheadTest, AStopForgetsEveryAnswerAndDropsThoseStillOut)
{
    CheckAhead ahead(handOver, probes.Probe(), {4, 4, milliseconds(1000)}, clock);
    ahead.LookAhead({"dead1:80"}, "");
    Answered(ahead);
    probes.Hold();
    ahead.LookAhead({"dead2:80"}, "");
    handOver.RunUntil([this] { return probes.Made() == 2; });
    ahead.Stop();
    probes.Release();
    ahead.StopAndWait();
    EXPECT_FALSE(ahead.FailedRecently("dead1:80"));
    EXPECT_FALSE(ahead.FailedRecently("dead2:80"));
    EXPECT_EQ(ahead.ProbesOut(), 0u);
}

TEST_F(CheckAheadTest, AnEntryNoSettingCouldNameIsNotProbed)
{
    CheckAhead ahead(handOver, probes.Probe(), {4, 4, milliseconds(1000)}, clock);
    ahead.LookAhead({"dead", "a;b:80", "dead:0"}, "");
    EXPECT_EQ(ahead.ProbesOut(), 0u);
}

} // namespace
} // namespace switching
