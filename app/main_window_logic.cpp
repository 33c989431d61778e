#include "app/main_window_logic.h"

#include "app/update_notice.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "proxylist/proxy_list_refresh.h"
#include "settings/language_setting.h"

#include <exception>

namespace app {

namespace {

// Trigger names other programs hold to drive the program.
constexpr const char* kTriggerNext = "Hopvane_go_change";
constexpr const char* kTriggerOn = "Hopvane_go_on";
constexpr const char* kTriggerOff = "Hopvane_go_off";

} // namespace

MainWindowLogic::MainWindowLogic(MainWindowServices services, MainView& view)
    : services_(std::move(services)), view_(view), strings_(dispatcher_, view.TranslationTarget()),
      store_(services_.dataFolder), statusMutex_(services_.mutexes),
      requestAnswer_(services_.mutexes), movedOnNote_(services_.mutexes),
      walkEndedNote_(services_.mutexes),
      systemProxy_(services_.proxyStores, statusMutex_, strings_,
                   sysproxy::RecordPlace{services_.dataFolder, services_.proxyOwner}),
      healthCheck_(services_.handOver, services_.probes.testProxy),
      proxyCheckThread_(services_.handOver, *this, services_.probes)
{
    strings_.siLang1().OnChangeLanguage = [this](i18n::TsiCustomLang&) { siLang1ChangeLanguage(); };
}

void MainWindowLogic::siLang1ChangeLanguage()
{
    strings_.UpdateStrings();
}

MainWindowLogic::~MainWindowLogic() = default;

void MainWindowLogic::FormCreate()
{
    strings_.UpdateStrings();
    FirstPaintDone = false;

    const std::string setting = settings::ReadLanguageSetting(services_.registry);
    if (const auto language = settings::LanguageNameForSetting(setting))
        dispatcher_.SetLanguage(*language);

    // A folder that can't be created shows up later, when a list is saved.
    if (!platform::DirectoryExists(services_.dataFolder))
        platform::MakeDataFolder(services_.dataFolder);

    store_.LoadListFiles();
    view_.SetProxyUpdateText(store_.FileUpdateDate().Text());

    proxylist::ProxyList& proxys = store_.Proxys();
    if (proxys.Count() > 0) {
        proxys.SetItemIndex(0);
        CurrentProxy = proxys.Line(0);
    }
    countLine_.emplace(proxys, [this](int entries) { ShowCount(entries); });
    const std::string systemPrefix = strings_.GetTextOrDefault("IDS_18");
    view_.SetSystemText(systemPrefix + services_.systemName,
                        systemPrefix + services_.shortSystemName);
    if (services_.warnNotWindows10)
        view_.ShowMessage(strings_.GetTextOrDefault("IDS_20"), services_.applicationTitle);

    view_.SetMutexText(statusMutex_.SwitchTo(extctl::kStatusOff));
}

void MainWindowLogic::ShowCount(int entries)
{
    view_.SetCountText(strings_.GetTextOrDefault("IDS_17") + std::to_string(entries));
}

void MainWindowLogic::FormShow()
{
    view_.SetTestUrl(services_.testUrls.Read(services_.endpoints.SecureTestPage()));
    DetectOriginalIP();
}

void MainWindowLogic::DetectOriginalIP()
{
    view_.Navigate(HiddenBrowser::WebBrowserConnection, services_.endpoints.ConnectionPage());
    view_.Navigate(HiddenBrowser::WebBrowserIP, services_.endpoints.MyIpTextPage());
    OriginalIP = net::GetTextDirect(services_.endpoints.MyIpText());
    view_.SetOriginalIPText(OriginalIP);
    view_.SetStatusText(OriginalIP);
}

void MainWindowLogic::FormPaint()
{
    if (FirstPaintDone)
        return;
    FirstPaintDone = true;
    CheckNewVersion();
}

void MainWindowLogic::CheckNewVersion()
{
    MemoVer = gethttpdata(services_.endpoints.ReleaseNumber());
    view_.SetMemoVerText(MemoVer);
    if (!NamesNewerRelease(MemoVer))
        return;
    if (view_.AskYesNo(strings_.strsDownloadNovaVerze(), strings_.strsDotaz()))
        services_.shell.OpenUrl(services_.endpoints.DownloadPage(dispatcher_.Language()));
}

std::string MainWindowLogic::gethttpdata(const std::string& url)
{
    try {
        return net::GetTextDirect(url);
    } catch (const std::exception&) {
        return {};
    }
}

void MainWindowLogic::FormCloseQuery()
{
    healthCheck_.Stop();
    proxyCheckThread_.Stop();
    view_.SetChangedText(systemProxy_.ZrusProxy().txtChanged);
}

void MainWindowLogic::FormDestroy()
{
    healthCheck_.StopAndWait();
    proxyCheckThread_.StopAndWait();
}

void MainWindowLogic::CopyIPtoclipboard1Click()
{
    services_.clipboard.SetText(CurrentIP);
}

void MainWindowLogic::AdvMetroTile1Click()
{
    services_.shell.OpenUrl(services_.endpoints.ProductPage());
}

void MainWindowLogic::txtChangedClick()
{
    services_.shell.OpenUrl(services_.endpoints.MyIpPage(dispatcher_.Language()));
}

void MainWindowLogic::btnRefreshClick()
{
    proxylist::RefreshProxyList(
        store_, {services_.endpoints.ProxyList(), services_.endpoints.ProxyListDate()},
        [this](const std::string& date) { view_.SetProxyUpdateText(date); });
}

void MainWindowLogic::ResetSpeedTest()
{
    view_.SetSpeedText("0 Kb/s");
    view_.ResetProgress();
}

void MainWindowLogic::SwitchClick(bool on)
{
    switchOn_ = on;
    healthCheck_.Stop();
    if (on)
        healthInterval_ = std::chrono::seconds(services_.testUrls.ReadHealthCheckSeconds());
    const auto selected = store_.Proxys().SelectedEntry();
    if (selected)
        CurrentProxy = *selected;
    ResetSpeedTest();
    if (on) {
        if (selected)
            proxyCheckThread_.Start();
        return;
    }
    view_.SetNextIPEnabled(false);
    answerAtRunStart_ = false;
    // Stopped before the system proxy is cleared, so that a failing clear can
    // never leave a run free to apply a proxy after the switch went off.
    proxyCheckThread_.Stop();
    view_.SetChangedText(systemProxy_.ZrusProxy().txtChanged);
    view_.SetStatusText(OriginalIP);
    view_.SetGeoText("");
    view_.SetChangedText(strings_.GetTextOrDefault("IDS_45"));
    view_.SetMutexText(statusMutex_.SwitchTo(extctl::kStatusOff));
}

void MainWindowLogic::NextIP()
{
    if (!switchOn_)
        return;
    view_.SetGeoText("");
    view_.SetChangedText(strings_.GetTextOrDefault("IDS_45"));
    if (proxyCheckThread_.Active())
        return;

    proxylist::ProxyList& proxys = store_.Proxys();
    // The wrap-around lands on the second entry: the first is passed over.
    if (proxys.ItemIndex() == proxys.Count() - 1)
        proxys.SetItemIndex(0);
    proxys.SetItemIndex(proxys.ItemIndex() + 1);
    const auto selected = proxys.SelectedEntry();
    if (!selected)
        return;
    CurrentProxy = *selected;
    ResetSpeedTest();
    proxyCheckThread_.Start();
}

void MainWindowLogic::ProxysDblClick()
{
    if (const auto selected = store_.Proxys().SelectedEntry())
        CurrentProxy = *selected;
}

void MainWindowLogic::Timer1Timer()
{
    requestAnswer_.PollPassed();
    movedOnNote_.PollPassed();
    walkEndedNote_.PollPassed();
    // A start waiting for a finishing run polls again once it has started.
    if (proxyCheckThread_.Waiting())
        return;
    // These two only need to be seen: looking costs far less than the
    // create-and-close that the next-proxy trigger has always taken.
    if (services_.mutexes.Exists(kTriggerOn)) {
        const bool wasActive = proxyCheckThread_.Active();
        if (!switchOn_)
            view_.TurnSwitch(true);
        AnswerRequest(!wasActive && proxyCheckThread_.Active());
    }
    if (services_.mutexes.Exists(kTriggerOff)) {
        if (switchOn_)
            view_.TurnSwitch(false);
        AnswerRequest(false);
    }

    const platform::NamedMutexes::Created trigger = services_.mutexes.Create(kTriggerNext);
    struct CloseAfterwards {
        platform::NamedMutexes& mutexes;
        platform::NamedMutexes::Handle handle;
        ~CloseAfterwards()
        {
            if (handle != platform::NamedMutexes::kNoHandle)
                mutexes.Close(handle);
        }
    } closeAfterwards{services_.mutexes, trigger.handle};
    if (trigger.lastError == platform::kErrorAlreadyExists) {
        view_.SetReadMutexText(strings_.GetTextOrDefault("IDS_54"));
        // A running check puts the request off until it ends: no answer yet.
        const bool putOff = switchOn_ && proxyCheckThread_.Active();
        NextIP();
        if (!putOff)
            AnswerRequest(proxyCheckThread_.Active());
    } else {
        view_.SetReadMutexText(strings_.GetTextOrDefault("IDS_55"));
    }
    if (switchOn_)
        proxyCheckThread_.LookAhead();
    if (healthCheck_.Poll(AppliedEntry(), healthInterval_, view_.TestUrl()))
        AppliedProxyDied();
}

std::optional<std::string> MainWindowLogic::AppliedEntry() const
{
    if (!switchOn_ || proxyCheckThread_.Active() || statusMutex_.Name() != extctl::kStatusOk)
        return std::nullopt;
    return appliedEntry_;
}

void MainWindowLogic::AppliedProxyDied()
{
    movedOnNote_.Give(extctl::kNoteAppliedProxyDied);
    NextIP();
}

std::vector<std::string> MainWindowLogic::EntriesAhead(std::size_t most)
{
    const proxylist::ProxyList& proxys = store_.Proxys();
    std::vector<std::string> entries;
    for (int i = proxys.ItemIndex() + 1; i < proxys.Count() && entries.size() < most; ++i)
        entries.push_back(proxys.Line(i));
    return entries;
}

void MainWindowLogic::AnswerRequest(bool startedCheck)
{
    answerAtRunStart_ = false;
    if (!switchOn_)
        requestAnswer_.Give(extctl::kAnswerOff);
    else if (startedCheck)
        answerAtRunStart_ = true;
    else if (proxyCheckThread_.Active())
        requestAnswer_.Give(extctl::kAnswerChecking);
    else if (statusMutex_.Name() == extctl::kStatusOk)
        requestAnswer_.Give(extctl::kAnswerApplied);
    else
        requestAnswer_.Give(extctl::kAnswerIdle);
}

void MainWindowLogic::RunStarting(const std::string& host)
{
    view_.SetNextIPEnabled(false);
    view_.SetMutexText(statusMutex_.SwitchTo(extctl::kStatusChange));
    if (answerAtRunStart_) {
        answerAtRunStart_ = false;
        requestAnswer_.Give(extctl::kAnswerChecking);
    }
    view_.SetStatusText(strings_.GetTextOrDefault("IDS_48") + host);
}

switching::CheckCycleHost::BlacklistOutcome
MainWindowLogic::BlacklistProxy(const std::string& entry)
{
    const bool moved = store_.blacklist().IndexOf(entry) == -1;
    store_.BlacklistProxy(entry, CurrentProxy);
    return {moved, store_.Proxys().ItemIndex() != -1};
}

bool MainWindowLogic::MoveSelectionOn()
{
    proxylist::ProxyList& proxys = store_.Proxys();
    const int next = proxys.ItemIndex() + 1;
    if (next >= proxys.Count()) {
        proxys.SetItemIndex(-1);
        return false;
    }
    proxys.SetItemIndex(next);
    CurrentProxy = proxys.Line(next);
    return true;
}

void MainWindowLogic::ExitNotHidden(switching::ExitAddress exit)
{
    view_.SetStatusText(strings_.GetTextOrDefault(exit == switching::ExitAddress::kUsersOwn
                                                      ? "strsProxyShowsYourAddress"
                                                      : "strsProxyShowsNoAddress"));
}

void MainWindowLogic::ProxyOnline(const std::string& host)
{
    view_.SetStatusText(strings_.GetTextOrDefault("IDS_49") + host);
    CurrentIP = host;
}

void MainWindowLogic::ApplyProxy(const std::string& entry, const platform::ProxyServer& server)
{
    // A double click may have chosen another entry meanwhile; this one passed.
    CurrentProxy = entry;
    appliedEntry_ = entry;
    const sysproxy::ProxyIndicator indicator = systemProxy_.NastavProxy(server);
    view_.SetChangedText(indicator.txtChanged);
    if (indicator.txtMutex)
        view_.SetMutexText(*indicator.txtMutex);
    view_.SetNextIPEnabled(true);
    view_.SetMutexText(statusMutex_.SwitchTo(extctl::kStatusOk));
}

} // namespace app
