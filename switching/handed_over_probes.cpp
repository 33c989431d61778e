#include "switching/handed_over_probes.h"

#include <algorithm>
#include <utility>

namespace switching {

void HandedOverProbes::Start(std::function<bool()> probe, Answer answer)
{
    JoinFinished();
    ProbeThread& started = threads_.emplace_back();
    started.thread =
        std::thread([this, &started, probe = std::move(probe), answer = std::move(answer)] {
            std::optional<bool> passed;
            try {
                passed = probe();
            } catch (...) {
                // A probe that cannot be made is no answer to go by.
            }
            handOver_.Run([&] {
                started.finished = true;
                answer(passed);
            });
        });
}

std::size_t HandedOverProbes::Out()
{
    JoinFinished();
    return threads_.size();
}

void HandedOverProbes::WaitForAll()
{
    handOver_.RunUntil([this] {
        return std::all_of(threads_.begin(), threads_.end(),
                           [](const ProbeThread& probe) { return probe.finished; });
    });
    JoinFinished();
}

void HandedOverProbes::JoinFinished()
{
    // A finished probe's thread has only its return left to make.
    for (auto probe = threads_.begin(); probe != threads_.end();) {
        if (probe->finished) {
            probe->thread.join();
            probe = threads_.erase(probe);
        } else {
            ++probe;
        }
    }
}

} // namespace switching
