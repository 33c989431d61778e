#pragma once

#include "platform/named_mutexes.h"
#include "tests/tools/fake_clock.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hopvane_ctl_test {

// The defaults make a program that works as it should.
struct ProgramBehaviour {
    bool actsOnRequests = true;
    bool checkFindsProxy = true;
    bool refusesNames = false;
    // Its proxy list has an entry to check.
    bool hasEntries = true;
    // Over before the next poll, so a request held too long starts another.
    std::chrono::milliseconds checkTime{50};
    // The user switches off then.
    std::optional<std::chrono::milliseconds> switchOffAt;
};

// Hopvane as its named mutexes show it, on a FakeClock: it holds one status
// name, looks for requests every 88 ms, answers each for two looks once it
// acted on it and leaves no name for a moment when it switches. Other handles
// are the tool's, which must never open a status name.
class FakeHopvane final : public platform::NamedMutexes {
public:
    // kRanOut: switched on, the last cycle found no proxy and its list has
    // entries above where it began; kOnWithNothing: switched on with nothing
    // to check, so the status stayed "Hopvane_off".
    enum class Start { kNotRunning, kOff, kChecking, kOk, kRanOut, kOnWithNothing };

    static constexpr std::chrono::milliseconds kPollInterval{88};
    static constexpr std::chrono::milliseconds kSwitchGap{10};

    FakeHopvane(FakeClock& clock, Start start, ProgramBehaviour behaviour = {});

    // Empty while no status name exists.
    const std::string& StatusName() const { return visible_; }
    int ChecksStarted() const { return checksStarted_; }
    bool IsRequested(std::string_view request) const;
    // Every name the tool asked to create, in order.
    const std::vector<std::string>& CreatedNames() const { return createdNames_; }

    Created Create(std::string_view name) override;
    void Close(Handle handle) override;
    bool Exists(std::string_view name) override;

private:
    void RunUntil(std::chrono::milliseconds elapsed);
    void Poll();
    void StartCheck();
    void SwitchTo(const char* name);
    // Published once a switch in progress has ended, as the program answers
    // after its status name changed.
    void Answer();

    ProgramBehaviour behaviour_;
    bool running_ = true;
    bool switchOn_ = true;
    std::string answer_;
    std::string pendingAnswer_;
    // Held for two polls when a check ends without a proxy.
    std::string note_;
    int notePolls_ = 0;
    int answerPolls_ = 0;
    std::chrono::milliseconds now_{0};
    std::chrono::milliseconds nextPoll_ = kPollInterval;
    std::optional<std::chrono::milliseconds> checkEnd_;
    std::optional<std::chrono::milliseconds> switchEnd_;
    // The name switched to, which becomes visible once the switch ends.
    std::string state_;
    std::string visible_;
    int checksStarted_ = 0;
    std::map<Handle, std::string> toolHandles_;
    Handle nextHandle_ = 1;
    std::vector<std::string> createdNames_;
};

} // namespace hopvane_ctl_test
