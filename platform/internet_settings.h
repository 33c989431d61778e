#pragma once

namespace platform {

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
