#pragma once

#include "platform/win_error.h"

#include <cstdint>
#include <string_view>

namespace platform {

// Named kernel mutexes as CreateMutexW / CloseHandle / GetLastError offer
// them. Other programs only look at whether a name exists, so that is all the
// interface carries: a name exists while at least one handle to it is open in
// any process of the user's session.
class NamedMutexes {
public:
    using Handle = std::uintptr_t;
    static constexpr Handle kNoHandle = 0;

    struct Created {
        Handle handle = kNoHandle;
        // kErrorAlreadyExists when the name was held already (the handle then
        // refers to the existing mutex); kErrorSuccess for a new one; any other
        // code comes with no handle.
        WinError lastError = kErrorSuccess;
    };

    virtual ~NamedMutexes() = default;

    // Default security, initial ownership requested.
    virtual Created Create(std::string_view name) = 0;
    virtual void Close(Handle handle) = 0;
    virtual bool Exists(std::string_view name) = 0;
};

NamedMutexes& SystemNamedMutexes();

} // namespace platform
