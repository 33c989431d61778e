#include "tests/tools/fake_clock.h"
#include "tests/tools/fake_hopvane.h"
#include "tools/hopvane_ctl/command_line.h"
#include "tools/hopvane_ctl/controller.h"
#include "tools/hopvane_ctl/mutex_names.h"
#include "tools/hopvane_ctl/status_watch.h"
#include "tools/hopvane_ctl/time_stamp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace hopvane_ctl {

// Failures show the code as its number.
void PrintTo(ExitCode code, std::ostream* out)
{
    *out << static_cast<int>(code);
}

} // namespace hopvane_ctl

namespace {

using hopvane_ctl::Command;
using hopvane_ctl::Controller;
using hopvane_ctl::ExitCode;
using hopvane_ctl::Invocation;
using hopvane_ctl::Outcome;
using hopvane_ctl_test::FakeClock;
using hopvane_ctl_test::FakeHopvane;
using hopvane_ctl_test::ProgramBehaviour;
using std::chrono::milliseconds;
using std::chrono::seconds;
using Start = FakeHopvane::Start;

// Status names that come and go on a fixed schedule, from a program that
// takes no requests.
class StatusTimeline final : public platform::NamedMutexes {
public:
    struct Step {
        milliseconds from;
        // Empty for none; several joined by "+".
        std::string name;
    };

    StatusTimeline(const FakeClock& clock, std::vector<Step> steps)
        : clock_(clock), steps_(std::move(steps))
    {
    }

    Created Create(std::string_view name) override
    {
        ADD_FAILURE() << "the tool created " << name;
        return {kNoHandle, platform::kErrorAccessDenied};
    }
    void Close(Handle) override {}
    bool Exists(std::string_view name) override
    {
        std::string current;
        for (const Step& step : steps_) {
            if (step.from <= clock_.Elapsed())
                current = step.name;
        }
        return !name.empty() &&
               ("+" + current + "+").find("+" + std::string(name) + "+") != std::string::npos;
    }

private:
    const FakeClock& clock_;
    std::vector<Step> steps_;
};

struct ParseCase {
    std::vector<std::string_view> arguments;
    Command command;
    std::optional<seconds> wait;
};

class ParseArgumentsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseArgumentsTest, ReadsTheCommandAndItsWait)
{
    const auto parsed = hopvane_ctl::ParseArguments(GetParam().arguments);
    const auto* invocation = std::get_if<Invocation>(&parsed);
    ASSERT_NE(invocation, nullptr) << std::get<hopvane_ctl::UsageError>(parsed).message;
    EXPECT_EQ(invocation->command, GetParam().command);
    EXPECT_EQ(invocation->wait, GetParam().wait);
}

INSTANTIATE_TEST_SUITE_P(
    Valid, ParseArgumentsTest,
    ::testing::Values(ParseCase{{"status"}, Command::kStatus, std::nullopt},
                      ParseCase{{"next"}, Command::kNext, std::nullopt},
                      ParseCase{{"next", "--wait", "60"}, Command::kNext, seconds(60)},
                      ParseCase{{"next", "--wait=7"}, Command::kNext, seconds(7)},
                      ParseCase{{"--wait", "5", "next"}, Command::kNext, seconds(5)},
                      ParseCase{{"on", "--wait", "0"}, Command::kOn, seconds(0)},
                      ParseCase{{"off"}, Command::kOff, std::nullopt},
                      ParseCase{{"watch"}, Command::kWatch, std::nullopt},
                      ParseCase{{"--help"}, Command::kHelp, std::nullopt},
                      ParseCase{{"next", "-h"}, Command::kHelp, std::nullopt},
                      ParseCase{{"bogus", "--help"}, Command::kHelp, std::nullopt}));

struct UsageCase {
    std::vector<std::string_view> arguments;
    const char* message;
};

class UsageErrorTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrorTest, SaysWhatIsWrongWithTheArgumentAsGiven)
{
    const auto parsed = hopvane_ctl::ParseArguments(GetParam().arguments);
    const auto* error = std::get_if<hopvane_ctl::UsageError>(&parsed);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Invalid, UsageErrorTest,
    ::testing::Values(UsageCase{{}, "no command given"},
                      UsageCase{{"start"}, "unknown command 'start'"},
                      UsageCase{{"--status"}, "unknown option '--status'"},
                      UsageCase{{"status", "extra"},
                                "'status' takes no further argument, not 'extra'"},
                      UsageCase{{"off", "--wait", "5"}, "'off' takes no --wait"},
                      UsageCase{{"--wait", "5"}, "--wait needs a command: next or on"},
                      UsageCase{{"next", "--wait"}, "--wait needs a number of seconds"},
                      UsageCase{{"next", "--wait", "-1"}, "--wait takes whole seconds, not '-1'"},
                      UsageCase{{"next", "--wait=1.5"}, "--wait takes whole seconds, not '1.5'"},
                      UsageCase{{"next", "--wait", "99999999999"},
                                "--wait takes whole seconds, not '99999999999'"},
                      UsageCase{{"next", "--wait", "1", "--wait=2"}, "--wait given twice"}));

