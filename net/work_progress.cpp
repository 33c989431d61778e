#include "net/work_progress.h"

#include <utility>

namespace net {

void WorkProgress::SetCallbacks(ProgressCallback progress, BeginCallback begin, EndCallback end)
{
    progress_ = std::move(progress);
    begin_ = std::move(begin);
    end_ = std::move(end);
}

void WorkProgress::BeginWork(WorkMode mode, std::int64_t expectedTotal)
{
    if (level_++ > 0)
        return;
    mode_ = mode;
    count_ = 0;
    expectedTotal_ = expectedTotal;
    if (begin_)
        begin_(mode_, expectedTotal_);
}

void WorkProgress::EndWork()
{
    if (level_ == 0 || --level_ > 0)
        return;
    if (end_)
        end_(mode_);
}

void WorkProgress::Taken(std::size_t byteCount)
{
    if (level_ == 0 || byteCount == 0)
        return;
    count_ += static_cast<std::int64_t>(byteCount);
    if (progress_)
        progress_(mode_, count_);
}

} // namespace net
