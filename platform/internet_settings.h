#pragma once

namespace platform {

// The current user's key that holds the system-wide web proxy (ProxyServer,
// ProxyEnable); the leading backslash of "\Software\..." only marks it as
// absolute from the hive root.
inline constexpr char kInternetSettingsKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Announces changed proxy settings to the system's web stack
// (InternetSetOptionW with INTERNET_OPTION_SETTINGS_CHANGED). The result is
// never needed.
class InternetSettings {
public:
    virtual ~InternetSettings() = default;
    virtual void NotifySettingsChanged() = 0;
};

InternetSettings& SystemInternetSettings();

} // namespace platform
