#pragma once

#include "platform/clipboard.h"

namespace app {

// The display server's clipboard, which only the window toolkit can reach.
class QtClipboard final : public platform::Clipboard {
public:
    void SetText(const std::string& utf8) override;
};

} // namespace app
