// hopvane-ctl's controller against a program on the real lock-file mutexes.
#include "platform/named_mutexes.h"
#include "platform/posix/named_mutexes.h"
#include "tests/support/temp_dir.h"
#include "tools/hopvane_ctl/clock.h"
#include "tools/hopvane_ctl/controller.h"
#include "tools/hopvane_ctl/mutex_names.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using hopvane_ctl::kRequestNext;
using hopvane_ctl::kStatusChange;
using hopvane_ctl::kStatusOk;
using platform::NamedMutexes;

// A program in a thread of its own: it holds Hopvane_ok, looks for
// Hopvane_go_change every 88 ms and acts on it with a check that lasts until
// the next look, answering that it checks.
class ProgramThread {
public:
    ProgramThread() : status_(mutexes_.Create(kStatusOk).handle)
    {
        thread_ = std::thread([this] { Run(); });
    }
    ~ProgramThread()
    {
        stop_ = true;
        thread_.join();
        mutexes_.Close(status_);
    }
    ProgramThread(const ProgramThread&) = delete;
    ProgramThread& operator=(const ProgramThread&) = delete;

    int ChecksStarted() const { return checksStarted_; }
    int Polls() const { return polls_; }

private:
    void Run()
    {
        bool checking = false;
        NamedMutexes::Handle answer = NamedMutexes::kNoHandle;
        int answerPolls = 0;
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(88));
            if (answer != NamedMutexes::kNoHandle && ++answerPolls >= 2) {
                mutexes_.Close(answer);
                answer = NamedMutexes::kNoHandle;
            }
            if (checking) {
                SwitchTo(kStatusOk);
                checking = false;
            } else if (mutexes_.Exists(kRequestNext)) {
                SwitchTo(kStatusChange);
                ++checksStarted_;
                checking = true;
                answer = mutexes_.Create(hopvane_ctl::kAnswerChecking).handle;
                answerPolls = 0;
            }
            ++polls_;
        }
        mutexes_.Close(answer);
    }

    void SwitchTo(const char* name)
    {
        mutexes_.Close(status_);
        status_ = mutexes_.Create(name).handle;
    }

    NamedMutexes& mutexes_ = platform::SystemNamedMutexes();
    NamedMutexes::Handle status_;
    std::atomic<bool> stop_{false};
    std::atomic<int> checksStarted_{0};
    std::atomic<int> polls_{0};
    std::thread thread_;
};

TEST(HopvaneCtlOnLockFiles, NextMakesTheProgramChangeOnceAndWaitsForItsProxy)
{
    test_support::IsolatedUserEnvironment environment;
    ProgramThread program;
    // Handles of its own: the system's table of handles is the program's.
    platform::posix::LockFileMutexes mutexes;
    hopvane_ctl::SystemClock clock;

    const hopvane_ctl::Outcome outcome =
        hopvane_ctl::Controller(mutexes, clock).Next(std::chrono::seconds(30));

    EXPECT_EQ(outcome.code, hopvane_ctl::ExitCode::kSuccess) << outcome.message;
    EXPECT_TRUE(mutexes.Exists(kStatusOk));
    // A few more looks, in which a request left behind would start more.
    const int polls = program.Polls();
    while (program.Polls() < polls + 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(program.ChecksStarted(), 1);
}

} // namespace
