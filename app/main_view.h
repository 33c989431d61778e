#pragma once

#include <string>

namespace app {

// The two hidden web-browser controls of the main window.
enum class HiddenBrowser { WebBrowserConnection, WebBrowserIP };

// What the main window's logic changes in the window. The window implements
// it; tests record it.
class MainView {
public:
    virtual ~MainView() = default;

    virtual void SetProxyUpdateText(const std::string& text) = 0; // txProxyUpdate
    virtual void SetCountText(const std::string& text) = 0;       // count
    // systemtxt: the text, or the shorter one where the text does not fit.
    virtual void SetSystemText(const std::string& text, const std::string& shorterText) = 0;
    virtual void SetMutexText(const std::string& text) = 0;      // txtMutex
    virtual void SetChangedText(const std::string& text) = 0;    // txtChanged
    virtual void SetOriginalIPText(const std::string& text) = 0; // txtOriginalIP
    virtual void SetStatusText(const std::string& text) = 0;     // txtstatus
    virtual void SetMemoVerText(const std::string& text) = 0;    // MemoVer
    virtual void SetTestUrl(const std::string& url) = 0;         // urlset of TFrmConfig
    // Starts loading the page and returns at once; the outcome is never read.
    virtual void Navigate(HiddenBrowser browser, const std::string& url) = 0;
    // A modal box with an OK button and no icon.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // A question box with Yes and No that belongs to no window; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
};

} // namespace app
