#pragma once

#include "settings/test_url_store.h"

#include <string>

namespace settings {

// The work of the configuration window's handlers, without the window; each
// returns the text the edit box `urlset` must show.
class ConfigWindowLogic {
public:
    explicit ConfigWindowLogic(TestUrlStore store);

    std::string FormShow() const;
    // Apply: stores the text; EIniFileException when the file can't be written.
    void AdvMetroButton1Click(const std::string& urlset) const;
    // Cancel
    std::string AdvMetroButton2Click() const;
    // Reset: nothing is stored.
    std::string AdvMetroButton3Click() const;

private:
    TestUrlStore store_;
};

} // namespace settings
