#pragma once

#include "switching/hand_over.h"
#include "switching/handed_over_probes.h"
#include "switching/proxy_address.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace switching {

struct CheckAheadLimits {
    // Probes at once: with the cycle's own and the applied proxy's health
    // probe, the program never holds more than 17 connections.
    std::size_t parallel = 15;
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

    // The entries after the current one, in list order: starts probes of
    // those within the window that have no fresh answer and none coming.
    void LookAhead(const std::vector<std::string>& following, const std::string& testUrl);
    // A fresh answer says the entry failed.
    bool FailedRecently(const std::string& entry) const;
    // A probe of the entry is out, and its answer will count.
    bool Probing(const std::string& entry) const;
    // Forgets every answer and starts nothing more until the next LookAhead;
    // probes still out end in their own time and their answers are dropped.
    void Stop();
    // Stop, then waits for the probes still out.
    void StopAndWait();
    std::size_t ProbesOut() { return probes_.Out(); }
    std::size_t Window() const { return limits_.window; }

private:
    struct Answer {
        bool passed;
        std::chrono::steady_clock::time_point at;
    };

    bool IsFresh(const Answer& answer) const;

    Probe probe_;
    Limits limits_;
    Clock clock_;
    // Answers and probes of earlier generations are dropped.
    unsigned generation_ = 0;
    std::map<std::string, Answer> answers_;
    // The entries whose probes are out, with their generation.
    std::vector<std::pair<std::string, unsigned>> out_;
    // Last, so that it goes first: its probes' answers still reach the rest.
    HandedOverProbes probes_;
};

} // namespace switching
