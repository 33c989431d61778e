#include "i18n/shared_translations.h"

#include "i18n/stored_text.h"

namespace i18n::shared_translations {

namespace {

constexpr std::u16string_view kDialogCaptions = u"stDlgsCaptions_Unicode\r\n"
                                                u"Warning\x01"
                                                u"Warning\x01"
                                                u"Varování\x01"
                                                u"\r\n"
                                                u"Error\x01"
                                                u"Error\x01"
                                                u"Chyba\x01"
                                                u"\r\n"
                                                u"Information\x01"
                                                u"Information\x01"
                                                u"Informace\x01"
                                                u"\r\n"
                                                u"Confirm\x01"
                                                u"Confirm\x01"
                                                u"Potvrdit\x01"
                                                u"\r\n"
                                                u"Yes\x01"
                                                u"&Yes\x01"
                                                u"Ano\x01"
                                                u"\r\n"
                                                u"No\x01"
                                                u"&No\x01"
                                                u"Ne\x01"
                                                u"\r\n"
                                                u"OK\x01"
                                                u"OK\x01"
                                                u"OK\x01"
                                                u"\r\n"
                                                u"Cancel\x01"
                                                u"Cancel\x01"
                                                u"Storno\x01"
                                                u"\r\n"
                                                u"Abort\x01"
                                                u"&Abort\x01"
                                                u"Přerušit\x01"
                                                u"\r\n"
                                                u"Retry\x01"
                                                u"&Retry\x01"
                                                u"Opakovat\x01"
                                                u"\r\n"
                                                u"Ignore\x01"
                                                u"&Ignore\x01"
                                                u"Ignorovat\x01"
                                                u"\r\n"
                                                u"All\x01"
                                                u"&All\x01"
                                                u"Vše\x01"
                                                u"\r\n"
                                                u"No To All\x01"
                                                u"N&o to All\x01"
                                                u"Ne pro Vše\x01"
                                                u"\r\n"
                                                u"Yes To All\x01"
                                                u"Yes to &All\x01"
                                                u"Ano pro Vše\x01"
                                                u"\r\n"
                                                u"Help\x01"
                                                u"&Help\x01"
                                                u"Nápověda\x01"
                                                u"\r\n";

// Texts that end in a blank keep it: the value shown after them follows
// directly.
constexpr std::u16string_view kIdsStrings =
    u"IDS_17\x01"
    u"Lines count \x01"
    u"Počet proxy serverů \x01"
    u"\r\n"
    u"IDS_18\x01"
    u"Curent system: \x01"
    u"Aktuální systém: \x01"
    u"\r\n"
    u"IDS_20\x01"
    u"Current system is not Windows 10, application is designed to Windows 10, maybe not work.\x01"
    u"Aplikace je navržená pro Windows 10, na vašem operčním systému tak program nemusí fungovat "
    u"správně.\x01"
    u"\r\n"
    u"IDS_40\x01"
    u"Yes\x01"
    u"Ano\x01"
    u"\r\n"
    u"IDS_45\x01"
    u"No\x01"
    u"Ne\x01"
    u"\r\n"
    u"IDS_48\x01"
    u"Connecting to \x01"
    u"Připojuji k \x01"
    u"\r\n"
    u"IDS_49\x01"
    u"Online IP \x01"
    u"\x01"
    u"\r\n"
    u"IDS_54\x01"
    u"Yes detect!\x01"
    u"Ano nalezeno!\x01"
    u"\r\n"
    u"IDS_55\x01"
    u"No detect\x01"
    u"Nenalezeno\x01"
    u"\r\n";

constexpr std::u16string_view kLabelVersion = u"1.6.0.2";
constexpr std::u16string_view kButtonVersion = u"1.1.1.0";

// "<control>.Version", the widget's version text in English, nothing in Czech.
std::u16string VersionLine(std::u16string_view control, std::u16string_view version)
{
    std::u16string line(control);
    line += u".Version\x01";
    line += version;
    line += u"\x01\x01\r\n";
    return line;
}

} // namespace

std::string StoredTranslationData(std::u16string_view captionsToMultiLines,
                                  std::u16string_view ownStrings,
                                  std::u16string_view ownOtherStrings,
                                  const VersionedControls& versioned,
                                  std::u16string_view localesToCharSets)
{
    std::u16string data(captionsToMultiLines);
    data += kDialogCaptions;
    data += u"stStrings_Unicode\r\n";
    data += kIdsStrings;
    data += ownStrings;
    data += u"stOtherStrings_Unicode\r\n";
    data += ownOtherStrings;
    for (const auto label : versioned.labels)
        data += VersionLine(label, kLabelVersion);
    for (const auto control : versioned.tilesAndButtons)
        data += VersionLine(control, kButtonVersion);
    data += localesToCharSets;
    return EncodeStoredText(data);
}

TsiExtendedItem CaptionText(std::string_view control, std::u16string_view english,
                            std::u16string_view czech)
{
    std::u16string texts(english);
    texts += u'\x01';
    texts += czech;
    texts += u'\x01';
    return {std::string(control) + ".Caption.Text", TTypeKind::tkUString,
            "\xFF\xFE" + EncodeStoredText(texts)};
}

} // namespace i18n::shared_translations
