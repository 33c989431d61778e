#pragma once

#include "app/entry_count_line.h"
#include "app/main_view.h"
#include "extctl/request_answer.h"
#include "extctl/status_mutex.h"
#include "i18n/localisation.h"
#include "net/service_endpoints.h"
#include "platform/clipboard.h"
#include "platform/named_mutexes.h"
#include "platform/proxy_settings.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "proxylist/proxy_store.h"
#include "settings/test_url_store.h"
#include "switching/hand_over.h"
#include "switching/health_check.h"
#include "switching/proxy_check_cycle.h"
#include "sysproxy/system_proxy.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace app {

// The operating-system services the main window reaches, gathered so that
// tests can hand in their own.
struct MainWindowServices {
    platform::Registry& registry;
    platform::NamedMutexes& mutexes;
    // Where the system proxy goes, in the order it is written.
    std::vector<platform::ProxySettingsStore*> proxyStores;
    platform::Shell& shell;
    platform::Clipboard& clipboard;
    switching::HandOver& handOver;
    settings::TestUrlStore testUrls;
    net::ServiceEndpoints endpoints;
    switching::CheckProbes probes;
    std::string dataFolder;
    std::string systemName;
    // The same system in fewer words, for a line too narrow for its name.
    std::string shortSystemName;
    bool warnNotWindows10;
    std::string applicationTitle;
    // The name this copy holds for its life, as notes of applied proxies
    // name their owner.
    std::string proxyOwner;
};

// The work of the main window's handlers, without the window. Each handler
// of TFrmMain calls the method of the same name; a failing step throws and
// ends the handler there, as the window's guard expects. It is also what the
// check cycle's runs change, on the user-interface thread.
class MainWindowLogic final : private switching::CheckCycleHost {
public:
    MainWindowLogic(MainWindowServices services, MainView& view);
    ~MainWindowLogic() override;

    void FormCreate();
    void FormShow();
    void FormPaint();
    void FormCloseQuery();
    void CopyIPtoclipboard1Click();
    void AdvMetroTile1Click();
    void txtChangedClick();
    void btnRefreshClick();
    // The switch has just been turned on or off.
    void SwitchClick(bool on);
    void NextIP();
    void btnNextIPClick() { NextIP(); }
    void ProxysDblClick();
    void Timer1Timer();
    // Stops the check cycle and waits for a run in progress to return; the
    // window calls it before it goes.
    void FormDestroy();

    // The main window's tables have been applied in a new language.
    void siLang1ChangeLanguage();

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

    i18n::TsiLangDispatcher& Dispatcher() { return dispatcher_; }
    const i18n::Localisation& Strings() const { return strings_; }
    proxylist::ProxyStore& Store() { return store_; }
    sysproxy::SystemProxy& SystemProxy() { return systemProxy_; }
    switching::ProxyCheckCycle& ProxyCheckThread() { return proxyCheckThread_; }

private:
    void DetectOriginalIP();
    void ShowCount(int entries);
    void ResetSpeedTest();
    // Answers another program's request with the state it left: at once, or
    // when the check it started has begun, which then shows "Hopvane_change".
    void AnswerRequest(bool startedCheck);
    // The entry a proxy was applied from, while it is the system proxy.
    std::optional<std::string> AppliedEntry() const;
    // Moves on from an applied proxy that stopped answering, as the
    // next-proxy request does, and says why to those who watch.
    void AppliedProxyDied();

    // CheckCycleHost
    std::string CurrentProxyEntry() override { return CurrentProxy; }
    std::string TestUrl() override { return view_.TestUrl(); }
    std::vector<std::string> EntriesAhead(std::size_t most) override;
    bool CheckAheadWanted() override { return services_.testUrls.ReadCheckAhead(); }
    std::string OriginalAddress() override { return OriginalIP; }
    void ExitNotHidden(switching::ExitAddress exit) override;
    void WalkEndedWithoutProxy() override { walkEndedNote_.Give(extctl::kNoteNoProxyFound); }
    void RunStarting(const std::string& host) override;
    BlacklistOutcome BlacklistProxy(const std::string& entry) override;
    bool MoveSelectionOn() override;
    void ProxyOnline(const std::string& host) override;
    void ApplyProxy(const std::string& entry, const platform::ProxyServer& server) override;
    void ShowGeo(const std::string& text) override { view_.SetGeoText(text); }
    void ShowProgress(std::int32_t maximum, std::int32_t position) override
    {
        view_.SetProgress(maximum, position);
    }
    void ResetProgress() override { view_.ResetProgress(); }
    void ShowSpeed(const std::string& text) override { view_.SetSpeedText(text); }

    MainWindowServices services_;
    MainView& view_;
    i18n::TsiLangDispatcher dispatcher_;
    i18n::Localisation strings_;
    proxylist::ProxyStore store_;
    extctl::StatusMutex statusMutex_;
    extctl::RequestAnswer requestAnswer_;
    // A request started a check, which answers it when its first run begins.
    bool answerAtRunStart_ = false;
    // Held for two polls after the program moved on by itself.
    extctl::RequestAnswer movedOnNote_;
    extctl::RequestAnswer walkEndedNote_;
    std::string appliedEntry_;
    std::chrono::seconds healthInterval_{0};
    sysproxy::SystemProxy systemProxy_;
    // Follows the proxy list once creation has first shown the count.
    std::optional<EntryCountLine> countLine_;
    bool switchOn_ = false;
    switching::HealthCheck healthCheck_;
    // Last, so that it goes first: its last run still reaches the rest.
    switching::ProxyCheckCycle proxyCheckThread_;
};

} // namespace app
