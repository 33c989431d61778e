#include "i18n/localisation.h"
#include "tests/support/fake_window.h"

#include <gtest/gtest.h>

namespace i18n {
namespace {

struct Entry {
    const char* id;
    const char* english;
    const char* czech;
};

// Trailing blanks and misspellings are part of the texts.
const Entry kTable[] = {
    {"IDS_17", "Lines count ", "Počet proxy serverů "},
    {"IDS_18", "Curent system: ", "Aktuální systém: "},
    {"IDS_20",
     "Current system is not Windows 10, application is designed to Windows 10, maybe not work.",
     "Aplikace je navržená pro Windows 10, na vašem operčním systému tak program nemusí fungovat "
     "správně."},
    {"IDS_40", "Yes", "Ano"},
    {"IDS_45", "No", "Ne"},
    {"IDS_48", "Connecting to ", "Připojuji k "},
    {"IDS_49", "Online IP ", "Online IP "},
    {"IDS_54", "Yes detect!", "Ano nalezeno!"},
    {"IDS_55", "No detect", "Nenalezeno"},
    {"strsDownloadNovaVerze", "New version available, open www pages for download new version?",
     "Na webu je nová verze programu, přejete si otevřít stránky pro stažení nové verze?"},
    {"strsDotaz", "Question", "Dotaz"},
    {"strsReportDetails", "Details", "Podrobnosti"},
    {"strsReportSend", "Send report", "Odeslat hlášení"},
    {"strsReportContinue", "Continue", "Pokračovat"},
    {"strsReportRestart", "Restart", "Restartovat"},
    {"strsReportClose", "Close", "Ukončit"},
    {"strsProxyShowsYourAddress", "Proxy shows your own IP", "Proxy ukazuje vaši IP"},
    {"strsProxyShowsNoAddress", "Proxy shows no exit IP", "Proxy neukazuje výstupní IP"},
};

// The main window's tables over a window without controls, with the
// changes of language counted.
class LocalisationTest : public ::testing::Test {
protected:
    LocalisationTest()
    {
        strings.siLang1().OnChangeLanguage = [this](TsiCustomLang&) { ++changes; };
    }

    TsiLangDispatcher dispatcher;
    test_support::FakeWindow window;
    Localisation strings{dispatcher, window};
    int changes = 0;
};

TEST_F(LocalisationTest, StartsInCzechWithEnglishWhereCzechIsEmpty)
{
    EXPECT_EQ(dispatcher.Language(), "Czech");
    for (const Entry& e : kTable)
        EXPECT_EQ(strings.GetTextOrDefault(e.id), e.czech) << e.id;
}

TEST_F(LocalisationTest, EnglishColumnAfterSwitchingToEnglish)
{
    dispatcher.SetLanguage("English");
    for (const Entry& e : kTable)
        EXPECT_EQ(strings.GetTextOrDefault(e.id), e.english) << e.id;
}

TEST_F(LocalisationTest, FindsIdsInAnyLetterCaseAndNothingForUnknownIds)
{
    EXPECT_EQ(strings.GetTextOrDefault("ids_17"), "Počet proxy serverů ");
    EXPECT_EQ(strings.GetTextOrDefault("STRSDOTAZ"), "Dotaz");
    EXPECT_EQ(strings.GetTextOrDefault("IDS_99"), "");
    EXPECT_EQ(strings.GetTextOrDefault(""), "");
    EXPECT_EQ(strings.GetTextOrDefault("IDS_1"), "");
}

TEST_F(LocalisationTest, CachedTextsAreEmptyUntilUpdateStrings)
{
    EXPECT_EQ(strings.strsDotaz(), "");
    strings.UpdateStrings();
    EXPECT_EQ(strings.strsDotaz(), "Dotaz");
    EXPECT_EQ(strings.strsDownloadNovaVerze(), kTable[9].czech);
}

TEST_F(LocalisationTest, UnknownOrUnchangedNamesSwitchNothing)
{
    for (const char* name : {"Czech", "CZECH"}) {
        dispatcher.SetLanguage(name);
        EXPECT_EQ(dispatcher.ActiveLanguage(), 2) << name;
    }
    try {
        dispatcher.SetLanguage("German");
        FAIL() << "no error";
    } catch (const ELanguageError& error) {
        EXPECT_STREQ(error.what(), "Language name shall be included in LangNames property!");
    }
    EXPECT_EQ(dispatcher.ActiveLanguage(), 2);
    EXPECT_EQ(strings.siLang1().ActiveLanguage(), 2);
    EXPECT_EQ(changes, 0);
}

TEST_F(LocalisationTest, OtherLetterCaseSwitchesAndStoresTheListedName)
{
    dispatcher.SetLanguage("english");
    EXPECT_EQ(dispatcher.ActiveLanguage(), 1);
    EXPECT_EQ(dispatcher.Language(), "English");
    EXPECT_EQ(strings.siLang1().Language(), "English");
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace i18n
