#include "settings/config_window_logic.h"

#include "settings/default_test_urls.h"

namespace settings {

ConfigWindowLogic::ConfigWindowLogic(TestUrlStore store) : store_(std::move(store)) {}

std::string ConfigWindowLogic::FormShow() const
{
    return store_.Read(PlainDefaultTestUrl());
}

void ConfigWindowLogic::AdvMetroButton1Click(const std::string& urlset) const
{
    store_.Write(urlset);
}

std::string ConfigWindowLogic::AdvMetroButton2Click() const
{
    return store_.Read(PlainDefaultTestUrl());
}

std::string ConfigWindowLogic::AdvMetroButton3Click() const
{
    return PlainDefaultTestUrl();
}

} // namespace settings
