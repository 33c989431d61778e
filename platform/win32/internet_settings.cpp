#include "platform/internet_settings.h"

#include <windows.h>
#include <wininet.h>

namespace platform {

namespace {

class WinInetSettings final : public InternetSettings {
public:
    void NotifySettingsChanged() override
    {
        InternetSetOptionW(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
    }
};

} // namespace

InternetSettings& SystemInternetSettings()
{
    static WinInetSettings settings;
    return settings;
}

} // namespace platform
