#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace net {

enum class WorkMode { Read, Write };

// The units of work of one client and their running count. Units nest: only
// the outermost one resets the count, sets the expected total and is
// announced.
class WorkProgress {
public:
    using ProgressCallback = std::function<void(WorkMode, std::int64_t count)>;
    using BeginCallback = std::function<void(WorkMode, std::int64_t expectedTotal)>;
    using EndCallback = std::function<void(WorkMode)>;

    void SetCallbacks(ProgressCallback progress, BeginCallback begin, EndCallback end);

    void BeginWork(WorkMode mode, std::int64_t expectedTotal);
    void EndWork();
    // Bytes taken out of the receive buffer: counted and reported while a
    // unit is open, ignored otherwise.
    void Taken(std::size_t byteCount);

    bool InUnit() const { return level_ > 0; }
    std::int64_t Count() const { return count_; }
    std::int64_t ExpectedTotal() const { return expectedTotal_; }

private:
    ProgressCallback progress_;
    BeginCallback begin_;
    EndCallback end_;
    int level_ = 0;
    WorkMode mode_ = WorkMode::Read;
    std::int64_t count_ = 0;
    std::int64_t expectedTotal_ = 0;
};

// Runs work as one unit, which ends also when work throws.
template <typename Work>
void InWorkUnit(WorkProgress& progress, WorkMode mode, std::int64_t expectedTotal, Work&& work)
{
    progress.BeginWork(mode, expectedTotal);
    try {
        work();
    } catch (...) {
        progress.EndWork();
        throw;
    }
    progress.EndWork();
}

} // namespace net
