#include "platform/named_mutexes.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform {

namespace {

class KernelMutexes final : public NamedMutexes {
public:
    Created Create(std::string_view name) override
    {
        const std::wstring wideName = win32::ToWide(name);
        // An empty name makes an unnamed mutex.
        const HANDLE handle =
            CreateMutexW(nullptr, TRUE, name.empty() ? nullptr : wideName.c_str());
        const DWORD error = GetLastError();
        if (!handle)
            return {kNoHandle, static_cast<WinError>(error)};
        return {reinterpret_cast<Handle>(handle),
                error == ERROR_ALREADY_EXISTS ? kErrorAlreadyExists : kErrorSuccess};
    }

    void Close(Handle handle) override { CloseHandle(reinterpret_cast<HANDLE>(handle)); }

    bool Exists(std::string_view name) override
    {
        if (name.empty())
            return false;
        const HANDLE handle = OpenMutexW(SYNCHRONIZE, FALSE, win32::ToWide(name).c_str());
        if (!handle)
            // A mutex of somebody who keeps others out still has its name.
            return GetLastError() == ERROR_ACCESS_DENIED;
        CloseHandle(handle);
        return true;
    }
};

} // namespace

NamedMutexes& SystemNamedMutexes()
{
    static KernelMutexes mutexes;
    return mutexes;
}

} // namespace platform
