#include "switching/exit_address.h"
#include "switching/health_check.h"
#include "tests/support/queued_hand_over.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace switching {
namespace {

using std::chrono::milliseconds;

struct ExitCase {
    const char* reported;
    ExitAddress judged;
};

class JudgeExitAddressTest : public ::testing::TestWithParam<ExitCase> {};

TEST_P(JudgeExitAddressTest, AgainstTheUsersOwn)
{
    EXPECT_EQ(JudgeExitAddress(GetParam().reported, "127.0.0.1"), GetParam().judged)
        << GetParam().reported;
}

INSTANTIATE_TEST_SUITE_P(Answers, JudgeExitAddressTest,
                         ::testing::Values(ExitCase{"127.0.0.11", ExitAddress::kOther},
                                           ExitCase{"127.0.0.1", ExitAddress::kUsersOwn},
                                           ExitCase{" 127.0.0.1\r\n", ExitAddress::kUsersOwn},
                                           ExitCase{"2001:db8::1", ExitAddress::kOther},
                                           ExitCase{"::ffff:192.0.2.1", ExitAddress::kOther},
                                           ExitCase{"", ExitAddress::kNotAnAddress},
                                           ExitCase{"<html>Forbidden</html>",
                                                    ExitAddress::kNotAnAddress},
                                           ExitCase{"127.1", ExitAddress::kNotAnAddress},
                                           ExitCase{"1:2:3", ExitAddress::kNotAnAddress},
                                           ExitCase{"2001:db8::1::2", ExitAddress::kNotAnAddress}));

// Probes that answer as scripted, one answer per probe, each on its thread.
class HealthCheckTest : public ::testing::Test {
protected:
    HealthCheckTest()
        : check_(
              handOver_,
              [this](const ProxyAddress&, const std::string&) {
                  const int made = probes_++;
                  return made < static_cast<int>(script_.size()) && script_[made];
              },
              [this] { return now_; })
    {
    }

    // Polls every 100 ms of the clock, waiting for each probe's answer, until
    // the proxy is found dead or the span ends; whether it was.
    bool PollFor(milliseconds span, milliseconds interval)
    {
        for (milliseconds t{0}; t < span; t += milliseconds(100)) {
            now_ += milliseconds(100);
            if (check_.Poll(std::string("127.0.0.11:80"), interval, ""))
                return true;
            handOver_.RunUntil([this] { return check_.ProbesOut() == 0; });
        }
        return false;
    }

    test_support::QueuedHandOver handOver_;
    std::chrono::steady_clock::time_point now_;
    std::vector<bool> script_;
    std::atomic<int> probes_{0};
    HealthCheck check_;
};

TEST_F(HealthCheckTest, ThreeFailuresInARowAtTheIntervalMoveOn)
{
    // A pass in between starts the count again.
    script_ = {false, true, false, false, false};
    EXPECT_TRUE(PollFor(milliseconds(60000), milliseconds(1000)));
    EXPECT_EQ(probes_, 5);
    EXPECT_EQ(now_.time_since_epoch(), milliseconds(5200));
}

TEST_F(HealthCheckTest, IntervalZeroNeverProbes)
{
    EXPECT_FALSE(PollFor(milliseconds(10000), milliseconds(0)));
    EXPECT_EQ(probes_, 0);
}

} // namespace
} // namespace switching
