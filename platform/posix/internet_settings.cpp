#include "platform/internet_settings.h"

namespace platform {

namespace {

// No desktop on Linux reads the settings this program writes yet, so there
// is nobody to tell.
class SilentInternetSettings final : public InternetSettings {
public:
    void NotifySettingsChanged() override {}
};

} // namespace

InternetSettings& SystemInternetSettings()
{
    static SilentInternetSettings settings;
    return settings;
}

} // namespace platform
