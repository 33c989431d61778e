#include "switching/check_ahead.h"

#include <algorithm>

namespace switching {

CheckAhead::CheckAhead(HandOver& handOver, Probe probe, Limits limits, Clock clock)
    : probe_(std::move(probe)), limits_(limits), clock_(std::move(clock)), probes_(handOver)
{
}

void CheckAhead::LookAhead(const std::vector<std::string>& following, const std::string& testUrl)
{
    const std::size_t looked = std::min(following.size(), limits_.window);
    for (std::size_t i = 0; i < looked && probes_.Out() < limits_.parallel; ++i) {
        const std::string& entry = following[i];
        const auto answer = answers_.find(entry);
        const std::pair<std::string, unsigned> probe(entry, generation_);
        if ((answer != answers_.end() && IsFresh(answer->second)) ||
            std::find(out_.begin(), out_.end(), probe) != out_.end())
            continue;
        // An entry no setting could name fails without a probe in the cycle.
        const ProxyAddress address = SplitProxyEntry(entry);
        if (!ServerToApply(address))
            continue;
        out_.push_back(probe);
        probes_.Start([this, address, testUrl] { return probe_(address, testUrl); },
                      [this, probe](std::optional<bool> passed) {
                          out_.erase(std::find(out_.begin(), out_.end(), probe));
                          if (passed && probe.second == generation_)
                              answers_[probe.first] = Answer{*passed, clock_()};
                      });
    }
}

bool CheckAhead::FailedRecently(const std::string& entry) const
{
    const auto answer = answers_.find(entry);
    return answer != answers_.end() && !answer->second.passed && IsFresh(answer->second);
}

bool CheckAhead::Probing(const std::string& entry) const
{
    return std::find(out_.begin(), out_.end(), std::make_pair(entry, generation_)) != out_.end();
}

void CheckAhead::Stop()
{
    ++generation_;
    answers_.clear();
}

void CheckAhead::StopAndWait()
{
    Stop();
    probes_.WaitForAll();
}

bool CheckAhead::IsFresh(const Answer& answer) const
{
    return clock_() - answer.at < limits_.freshFor;
}

} // namespace switching
