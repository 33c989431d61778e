#pragma once

#include "switching/hand_over.h"

#include <cstddef>
#include <functional>
#include <list>
#include <optional>
#include <thread>

namespace switching {

// Probes on threads of their own, each answering on the user-interface thread
// through the hand-over. Every call comes on the user-interface thread.
class HandedOverProbes {
public:
    // The probe's result; none when it could not be made at all.
    using Answer = std::function<void(std::optional<bool> passed)>;

    explicit HandedOverProbes(HandOver& handOver) : handOver_(handOver) {}
    // Waits for the probes still out, carrying out hand-overs.
    ~HandedOverProbes() { WaitForAll(); }
    HandedOverProbes(const HandedOverProbes&) = delete;
    HandedOverProbes& operator=(const HandedOverProbes&) = delete;

    void Start(std::function<bool()> probe, Answer answer);
    // Probes whose threads have not ended yet: each may hold a socket.
    std::size_t Out();
    void WaitForAll();

private:
    struct ProbeThread {
        bool finished = false;
        std::thread thread;
    };

    void JoinFinished();

    HandOver& handOver_;
    std::list<ProbeThread> threads_;
};

} // namespace switching
