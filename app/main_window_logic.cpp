#include "app/main_window_logic.h"

#include "app/update_notice.h"
#include "net/http_client.h"
#include "platform/files.h"
#include "proxylist/proxy_list_refresh.h"
#include "settings/language_setting.h"

#include <exception>

namespace app {

MainWindowLogic::MainWindowLogic(MainWindowServices services, MainView& view)
    : services_(std::move(services)), view_(view), strings_(dispatcher_),
      store_(services_.dataFolder), statusMutex_(services_.mutexes),
      systemProxy_(services_.registry, services_.internetSettings, statusMutex_, strings_)
{
}

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
    view_.SetChangedText(systemProxy_.ZrusProxy().txtChanged);
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

} // namespace app
