#include "i18n/main_window_strings.h"

namespace i18n {

namespace {

// Key, English, Czech, each field ended by the delimiter (\x01); texts that
// end in a blank keep it, the value shown after them follows directly.
constexpr std::string_view kStringsSection =
    "stStrings_Unicode\r\n"
    "IDS_17\x01"
    "Lines count \x01"
    "Počet proxy serverů \x01\r\n"
    "IDS_18\x01"
    "Curent system: \x01"
    "Aktuální systém: \x01\r\n"
    "IDS_20\x01"
    "Current system is not Windows 10, application is designed to Windows 10, maybe not work.\x01"
    "Aplikace je navržená pro Windows 10, na vašem operčním systému tak program nemusí fungovat "
    "správně.\x01\r\n"
    "IDS_40\x01"
    "Yes\x01"
    "Ano\x01\r\n"
    "IDS_45\x01"
    "No\x01"
    "Ne\x01\r\n"
    "IDS_48\x01"
    "Connecting to \x01"
    "Připojuji k \x01\r\n"
    "IDS_49\x01"
    "Online IP \x01"
    "\x01\r\n"
    "IDS_54\x01"
    "Yes detect!\x01"
    "Ano nalezeno!\x01\r\n"
    "IDS_55\x01"
    "No detect\x01"
    "Nenalezeno\x01\r\n"
    "strsDownloadNovaVerze\x01"
    "New version available, open www pages for download new version?\x01"
    "Na webu je nová verze programu, přejete si otevřít stránky pro stažení nové verze?\x01\r\n"
    "strsDotaz\x01"
    "Question\x01"
    "Dotaz\x01\r\n";

} // namespace

std::string_view MainWindowStringsData()
{
    return kStringsSection;
}

} // namespace i18n
