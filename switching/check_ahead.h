#pragma once

#include "switching/hand_over.h"
#include "switching/proxy_address.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace switching {

struct CheckAheadLimits {
    // Probes at once, beside the cycle's own.
    std::size_t parallel = 16;
    // Entries after the current one that are looked at.
    std::size_t window = 32;
    // How long an answer stands for the entry.
    std::chrono::milliseconds freshFor{120000};
};

// Probes the entries after the current one for reachability, a bounded
// number at once, so that the cycle finds a dead entry's answer waiting
// instead of waiting for it. It writes nothing: its answers only let the
// cycle fail an entry at once that its own probe would fail. Every call
// comes on the user-interface thread; its probes meet it only through the
// hand-over.
class CheckAhead {
public:
    using Limits = CheckAheadLimits;
    using Probe = std::function<bool(const ProxyAddress& proxy, const std::string& testUrl)>;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    CheckAhead(HandOver& handOver, Probe probe, Limits limits = {},
               Clock clock = std::chrono::steady_clock::now);
    // Waits for the probes still out, carrying out hand-overs.
    ~CheckAhead();
    CheckAhead(const CheckAhead&) = delete;
    CheckAhead& operator=(const CheckAhead&) = delete;

    // The entries after the current one, in list order: starts probes of
    // those within the window that have no fresh answer and none coming.
    void LookAhead(const std::vector<std::string>& following, const std::string& testUrl);
    // A fresh answer says the entry failed.
    bool FailedRecently(const std::string& entry) const;
    // Forgets every answer and starts nothing more until the next LookAhead;
    // probes still out end in their own time and their answers are dropped.
    void Stop();
    // Stop, then waits for the probes still out.
    void StopAndWait();
    std::size_t ProbesOut() const { return probes_.size(); }
    std::size_t Window() const { return limits_.window; }

private:
    struct Answer {
        bool passed;
        std::chrono::steady_clock::time_point at;
    };
    struct ProbeThread {
        std::string entry;
        unsigned generation;
        bool finished = false;
        std::thread thread;
    };

    // On the probe's thread: hands its answer over, if it has one.
    void Finish(ProbeThread& probe, std::optional<bool> passed);
    bool IsFresh(const Answer& answer) const;
    bool IsOut(const std::string& entry) const;
    void JoinFinished();

    HandOver& handOver_;
    Probe probe_;
    Limits limits_;
    Clock clock_;
    // Answers and probes of earlier generations are dropped.
    unsigned generation_ = 0;
    std::map<std::string, Answer> answers_;
    std::list<ProbeThread> probes_;
};

} // namespace switching
