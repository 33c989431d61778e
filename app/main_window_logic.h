#pragma once

#include "app/main_view.h"
#include "extctl/status_mutex.h"
#include "i18n/localisation.h"
#include "platform/clipboard.h"
#include "platform/internet_settings.h"
#include "platform/named_mutexes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "proxylist/proxy_store.h"
#include "settings/test_url_store.h"
#include "sysproxy/system_proxy.h"

#include <string>

namespace app {

// The operating-system services the main window reaches, gathered so that
// tests can hand in their own.
struct MainWindowServices {
    platform::Registry& registry;
    platform::NamedMutexes& mutexes;
    platform::InternetSettings& internetSettings;
    platform::Shell& shell;
    platform::Clipboard& clipboard;
    settings::TestUrlStore testUrls;
    std::string dataFolder;
    std::string systemName;
    bool warnNotWindows10;
    std::string applicationTitle;
};

// The work of the main window's handlers, without the window. Each handler
// of TFrmMain calls the method of the same name; a failing step throws and
// ends the handler there, as the window's guard expects.
class MainWindowLogic {
public:
    MainWindowLogic(MainWindowServices services, MainView& view);

    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormCloseQuery();
    void CopyIPtoclipboard1Click();
    void AdvMetroTile1Click();
    void txtChangedClick();

    // Application-wide values.
    std::string OriginalIP;
    std::string CurrentProxy;
    std::string CurrentIP;
    bool FirstPaintDone = false;

    i18n::LanguageDispatcher& Dispatcher() { return dispatcher_; }
    const i18n::Localisation& Strings() const { return strings_; }
    proxylist::ProxyStore& Store() { return store_; }
    sysproxy::SystemProxy& SystemProxy() { return systemProxy_; }

private:
    MainWindowServices services_;
    MainView& view_;
    i18n::LanguageDispatcher dispatcher_;
    i18n::Localisation strings_;
    proxylist::ProxyStore store_;
    extctl::StatusMutex statusMutex_;
    sysproxy::SystemProxy systemProxy_;
};

} // namespace app
