#pragma once

#include "app/entry_count_line.h"
#include "app/main_view.h"
#include "extctl/status_mutex.h"
#include "i18n/localisation.h"
#include "net/service_endpoints.h"
#include "platform/clipboard.h"
#include "platform/internet_settings.h"
#include "platform/named_mutexes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "proxylist/proxy_store.h"
#include "settings/test_url_store.h"
#include "sysproxy/system_proxy.h"

#include <optional>
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
    net::ServiceEndpoints endpoints;
    std::string dataFolder;
    std::string systemName;
    // The same system in fewer words, for a line too narrow for its name.
    std::string shortSystemName;
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
    void btnRefreshClick();

    void CheckNewVersion();
    // The text at the URL, or empty text when the request fails.
    static std::string gethttpdata(const std::string& url);

    // Application-wide values.
    std::string OriginalIP;
    std::string CurrentProxy;
    std::string CurrentIP;
    bool FirstPaintDone = false;
    // The release number text the update check received.
    std::string MemoVer;

    i18n::LanguageDispatcher& Dispatcher() { return dispatcher_; }
    const i18n::Localisation& Strings() const { return strings_; }
    proxylist::ProxyStore& Store() { return store_; }
    sysproxy::SystemProxy& SystemProxy() { return systemProxy_; }

private:
    void DetectOriginalIP();
    void ShowCount(int entries);

    MainWindowServices services_;
    MainView& view_;
    i18n::LanguageDispatcher dispatcher_;
    i18n::Localisation strings_;
    proxylist::ProxyStore store_;
    extctl::StatusMutex statusMutex_;
    sysproxy::SystemProxy systemProxy_;
    // Follows the proxy list once creation has first shown the count.
    std::optional<EntryCountLine> countLine_;
};

} // namespace app