struct StatusCase {
    std::vector<StatusTimeline::Step> timeline;
    ExitCode code;
    std::string message;
};

class ShowStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(ShowStatusTest, NamesTheStateAndExitsWithItsCode)
{
    FakeClock clock;
    StatusTimeline names(clock, GetParam().timeline);
    const Outcome outcome = Controller(names, clock).ShowStatus();
    EXPECT_EQ(outcome.code, GetParam().code);
    EXPECT_EQ(outcome.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    States, ShowStatusTest,
    ::testing::Values(
        StatusCase{{{milliseconds(0), "Hopvane_ok"}}, ExitCode::kSuccess, "Hopvane_ok"},
        StatusCase{{{milliseconds(0), "Hopvane_change"}}, ExitCode::kChanging, "Hopvane_change"},
        StatusCase{{{milliseconds(0), "Hopvane_off"}}, ExitCode::kSwitchedOff, "Hopvane_off"},
        StatusCase{{}, ExitCode::kNotRunning, "none: Hopvane is not running"},
        // A switch caught between its two names.
        StatusCase{{{milliseconds(0), ""}, {milliseconds(40), "Hopvane_ok"}},
                   ExitCode::kSuccess,
                   "Hopvane_ok"},
        StatusCase{{{milliseconds(0), ""}, {milliseconds(300), "Hopvane_ok"}},
                   ExitCode::kNotRunning,
                   "none: Hopvane is not running"}));

class ControllerTest : public ::testing::Test {
protected:
    // Lets the program run on for a while after the tool is done.
    void RunOn() { clock_.SleepFor(seconds(3)); }

