#include "extctl/request_answer.h"

namespace extctl {

void RequestAnswer::Give(const std::string& answer)
{
    Withdraw();
    handle_ = mutexes_.Create(answer).handle;
    pollsHeld_ = 0;
}

void RequestAnswer::PollPassed()
{
    if (handle_ != platform::NamedMutexes::kNoHandle && ++pollsHeld_ >= 2)
        Withdraw();
}

void RequestAnswer::Withdraw()
{
    if (handle_ != platform::NamedMutexes::kNoHandle)
        mutexes_.Close(handle_);
    handle_ = platform::NamedMutexes::kNoHandle;
}

} // namespace extctl
