#include "platform/environment.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

#include <vector>

namespace platform {

namespace {

std::string ValueOrEmpty(const char* name)
{
    return EnvironmentValue(name).value_or(std::string());
}

} // namespace

char PathSeparator()
{
    return '\\';
}

std::optional<std::string> EnvironmentValue(const std::string& name)
{
    const std::wstring wideName = win32::ToWide(name);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer.data(),
                                                     static_cast<DWORD>(buffer.size()));
        // An empty value also gives 0, but leaves the error alone.
        if (length == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                            : std::optional<std::string>("");
        if (length < buffer.size())
            return win32::FromWide(std::wstring_view(buffer.data(), length));
        buffer.resize(length);
    }
}

std::string AppDataFolder()
{
    return ValueOrEmpty("APPDATA");
}

std::string TempFolder()
{
    return ValueOrEmpty("TEMP");
}

std::string DataFolder()
{
    return AppDataFolder() + "\\Hopvane\\";
}

std::string ServiceStateFolder()
{
    // Windows keeps the services' state itself; this is only somewhere of
    // the program's own.
    return AppDataFolder() + "\\Hopvane";
}

std::string RuntimeFolder()
{
    return TempFolder() + "\\Hopvane";
}

std::string ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        // A path that does not fit comes back cut, filling the buffer.
        if (length < buffer.size())
            return win32::FromWide(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace platform
