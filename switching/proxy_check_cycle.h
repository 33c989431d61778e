#pragma once

#include "switching/check_ahead.h"
#include "switching/check_cycle_host.h"
#include "switching/hand_over.h"
#include "switching/proxy_address.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace switching {

// The probes a run makes, on the worker thread.
struct CheckProbes {
    std::function<bool(const ProxyAddress& proxy, const std::string& testUrl)> testProxy;
    std::function<bool(SpeedTestDisplay& display)> downloadSpeedTest;
    std::function<std::string(const ProxyAddress& proxy)> getGeoInfo;
    // The address the service sees a request through the proxy come from;
    // empty when it cannot be asked.
    std::function<std::string(const ProxyAddress& proxy)> getExitAddress;
};

// `ProxyCheckThread`: a worker that tests the current proxy entry again and
// again, blacklisting each that fails, until one passes and is applied, the
// list runs out or the cycle is stopped. Start, Stop and Active belong to
// the user-interface thread; every change a run makes is handed over to it.
class ProxyCheckCycle {
public:
    ProxyCheckCycle(HandOver& handOver, CheckCycleHost& host, CheckProbes probes,
                    CheckAheadLimits checkAheadLimits = {});
    // Stops the cycle and waits for a run in progress to return.
    ~ProxyCheckCycle();
    ProxyCheckCycle(const ProxyCheckCycle&) = delete;
    ProxyCheckCycle& operator=(const ProxyCheckCycle&) = delete;

    // Nothing while active. Otherwise waits for the last run of an earlier
    // worker to return, carrying out its hand-overs, then starts a new one.
    void Start();
    // No further run begins, and a run in progress changes nothing more.
    // Never waits.
    void Stop();
    // From a start until the cycle stops: by a stop, by itself (a proxy
    // applied, the list run out) or by an error.
    bool Active() const { return active_; }
    // Whether a start is waiting for an earlier worker's last run.
    bool Waiting() const { return waiting_; }
    // No run is in progress, not even a finishing one.
    bool Idle() const;
    // Stops the cycle and waits for a run in progress to return.
    void StopAndWait();
    // While switched on, between runs too: probes the entries ahead that
    // have no fresh answer, as far as the check ahead's limits allow.
    void LookAhead();

private:
    struct Worker;

    void WaitForWorker();
    void Work(Worker& worker);
    void Run(Worker& worker);
    // Runs the work on the user-interface thread unless the worker has been
    // stopped from outside; false when it was.
    bool OnUi(Worker& worker, const std::function<void()>& work);
    void Fail(Worker& worker, const std::string& entry);

    HandOver& handOver_;
    CheckCycleHost& host_;
    CheckProbes probes_;
    // Left out of the walk's outcome: an answer it gives only lets a run
    // fail an entry at once that its own probe would fail.
    CheckAhead checkAhead_;
    bool checkingAhead_ = false;
    bool active_ = false;
    bool waiting_ = false;
    unsigned stops_ = 0;
    // Entries already blacklisted that failed again since the start: each is
    // tested once more, then passed over.
    std::vector<std::string> retested_;
    std::unique_ptr<Worker> worker_;
};

} // namespace switching
