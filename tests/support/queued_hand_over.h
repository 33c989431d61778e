#pragma once

#include "switching/hand_over.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <stdexcept>

namespace test_support {

// The test's own thread plays the user-interface thread: a worker's
// hand-over waits in a queue until the test runs hand-overs.
class QueuedHandOver final : public switching::HandOver {
public:
    void Run(const std::function<void()>& work) override
    {
        Item item{&work, false, nullptr};
        std::unique_lock<std::mutex> lock(mutex_);
        queue_.push_back(&item);
        changed_.notify_all();
        changed_.wait(lock, [&] { return item.done; });
        if (item.error)
            std::rethrow_exception(item.error);
    }

    // Also looks at done() every few milliseconds, as a test may wait for
    // what a worker does between hand-overs. Throws when done() is not true
    // within a minute, so that a cycle that hangs fails its test.
    void RunUntil(const std::function<bool()>& done) override
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                throw std::runtime_error("what the test waits for did not come");
            Item* item = nullptr;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (!changed_.wait_for(lock, std::chrono::milliseconds(5),
                                       [&] { return !queue_.empty(); }))
                    continue;
                item = queue_.front();
                queue_.pop_front();
            }
            try {
                (*item->work)();
            } catch (...) {
                item->error = std::current_exception();
            }
            const std::lock_guard<std::mutex> lock(mutex_);
            item->done = true;
            changed_.notify_all();
        }
    }

private:
    struct Item {
        const std::function<void()>* work;
        bool done = false;
        std::exception_ptr error;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item*> queue_;
};

} // namespace test_support
