#pragma once

#include <string>

namespace app {

// What the main window's logic changes in the window. The window implements
// it; tests record it.
class MainView {
public:
    virtual ~MainView() = default;

    virtual void SetProxyUpdateText(const std::string& text) = 0; // txProxyUpdate
    virtual void SetCountText(const std::string& text) = 0;       // count
    virtual void SetSystemText(const std::string& text) = 0;      // systemtxt
    virtual void SetMutexText(const std::string& text) = 0;       // txtMutex
    virtual void SetChangedText(const std::string& text) = 0;     // txtChanged
    virtual void SetTestUrl(const std::string& url) = 0;          // urlset of TFrmConfig
    // A modal box with an OK button and no icon.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
};

} // namespace app
