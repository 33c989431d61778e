#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::string& fileName)
{
    void* handle = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary()
{
    dlclose(handle_);
}

void* DynamicLibrary::Symbol(const char* name) const
{
    return dlsym(handle_, name);
}

} // namespace platform
