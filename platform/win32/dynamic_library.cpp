#include "platform/dynamic_library.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& fileName)
{
    // A library that is missing or broken is an answer for the caller, not
    // a message box for the user.
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    const HMODULE handle = LoadLibraryW(win32::ToWide(fileName).c_str());
    SetThreadErrorMode(previousMode, nullptr);
    if (handle == nullptr)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary()
{
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* DynamicLibrary::Symbol(const char* name) const
{
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

} // namespace platform
