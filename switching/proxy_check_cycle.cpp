#include "switching/proxy_check_cycle.h"

#include "platform/text_case.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace switching {

// How often a run looks whether the answer of a probe ahead has come.
constexpr std::chrono::milliseconds kAheadAnswerPoll(20);

struct ProxyCheckCycle::Worker {
    std::thread thread;
    // Both only touched on the user-interface thread.
    bool stoppedFromOutside = false;
    bool finished = false;
};

namespace {

// The speed test's display on the worker: each change is handed over, in
// the order made.
class HandedOverDisplay final : public SpeedTestDisplay {
public:
    using OnUi = std::function<void(const std::function<void()>&)>;

    HandedOverDisplay(SpeedTestDisplay& display, OnUi onUi)
        : display_(display), onUi_(std::move(onUi))
    {
    }

    void ShowProgress(std::int32_t maximum, std::int32_t position) override
    {
        onUi_([&] { display_.ShowProgress(maximum, position); });
    }
    void ResetProgress() override
    {
        onUi_([&] { display_.ResetProgress(); });
    }
    void ShowSpeed(const std::string& text) override
    {
        onUi_([&] { display_.ShowSpeed(text); });
    }

private:
    SpeedTestDisplay& display_;
    OnUi onUi_;
};

} // namespace

ProxyCheckCycle::ProxyCheckCycle(HandOver& handOver, CheckCycleHost& host, CheckProbes probes,
                                 CheckAheadLimits checkAheadLimits)
    : handOver_(handOver), host_(host), probes_(std::move(probes)),
      checkAhead_(handOver, probes_.testProxy, checkAheadLimits)
{
}

ProxyCheckCycle::~ProxyCheckCycle()
{
    StopAndWait();
}

void ProxyCheckCycle::Start()
{
    // A start asked for while another waits is that start's to make.
    if (active_ || waiting_)
        return;
    const unsigned stopsBefore = stops_;
    WaitForWorker();
    if (stops_ != stopsBefore)
        return;
    retested_.clear();
    checkingAhead_ = host_.CheckAheadWanted();
    active_ = true;
    worker_ = std::make_unique<Worker>();
    Worker* worker = worker_.get();
    worker->thread = std::thread([this, worker] { Work(*worker); });
}

void ProxyCheckCycle::Stop()
{
    ++stops_;
    active_ = false;
    checkingAhead_ = false;
    checkAhead_.Stop();
    if (worker_)
        worker_->stoppedFromOutside = true;
}

bool ProxyCheckCycle::Idle() const
{
    return !worker_ || worker_->finished;
}

void ProxyCheckCycle::StopAndWait()
{
    Stop();
    if (!waiting_)
        WaitForWorker();
    checkAhead_.StopAndWait();
}

void ProxyCheckCycle::LookAhead()
{
    if (checkingAhead_)
        checkAhead_.LookAhead(host_.EntriesAhead(checkAhead_.Window()), host_.TestUrl());
}

void ProxyCheckCycle::WaitForWorker()
{
    if (!worker_)
        return;
    waiting_ = true;
    Worker* worker = worker_.get();
    handOver_.RunUntil([worker] { return worker->finished; });
    waiting_ = false;
    worker->thread.join();
    worker_.reset();
}

void ProxyCheckCycle::Work(Worker& worker)
{
    try {
        for (;;) {
            bool goOn = false;
            handOver_.Run([&] { goOn = active_ && !worker.stoppedFromOutside; });
            if (!goOn)
                break;
            Run(worker);
        }
    } catch (...) {
        // An error ends the cycle without a word; the labels keep their texts.
        handOver_.Run([this] { active_ = false; });
    }
    handOver_.Run([&worker] { worker.finished = true; });
}

bool ProxyCheckCycle::OnUi(Worker& worker, const std::function<void()>& work)
{
    bool ran = false;
    handOver_.Run([&] {
        if (worker.stoppedFromOutside)
            return;
        work();
        ran = true;
    });
    return ran;
}

void ProxyCheckCycle::Run(Worker& worker)
{
    std::string entry;
    ProxyAddress proxy;
    std::string testUrl;
    bool failedAhead = false;
    bool probingAhead = false;
    std::string ownAddress;
    if (!OnUi(worker, [&] {
            entry = host_.CurrentProxyEntry();
            ownAddress = host_.OriginalAddress();
            proxy = SplitProxyEntry(entry);
            host_.RunStarting(proxy.host);
            testUrl = host_.TestUrl();
            failedAhead = checkingAhead_ && checkAhead_.FailedRecently(entry);
            probingAhead = checkingAhead_ && checkAhead_.Probing(entry);
            LookAhead();
        }))
        return;
    // A probe of the entry already out answers sooner than a new one would.
    while (probingAhead) {
        std::this_thread::sleep_for(kAheadAnswerPoll);
        if (!OnUi(worker, [&] {
                failedAhead = checkingAhead_ && checkAhead_.FailedRecently(entry);
                probingAhead = checkingAhead_ && checkAhead_.Probing(entry);
            }))
            return;
    }

    // An entry that no system setting could name would be applied as
    // something else than what was tested: it fails like any other. So does
    // one that failed when probed ahead: its own probe would fail too.
    const std::optional<platform::ProxyServer> server = ServerToApply(proxy);
    if (!server || failedAhead || !probes_.testProxy(proxy, testUrl)) {
        Fail(worker, entry);
        return;
    }
    if (!OnUi(worker, [&] { host_.ProxyOnline(proxy.host); }))
        return;

    // Only a proxy that hides the user changes the address sites see; with
    // the user's own address unknown there is nothing to compare.
    if (IsAddressText(ownAddress)) {
        const ExitAddress exit = JudgeExitAddress(probes_.getExitAddress(proxy), ownAddress);
        if (exit != ExitAddress::kOther) {
            if (OnUi(worker, [&] { host_.ExitNotHidden(exit); }))
                Fail(worker, entry);
            return;
        }
    }

    HandedOverDisplay display(host_,
                              [&](const std::function<void()>& change) { OnUi(worker, change); });
    if (!probes_.downloadSpeedTest(display)) {
        Fail(worker, entry);
        return;
    }

    // Deciding to apply and applying are one hand-over: neither a next-proxy
    // action nor a switch-off can come between them.
    if (!OnUi(worker, [&] {
            active_ = false;
            host_.ApplyProxy(entry, *server);
        }))
        return;
    const std::string geo = probes_.getGeoInfo(proxy);
    OnUi(worker, [&] { host_.ShowGeo(geo); });
}

void ProxyCheckCycle::Fail(Worker& worker, const std::string& entry)
{
    OnUi(worker, [&] {
        const CheckCycleHost::BlacklistOutcome outcome = host_.BlacklistProxy(entry);
        bool entrySelected = outcome.entrySelected;
        if (!outcome.moved) {
            const bool retestedOnce =
                std::any_of(retested_.begin(), retested_.end(), [&](const std::string& seen) {
                    return platform::EqualsIgnoreCase(seen, entry);
                });
            if (retestedOnce)
                entrySelected = host_.MoveSelectionOn();
            else
                retested_.push_back(entry);
        }
        if (!entrySelected) {
            active_ = false;
            host_.WalkEndedWithoutProxy();
        }
    });
}

} // namespace switching
