#include "platform/environment.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace platform {

namespace {

#ifdef _WIN32
constexpr const char* kFolderSeparators = "\\/";
#else
constexpr const char* kFolderSeparators = "/";
#endif

} // namespace

std::string IniPathForExecutable(const std::string& executablePath)
{
    const auto separator = executablePath.find_last_of(kFolderSeparators);
    const std::size_t fileNameStart = separator == std::string::npos ? 0 : separator + 1;
    const auto dot = executablePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot >= fileNameStart;
    return (hasExtension ? executablePath.substr(0, dot) : executablePath) + ".ini";
}

std::string SettingsIniPath(const std::string& executablePath)
{
    const std::string besideExecutable = IniPathForExecutable(executablePath);
    const auto separator = besideExecutable.find_last_of(kFolderSeparators);
    const std::string folder =
        separator == std::string::npos ? "." : besideExecutable.substr(0, separator);
    if (FolderIsWritable(folder))
        return besideExecutable;
    const std::string userFolder = ServiceStateFolder();
    MakeDataFolder(userFolder);
    return userFolder + PathSeparator() +
           besideExecutable.substr(separator == std::string::npos ? 0 : separator + 1);
}

} // namespace platform
