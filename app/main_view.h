#pragma once

#include "i18n/translatable_window.h"

#include <cstdint>
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
    virtual void SetMutexText(const std::string& text) = 0;                    // txtMutex
    virtual void SetChangedText(const std::string& text) = 0;                  // txtChanged
    virtual void SetOriginalIPText(const std::string& text) = 0;               // txtOriginalIP
    virtual void SetStatusText(const std::string& text) = 0;                   // txtstatus
    virtual void SetMemoVerText(const std::string& text) = 0;                  // MemoVer
    virtual void SetGeoText(const std::string& text) = 0;                      // txState
    virtual void SetSpeedText(const std::string& text) = 0;                    // txtDwnSpeed
    virtual void SetProgress(std::int32_t maximum, std::int32_t position) = 0; // DownloadProgress
    virtual void ResetProgress() = 0;                           // DownloadProgress at 0
    virtual void SetReadMutexText(const std::string& text) = 0; // txtReadMutex
    virtual void SetNextIPEnabled(bool enabled) = 0;            // btnNextIP
    // Turns the switch the way the user would, so that SwitchClick follows.
    virtual void TurnSwitch(bool on) = 0;
    virtual void SetTestUrl(const std::string& url) = 0; // urlset of TFrmConfig
    // The test URL in use: the text of urlset.
    virtual std::string TestUrl() = 0;
    // Starts loading the page and returns at once; the outcome is never read.
    virtual void Navigate(HiddenBrowser browser, const std::string& url) = 0;
    // The window's controls as the translation engine reaches them.
    virtual i18n::TranslatableWindow& TranslationTarget() = 0;
    // A modal box with an OK button and no icon.
    virtual void ShowMessage(const std::string& text, const std::string& title) = 0;
    // A question box with Yes and No that belongs to no window; true for Yes.
    virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;
};

} // namespace app
