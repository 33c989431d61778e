#include "switching/check_ahead.h"

#include <algorithm>
#include <utility>

namespace switching {

CheckAhead::CheckAhead(HandOver& handOver, Probe probe, Limits limits, Clock clock)
    : handOver_(handOver), probe_(std::move(probe)), limits_(limits), clock_(std::move(clock))
{
}

CheckAhead::~CheckAhead()
{
    StopAndWait();
}

void CheckAhead::LookAhead(const std::vector<std::string>& following, const std::string& testUrl)
{
    JoinFinished();
    const std::size_t looked = std::min(following.size(), limits_.window);
    for (std::size_t i = 0; i < looked && probes_.size() < limits_.parallel; ++i) {
        const std::string& entry = following[i];
        const auto answer = answers_.find(entry);
        if ((answer != answers_.end() && IsFresh(answer->second)) || IsOut(entry))
            continue;
        // An entry no setting could name fails without a probe in the cycle.
        const ProxyAddress address = SplitProxyEntry(entry);
        if (!ServerToApply(address))
            continue;
        ProbeThread& started = probes_.emplace_back(ProbeThread{entry, generation_, false, {}});
        started.thread = std::thread([this, &started, address, testUrl] {
            bool passed = false;
            try {
                passed = probe_(address, testUrl);
            } catch (...) {
                // A probe that cannot be made is no answer to go by.
                return Finish(started, std::nullopt);
            }
            Finish(started, passed);
        });
    }
}

void CheckAhead::Finish(ProbeThread& probe, std::optional<bool> passed)
{
    handOver_.Run([this, &probe, passed] {
        probe.finished = true;
        if (passed && probe.generation == generation_)
            answers_[probe.entry] = Answer{*passed, clock_()};
    });
}

bool CheckAhead::FailedRecently(const std::string& entry) const
{
    const auto answer = answers_.find(entry);
    return answer != answers_.end() && !answer->second.passed && IsFresh(answer->second);
}

void CheckAhead::Stop()
{
    ++generation_;
    answers_.clear();
    JoinFinished();
}

void CheckAhead::StopAndWait()
{
    Stop();
    handOver_.RunUntil([this] {
        return std::all_of(probes_.begin(), probes_.end(),
                           [](const ProbeThread& probe) { return probe.finished; });
    });
    JoinFinished();
}

bool CheckAhead::IsFresh(const Answer& answer) const
{
    return clock_() - answer.at < limits_.freshFor;
}

bool CheckAhead::IsOut(const std::string& entry) const
{
    return std::any_of(probes_.begin(), probes_.end(), [&](const ProbeThread& probe) {
        return !probe.finished && probe.generation == generation_ && probe.entry == entry;
    });
}

void CheckAhead::JoinFinished()
{
    // A finished probe's thread has only its return left to make.
    for (auto probe = probes_.begin(); probe != probes_.end();) {
        if (probe->finished) {
            probe->thread.join();
            probe = probes_.erase(probe);
        } else {
            ++probe;
        }
    }
}

} // namespace switching
