#include "tests/tools/fake_hopvane.h"

#include "tools/hopvane_ctl/mutex_names.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace hopvane_ctl_test {

using hopvane_ctl::kRequestNext;
using hopvane_ctl::kRequestOff;
using hopvane_ctl::kRequestOn;
using hopvane_ctl::kStatusChange;
using hopvane_ctl::kStatusOff;
using hopvane_ctl::kStatusOk;

FakeHopvane::FakeHopvane(FakeClock& clock, Start start, ProgramBehaviour behaviour)
    : behaviour_(behaviour), now_(clock.Elapsed())
{
    clock.Follow([this](std::chrono::milliseconds elapsed) { RunUntil(elapsed); });
    switch (start) {
    case Start::kNotRunning:
        running_ = false;
        break;
    case Start::kOff:
        switchOn_ = false;
        state_ = kStatusOff;
        break;
    case Start::kOnWithNothing:
        behaviour_.hasEntries = false;
        state_ = kStatusOff;
        break;
    case Start::kRanOut:
        state_ = kStatusChange;
        break;
    case Start::kChecking:
        state_ = kStatusChange;
        checkEnd_ = now_ + behaviour_.checkTime;
        break;
    case Start::kOk:
        state_ = kStatusOk;
        break;
    }
    visible_ = state_;
}

bool FakeHopvane::IsRequested(std::string_view request) const
{
    return std::any_of(toolHandles_.begin(), toolHandles_.end(),
                       [&](const auto& held) { return held.second == request; });
}

platform::NamedMutexes::Created FakeHopvane::Create(std::string_view name)
{
    createdNames_.emplace_back(name);
    if (name == kStatusOff || name == kStatusChange || name == kStatusOk)
        ADD_FAILURE() << "the tool opened the status name " << name;
    if (behaviour_.refusesNames)
        return {kNoHandle, platform::kErrorAccessDenied};
    const bool existed = Exists(name);
    toolHandles_[nextHandle_] = std::string(name);
    return {nextHandle_++, existed ? platform::kErrorAlreadyExists : platform::kErrorSuccess};
}

void FakeHopvane::Close(Handle handle)
{
    toolHandles_.erase(handle);
}

bool FakeHopvane::Exists(std::string_view name)
{
    return (!visible_.empty() && visible_ == name) || (!answer_.empty() && answer_ == name) ||
           (!note_.empty() && note_ == name) || IsRequested(name);
}

void FakeHopvane::RunUntil(std::chrono::milliseconds elapsed)
{
    while (running_) {
        auto next = nextPoll_;
        for (const auto& event : {checkEnd_, switchEnd_, behaviour_.switchOffAt}) {
            if (event)
                next = std::min(next, *event);
        }
        if (next > elapsed)
            break;
        now_ = next;
        if (switchEnd_ == now_) {
            switchEnd_.reset();
            visible_ = state_;
            if (!pendingAnswer_.empty())
                answer_ = std::move(pendingAnswer_);
            pendingAnswer_.clear();
        } else if (behaviour_.switchOffAt == now_) {
            behaviour_.switchOffAt.reset();
            checkEnd_.reset();
            switchOn_ = false;
            SwitchTo(kStatusOff);
        } else if (checkEnd_ == now_) {
            checkEnd_.reset();
            if (behaviour_.checkFindsProxy) {
                SwitchTo(kStatusOk);
            } else {
                note_ = hopvane_ctl::kNoteNoProxyFound;
                notePolls_ = 0;
            }
        } else {
            nextPoll_ += kPollInterval;
            Poll();
        }
    }
    now_ = elapsed;
}

void FakeHopvane::Poll()
{
    if (!answer_.empty() && ++answerPolls_ >= 2)
        answer_.clear();
    if (!note_.empty() && ++notePolls_ >= 2)
        note_.clear();
    if (!behaviour_.actsOnRequests)
        return;
    if (IsRequested(kRequestOff)) {
        if (switchOn_) {
            switchOn_ = false;
            checkEnd_.reset();
            SwitchTo(kStatusOff);
        }
        Answer();
    } else if (IsRequested(kRequestOn)) {
        if (!switchOn_) {
            switchOn_ = true;
            if (behaviour_.hasEntries)
                StartCheck();
        }
        Answer();
    } else if (IsRequested(kRequestNext) && !(switchOn_ && checkEnd_)) {
        if (switchOn_ && behaviour_.hasEntries)
            StartCheck();
        Answer();
    }
}

void FakeHopvane::Answer()
{
    answerPolls_ = 0;
    std::string answer = !switchOn_            ? hopvane_ctl::kAnswerOff
                         : checkEnd_           ? hopvane_ctl::kAnswerChecking
                         : state_ == kStatusOk ? hopvane_ctl::kAnswerApplied
                                               : hopvane_ctl::kAnswerIdle;
    if (switchEnd_)
        pendingAnswer_ = std::move(answer);
    else
        answer_ = std::move(answer);
}

void FakeHopvane::StartCheck()
{
    ++checksStarted_;
    checkEnd_ = now_ + behaviour_.checkTime;
    SwitchTo(kStatusChange);
}

void FakeHopvane::SwitchTo(const char* name)
{
    state_ = name;
    visible_.clear();
    switchEnd_ = now_ + kSwitchGap;
}

} // namespace hopvane_ctl_test
