#include "i18n/shared_translations.h"
#include "i18n/window_translations.h"

namespace i18n {

namespace {

using namespace shared_translations;

constexpr std::u16string_view kCaptions = u"stCaptions_Unicode\r\n"
                                          u"TFrmMain\x01"
                                          u"Kelbrin Hopvane\x01"
                                          u"Kelbrin Hopvane\x01"
                                          u"\r\n"
                                          u"Panel4\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"Panel5\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"Panel1\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"Panel2\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"Panel3\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"btnConfig\x01"
                                          u"Config\x01"
                                          u"Nastavení\x01"
                                          u"\r\n"
                                          u"btnNextIP\x01"
                                          u"Next IP\x01"
                                          u"Další IP\x01"
                                          u"\r\n"
                                          u"CopyIPtoclipboard1\x01"
                                          u"Copy IP to clipboard\x01"
                                          u"Zkopírovat IP adresu do schránky\x01"
                                          u"\r\n"
                                          u"stHints_Unicode\r\n"
                                          u"stDisplayLabels_Unicode\r\n";

constexpr std::u16string_view kFonts = u"stFonts_Unicode\r\n"
                                       u"TFrmMain\x01"
                                       u"Tahoma\x01"
                                       u"Tahoma\x01"
                                       u"\r\n"
                                       u"btnConfig\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"Switch\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"btnNextIP\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"btnRefresh\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"stMultiLines_Unicode\r\n";

// Own to the main window: the update question's texts, the error report
// window's buttons, as that window has no table of its own, and why a proxy
// that answered was not applied.
constexpr std::u16string_view kOwnStrings =
    u"strsDownloadNovaVerze\x01"
    u"New version available, open www pages for download new version?\x01"
    u"Na webu je nová verze programu, přejete si otevřít stránky pro stažení nové verze?\x01"
    u"\r\n"
    u"strsDotaz\x01"
    u"Question\x01"
    u"Dotaz\x01"
    u"\r\n"
    u"strsReportDetails\x01"
    u"Details\x01"
    u"Podrobnosti\x01"
    u"\r\n"
    u"strsReportSend\x01"
    u"Send report\x01"
    u"Odeslat hlášení\x01"
    u"\r\n"
    u"strsReportContinue\x01"
    u"Continue\x01"
    u"Pokračovat\x01"
    u"\r\n"
    u"strsReportRestart\x01"
    u"Restart\x01"
    u"Restartovat\x01"
    u"\r\n"
    u"strsReportClose\x01"
    u"Close\x01"
    u"Ukončit\x01"
    u"\r\n"
    u"strsProxyShowsYourAddress\x01"
    u"Proxy shows your own IP\x01"
    u"Proxy ukazuje vaši IP\x01"
    u"\r\n"
    u"strsProxyShowsNoAddress\x01"
    u"Proxy shows no exit IP\x01"
    u"Proxy neukazuje výstupní IP\x01"
    u"\r\n";

constexpr std::u16string_view kCharSets = u"stLocales_Unicode\r\n"
                                          u"stCollections_Unicode\r\n"
                                          u"stCharSets_Unicode\r\n"
                                          u"TFrmMain\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"btnConfig\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"Switch\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"btnNextIP\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"btnRefresh\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n";

StoredTranslations Build()
{
    const VersionedControls versioned{
        {u"txHopvane",
         u"txHopvanesmalltext",
         u"systemtxt",
         u"txProxyList",
         u"txProxyUpdate",
         u"count",
         u"txOriginalIP",
         u"txtOriginalIP",
         u"txServerStatus",
         u"txtstatus",
         u"txDownloadTest",
         u"txtDwnSpeed",
         u"txIPChanged",
         u"txtChanged",
         u"txState",
         u"AdvSmoothLabel14",
         u"txMutexAppStatus",
         u"txtMutex",
         u"txMutexHopvaneGoChange",
         u"txtReadMutex",
         u"txEnableHopvane",
         u"txIPBlacklist"},
        {u"AdvMetroTile1", u"btnConfig", u"btnRefresh", u"btnNextIP"}};
    const std::u16string captionsToMultiLines = std::u16string(kCaptions) + std::u16string(kFonts);
    return {StoredTranslationData(captionsToMultiLines, kOwnStrings, {}, versioned, kCharSets),
            {
                CaptionText("txDownloadTest", u"Download test:", u"Download test:"),
                CaptionText("txEnableHopvane", u"Enable Hopvane", u"Zapnout změnu IP"),
                CaptionText("txIPBlacklist", u"IP blacklist:", u"IP blacklist:"),
                CaptionText("txIPChanged", u"IP Changed:", u"IP Změněna:"),
                CaptionText("txHopvane", u"Kelbrin Hopvane", u"Kelbrin Hopvane"),
                CaptionText("txHopvanesmalltext", u"Change IP by proxy list",
                            u"Změna IP adresy pomocí proxy"),
                CaptionText("txMutexAppStatus", u"Mutex application status:",
                            u"Mutex status aplikace:"),
                CaptionText("txMutexHopvaneGoChange", u"Mutex Hopvane_go_change:",
                            u"Mutex Hopvane_go_change:"),
                CaptionText("txOriginalIP", u"Original IP:", u"Původní IP:"),
                CaptionText("txProxyList", u"Proxy list:", u"Proxy list:"),
                CaptionText("txServerStatus", u"Server status:", u"Aktuální stav:"),
                CaptionText("txtChanged", u"No", u"Ne"),
                CaptionText("txtstatus", u"Check", u"Zjišťuji"),
                CaptionText("txtOriginalIP", u"Check", u"Zjišťuji"),
            }};
}

} // namespace

const StoredTranslations& FrmMainTranslations()
{
    static const StoredTranslations stored = Build();
    return stored;
}

} // namespace i18n
