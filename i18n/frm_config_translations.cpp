#include "i18n/shared_translations.h"
#include "i18n/window_translations.h"
#include "platform/text_codec.h"

namespace i18n {

namespace {

using namespace shared_translations;

constexpr std::u16string_view kCaptions = u"stCaptions_Unicode\r\n"
                                          u"TFrmConfig\x01"
                                          u"Configuration\x01"
                                          u"Nastavení\x01"
                                          u"\r\n"
                                          u"Panel5\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"Panel1\x01"
                                          u" \x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"AdvMetroButton1\x01"
                                          u"Apply\x01"
                                          u"Použít\x01"
                                          u"\r\n"
                                          u"AdvMetroButton2\x01"
                                          u"Cancel\x01"
                                          u"Storno\x01"
                                          u"\r\n"
                                          u"stHints_Unicode\r\n"
                                          u"stDisplayLabels_Unicode\r\n";

constexpr std::u16string_view kFonts = u"stFonts_Unicode\r\n"
                                       u"TFrmConfig\x01"
                                       u"Tahoma\x01"
                                       u"Tahoma\x01"
                                       u"\r\n"
                                       u"AdvMetroButton1\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"AdvMetroButton3\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"AdvMetroButton2\x01"
                                       u"Segoe UI\x01"
                                       u"\x01"
                                       u"\r\n"
                                       u"stMultiLines_Unicode\r\n";

constexpr std::u16string_view kCharSets = u"stLocales_Unicode\r\n"
                                          u"stCollections_Unicode\r\n"
                                          u"stCharSets_Unicode\r\n"
                                          u"TFrmConfig\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"AdvMetroButton1\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"AdvMetroButton3\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n"
                                          u"AdvMetroButton2\x01"
                                          u"DEFAULT_CHARSET\x01"
                                          u"\x01"
                                          u"\r\n";

} // namespace

StoredTranslations FrmConfigTranslations(std::string_view secureDefaultTestUrl)
{
    const VersionedControls versioned{
        {u"AdvSmoothLabel1", u"txCaonfiguration", u"txUrlToTest", u"txNotification"},
        {u"AdvMetroTile1", u"AdvMetroButton3", u"AdvMetroButton1", u"AdvMetroButton2"}};
    const std::u16string captionsToMultiLines = std::u16string(kCaptions) + std::u16string(kFonts);
    const std::u16string otherStrings =
        u"urlset.Text\x01" + platform::Utf8ToUtf16(secureDefaultTestUrl) + u"\x01\x01\r\n";

    return {StoredTranslationData(captionsToMultiLines, {}, otherStrings, versioned, kCharSets),
            {
                CaptionText("txCaonfiguration", u"Configuration", u"Nastavení"),
                CaptionText("txNotification",
                            u"* eg. google.com block any proxy servers, please set destination "
                            u"url for browse, ideal page is small page size (in kb)",
                            u"* např. Google blokuje proxy servery, zvolte tak nějaký nezávislý "
                            u"server a ideálně stránku s co nejmenší velikostí (v kb)"),
                CaptionText("txUrlToTest", u"URL to test connection:", u"URL pro test připojení:"),
            }};
}

} // namespace i18n
