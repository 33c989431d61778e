#pragma once

#include <functional>

namespace switching {

// The one way the check cycle's worker and the user-interface thread meet:
// the worker hands work over and waits until it has been carried out; the
// user-interface thread carries hand-overs out, also while it waits for the
// worker, so the two never wait for each other.
class HandOver {
public:
    virtual ~HandOver() = default;

    // From the worker: runs the work on the user-interface thread and returns
    // once it has run. What the work throws is thrown here.
    virtual void Run(const std::function<void()>& work) = 0;

    // On the user-interface thread: carries out hand-overs (and nothing the
    // user does) until done() is true.
    virtual void RunUntil(const std::function<bool()>& done) = 0;
};

} // namespace switching
