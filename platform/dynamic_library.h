#pragma once

#include <memory>
#include <string>

namespace platform {

// A shared library loaded at run time by its file name, searched the way the
// system searches for libraries.
class DynamicLibrary {
public:
    // None when the library cannot be loaded.
    static std::unique_ptr<DynamicLibrary> Open(const std::string& fileName);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported function or object; null when missing.
    void* Symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}

    void* handle_;
};

} // namespace platform
