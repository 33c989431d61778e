#include "sysproxy/proxy_owner.h"

#include <cstdio>
#include <random>

namespace sysproxy {

namespace {

// Random rather than the process number, which a later copy may be given
// again after a crash.
std::string NewOwnerName()
{
    std::random_device random;
    char text[40];
    std::snprintf(text, sizeof text, "Hopvane_copy_%08x%08x", random(), random());
    return text;
}

} // namespace

ProxyOwner::ProxyOwner(platform::NamedMutexes& mutexes) : mutexes_(mutexes)
{
    for (int tries = 0; tries < 4 && handle_ == platform::NamedMutexes::kNoHandle; ++tries) {
        name_ = NewOwnerName();
        const platform::NamedMutexes::Created created = mutexes_.Create(name_);
        if (created.lastError == platform::kErrorAlreadyExists)
            mutexes_.Close(created.handle);
        else
            handle_ = created.handle;
    }
}

ProxyOwner::~ProxyOwner()
{
    if (handle_ != platform::NamedMutexes::kNoHandle)
        mutexes_.Close(handle_);
}

} // namespace sysproxy
