#pragma once

#include "platform/internet_settings.h"
#include "platform/registry.h"

namespace platform {

// Hands the proxy of the hive's Internet Settings on to GNOME and KDE, which
// know nothing of the hive.
class DesktopInternetSettings final : public InternetSettings {
public:
    explicit DesktopInternetSettings(Registry& registry) : registry_(registry) {}
    void NotifySettingsChanged() override;

private:
    Registry& registry_;
};

} // namespace platform