    FakeClock clock_;
};

struct NextCase {
    Start start;
    std::optional<seconds> wait;
    ExitCode code;
    int checks;
};

// One next is exactly one change, or none and the reason, from every state.
class NextTest : public ControllerTest, public ::testing::WithParamInterface<NextCase> {};

TEST_P(NextTest, MakesExactlyOneChangeOrSaysWhyNone)
{
    FakeHopvane program(clock_, GetParam().start);
    const Outcome outcome = Controller(program, clock_).Next(GetParam().wait);
    EXPECT_EQ(outcome.code, GetParam().code) << outcome.message;
    EXPECT_FALSE(program.IsRequested(hopvane_ctl::kRequestNext));
    RunOn();
    EXPECT_EQ(program.ChecksStarted(), GetParam().checks);
}

INSTANTIATE_TEST_SUITE_P(
    States, NextTest,
    ::testing::Values(NextCase{Start::kOk, std::nullopt, ExitCode::kSuccess, 1},
                      NextCase{Start::kChecking, std::nullopt, ExitCode::kSuccess, 1},
                      NextCase{Start::kRanOut, std::nullopt, ExitCode::kSuccess, 1},
                      NextCase{Start::kRanOut, seconds(5), ExitCode::kSuccess, 1},
                      NextCase{Start::kOnWithNothing, std::nullopt, ExitCode::kNothingToCheck, 0},
                      NextCase{Start::kOff, std::nullopt, ExitCode::kSwitchedOff, 0}));

TEST_F(ControllerTest, AnUnansweredNextIsWithdrawn)
{
    ProgramBehaviour behaviour;
    behaviour.actsOnRequests = false;
    FakeHopvane program(clock_, Start::kOk, behaviour);
    const Outcome outcome = Controller(program, clock_).Next(std::nullopt);
    EXPECT_EQ(outcome.code, ExitCode::kNoReaction) << outcome.message;
    EXPECT_FALSE(program.IsRequested(hopvane_ctl::kRequestNext));
}

struct WaitCase {
    ProgramBehaviour behaviour;
    ExitCode code;
};

class NextWaitTest : public ControllerTest, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(NextWaitTest, EndsWithTheCheck)
{
    FakeHopvane program(clock_, Start::kOk, GetParam().behaviour);
    const Outcome outcome = Controller(program, clock_).Next(seconds(5));
    EXPECT_EQ(outcome.code, GetParam().code) << outcome.message;
    // Every case ends with the check, long before the wait would.
    EXPECT_LT(clock_.Elapsed(), seconds(2)) << outcome.message;
}

ProgramBehaviour FindingNoProxy()
{
    ProgramBehaviour behaviour;
    behaviour.checkFindsProxy = false;
    return behaviour;
}

ProgramBehaviour SwitchedOffDuringTheCheck()
{
    ProgramBehaviour behaviour;
    behaviour.checkTime = seconds(3);
    behaviour.switchOffAt = seconds(1);
    return behaviour;
}

INSTANTIATE_TEST_SUITE_P(Cycles, NextWaitTest,
                         ::testing::Values(WaitCase{{}, ExitCode::kSuccess},
                                           WaitCase{FindingNoProxy(), ExitCode::kNoProxyInTime},
                                           WaitCase{SwitchedOffDuringTheCheck(),
                                                    ExitCode::kSwitchedOff}));

struct SwitchCase {
    Start start;
    Command command;
    std::optional<seconds> wait;
    ExitCode code;
    const char* statusAfter;
    int checks;
};

// on and off always ask, and say what came of it.
class SwitchTest : public ControllerTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(SwitchTest, AsksAndReportsWhatCameOfIt)
{
    FakeHopvane program(clock_, GetParam().start);
    Controller controller(program, clock_);
    const char* request = GetParam().command == Command::kOn ? "Hopvane_go_on" : "Hopvane_go_off";
    const Outcome outcome = GetParam().command == Command::kOn
                                ? controller.SwitchOn(GetParam().wait)
                                : controller.SwitchOff();
    EXPECT_EQ(outcome.code, GetParam().code) << outcome.message;
    EXPECT_EQ(program.StatusName(), GetParam().statusAfter);
    EXPECT_EQ(program.ChecksStarted(), GetParam().checks);
    EXPECT_THAT(program.CreatedNames(), ::testing::ElementsAre(request));
    EXPECT_FALSE(program.IsRequested(request));
}

INSTANTIATE_TEST_SUITE_P(
    Requests, SwitchTest,
    ::testing::Values(
        SwitchCase{Start::kOff, Command::kOn, std::nullopt, ExitCode::kSuccess, "Hopvane_change",
                   1},
        SwitchCase{Start::kOff, Command::kOn, seconds(5), ExitCode::kSuccess, "Hopvane_ok", 1},
        SwitchCase{Start::kOk, Command::kOn, std::nullopt, ExitCode::kSuccess, "Hopvane_ok", 0},
        SwitchCase{Start::kOnWithNothing, Command::kOn, std::nullopt, ExitCode::kNothingToCheck,
                   "Hopvane_off", 0},
        SwitchCase{Start::kOk, Command::kOff, std::nullopt, ExitCode::kSuccess, "Hopvane_off", 0},
        SwitchCase{Start::kOnWithNothing, Command::kOff, std::nullopt, ExitCode::kSuccess,
                   "Hopvane_off", 0},
        SwitchCase{Start::kOff, Command::kOff, std::nullopt, ExitCode::kSuccess, "Hopvane_off",
                   0}));

TEST_F(ControllerTest, NoRequestIsMadeWhenNoProgramRuns)
{
    FakeHopvane program(clock_, Start::kNotRunning);
    Controller controller(program, clock_);
    for (const Outcome& outcome :
         {controller.Next(seconds(5)), controller.SwitchOn(seconds(5)), controller.SwitchOff()})
        EXPECT_EQ(outcome.code, ExitCode::kNotRunning) << outcome.message;
    EXPECT_THAT(program.CreatedNames(), ::testing::IsEmpty());
}

TEST_F(ControllerTest, ARefusedRequestNameIsASystemError)
{
    ProgramBehaviour behaviour;
    behaviour.refusesNames = true;
    FakeHopvane program(clock_, Start::kOk, behaviour);
    const Outcome outcome = Controller(program, clock_).Next(std::nullopt);
    EXPECT_EQ(outcome.code, ExitCode::kSystemError);
    EXPECT_EQ(outcome.message, "cannot create Hopvane_go_change (error 5)");
}

TEST(WatchStatus, ReportsEachChangeButNotTheMomentOfASwitch)
{
    FakeClock clock;
    StatusTimeline names(clock, {{milliseconds(0), "Hopvane_ok"},
                                 {milliseconds(100), ""},
                                 {milliseconds(130), "Hopvane_change+Hopvane_note_proxy_died"},
                                 {milliseconds(200), "Hopvane_change"},
                                 {milliseconds(300), ""},
                                 {milliseconds(400), "Hopvane_off"}});
    const auto start = FakeClock::WallAt(milliseconds(0));
    std::vector<std::string> reports;
    hopvane_ctl::WatchStatus(
        names, clock,
        [&](const hopvane_ctl::StatusChange& change) {
            const auto at = std::chrono::duration_cast<milliseconds>(change.at - start);
            const std::string what(
                change.appliedProxyDied ? "moved on" : hopvane_ctl::StatusText(change.status));
            reports.push_back(what + " at " + std::to_string(at.count()));
        },
        [&] { return clock.Elapsed() >= milliseconds(500); });
    EXPECT_THAT(reports, ::testing::ElementsAre("Hopvane_ok at 0", "moved on at 130",
                                                "Hopvane_change at 130", "none at 300",
                                                "Hopvane_off at 400"));
}

TEST(LocalTimeStamp, ShowsTheDateAndTimeToTheMillisecond)
{
    const std::chrono::system_clock::time_point at =
        std::chrono::system_clock::time_point{seconds(1'800'000'000)} + milliseconds(45);
    const std::regex stamp(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.045)");
    EXPECT_TRUE(std::regex_match(hopvane_ctl::LocalTimeStamp(at), stamp))
        << hopvane_ctl::LocalTimeStamp(at);
}

} // namespace
