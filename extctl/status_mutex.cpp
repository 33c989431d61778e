#include "extctl/status_mutex.h"

namespace extctl {

StatusMutex::StatusMutex(platform::NamedMutexes& mutexes) : mutexes_(mutexes) {}

std::string StatusMutex::SwitchTo(const std::string& name)
{
    if (HoldsHandle()) {
        mutexes_.Close(handle_);
        handle_ = platform::NamedMutexes::kNoHandle;
    }
    // A name held by another copy of the program yields a handle to it,
    // which keeps it alive just the same.
    handle_ = mutexes_.Create(name).handle;
    name_ = name;
    return name;
}

} // namespace extctl
