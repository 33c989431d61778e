#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// INI files as GetPrivateProfileStringW and WritePrivateProfileStringW treat
// them: sections and keys compare without regard to letter case, a missing
// file, section or key yields the default, and a write creates what it needs
// and leaves every other line alone.
class Profile {
public:
    virtual ~Profile() = default;

    // At most bufferChars - 1 UTF-16 code units of the value come back.
    virtual std::string ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue, std::size_t bufferChars,
                                   const std::string& path) = 0;
    // False when the file can't be written.
    virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                             const std::string& path) = 0;
    // Writes any cached copy of the file to disk (the all-NULL call).
    virtual void Flush(const std::string& path) = 0;
};

Profile& SystemProfile();

// The executable's path with the extension of its file name replaced by
// ".ini" (appended when the file name has no dot).
std::string IniPathForExecutable(const std::string& executablePath);

// Where the program keeps its settings file: beside the executable when that
// folder can be written (a portable copy), else under the same name in the
// user's own settings folder, which is made when missing (an installed copy
// in /usr/bin or Program Files).
std::string SettingsIniPath(const std::string& executablePath);

} // namespace platform
