#include "app/main_window_logic.h"

#include "app/web_links.h"
#include "platform/files.h"
#include "settings/default_test_urls.h"
#include "settings/language_setting.h"

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
        platform::MakeDirectory(services_.dataFolder);

    store_.LoadListFiles();
    view_.SetProxyUpdateText(store_.FileUpdateDate().Text());

    proxylist::ProxyList& proxys = store_.Proxys();
    if (proxys.Count() > 0) {
        proxys.SetItemIndex(0);
        CurrentProxy = proxys.Line(0);
    }
    // One less than the entries: the line has always read that way.
    view_.SetCountText(strings_.GetTextOrDefault("IDS_17") + std::to_string(proxys.Count() - 1));
    view_.SetSystemText(strings_.GetTextOrDefault("IDS_18") + services_.systemName);
    if (services_.warnNotWindows10)
        view_.ShowMessage(strings_.GetTextOrDefault("IDS_20"), services_.applicationTitle);

    view_.SetMutexText(statusMutex_.SwitchTo(extctl::kStatusOff));
}

void MainWindowLogic::FormShow()
{
    view_.SetTestUrl(services_.testUrls.Read(settings::SecureDefaultTestUrl()));
}

void MainWindowLogic::FormPaint()
{
    if (FirstPaintDone)
        return;
    FirstPaintDone = true;
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
    services_.shell.OpenUrl(ProductPageUrl(dispatcher_.Language()));
}

void MainWindowLogic::txtChangedClick()
{
    services_.shell.OpenUrl(MyIpPageUrl(dispatcher_.Language()));
}

} // namespace app
