#include "platform/profile.h"

#include "platform/utf16_units.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <vector>

namespace platform {

namespace {

class PrivateProfile final : public Profile {
public:
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferChars,
                           const std::string& path) override
    {
        std::vector<wchar_t> buffer(bufferChars + 1, L'\0');
        const DWORD copied =
            GetPrivateProfileStringW(win32::ToWide(section).c_str(), win32::ToWide(key).c_str(),
                                     win32::ToWide(defaultValue).c_str(), buffer.data(),
                                     static_cast<DWORD>(bufferChars), win32::ToWide(path).c_str());
        std::wstring_view value(buffer.data(), copied);
        // A cut through a surrogate pair leaves half a character; it goes.
        if (!value.empty() && IsHighSurrogate(value.back()))
            value.remove_suffix(1);
        return win32::FromWide(value);
    }

    bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                     const std::string& path) override
    {
        return WritePrivateProfileStringW(win32::ToWide(section).c_str(),
                                          win32::ToWide(key).c_str(), win32::ToWide(value).c_str(),
                                          win32::ToWide(path).c_str()) != 0;
    }

    void Flush(const std::string& path) override
    {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, win32::ToWide(path).c_str());
    }
};

} // namespace

Profile& SystemProfile()
{
    static PrivateProfile profile;
    return profile;
}

} // namespace platform
