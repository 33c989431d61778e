#pragma once

#include "platform/named_mutexes.h"

#include <string>

namespace sysproxy {

// This copy of the program as the owner that a note of an applied proxy
// names: a name of its own, held for the copy's whole life, which the system
// lets go however the copy ends. A name that exists is a copy that runs.
class ProxyOwner {
public:
    explicit ProxyOwner(platform::NamedMutexes& mutexes);
    ~ProxyOwner();
    ProxyOwner(const ProxyOwner&) = delete;
    ProxyOwner& operator=(const ProxyOwner&) = delete;

    const std::string& Name() const { return name_; }

private:
    platform::NamedMutexes& mutexes_;
    std::string name_;
    platform::NamedMutexes::Handle handle_ = platform::NamedMutexes::kNoHandle;
};

} // namespace sysproxy
