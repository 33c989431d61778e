#include "i18n/localisation.h"

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
};

TEST(Localisation, StartsInCzechWithEnglishWhereCzechIsEmpty)
{
    LanguageDispatcher dispatcher;
    Localisation strings(dispatcher);
    EXPECT_EQ(dispatcher.Language(), "Czech");
    for (const Entry& e : kTable)
        EXPECT_EQ(strings.GetTextOrDefault(e.id), e.czech) << e.id;
}

TEST(Localisation, EnglishColumnAfterSwitchingToEnglish)
{
    LanguageDispatcher dispatcher;
    Localisation strings(dispatcher);
    dispatcher.SetLanguage("English");
    for (const Entry& e : kTable)
        EXPECT_EQ(strings.GetTextOrDefault(e.id), e.english) << e.id;
}

TEST(Localisation, FindsIdsInAnyLetterCaseAndNothingForUnknownIds)
{
    LanguageDispatcher dispatcher;
    Localisation strings(dispatcher);
    EXPECT_EQ(strings.GetTextOrDefault("ids_17"), "Počet proxy serverů ");
    EXPECT_EQ(strings.GetTextOrDefault("STRSDOTAZ"), "Dotaz");
    EXPECT_EQ(strings.GetTextOrDefault("IDS_99"), "");
    EXPECT_EQ(strings.GetTextOrDefault(""), "");
    EXPECT_EQ(strings.GetTextOrDefault("IDS_1"), "");
}

TEST(Localisation, CachedTextsAreEmptyUntilUpdateStrings)
{
    LanguageDispatcher dispatcher;
    Localisation strings(dispatcher);
    EXPECT_EQ(strings.strsDotaz(), "");
    strings.UpdateStrings();
    EXPECT_EQ(strings.strsDotaz(), "Dotaz");
    EXPECT_EQ(strings.strsDownloadNovaVerze(), kTable[9].czech);
}

TEST(Localisation, SettingCzechAgainKeepsTheCzechCachedTexts)
{
    LanguageDispatcher dispatcher;
    Localisation strings(dispatcher);
    int changes = 0;
    dispatcher.Link([&](int) { ++changes; });
    strings.UpdateStrings();
    dispatcher.SetLanguage("Czech");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(strings.strsDotaz(), "Dotaz");
}

TEST(Localisation, SwitchingToEnglishRefreshesTheCachedTextsOnce)
{
    LanguageDispatcher dispatcher;
    Localisation strings(dispatcher);
    std::vector<int> changes;
    dispatcher.Link([&](int language) { changes.push_back(language); });
    strings.UpdateStrings();
    dispatcher.SetLanguage("English");
    EXPECT_EQ(changes, std::vector<int>{1});
    EXPECT_EQ(strings.strsDotaz(), "Question");
    EXPECT_EQ(strings.strsDownloadNovaVerze(),
              "New version available, open www pages for download new version?");
}

TEST(LanguageDispatcher, RejectsUnknownNamesAndChangesNothing)
{
    LanguageDispatcher dispatcher;
    int changes = 0;
    dispatcher.Link([&](int) { ++changes; });
    try {
        dispatcher.SetLanguage("German");
        FAIL() << "no error";
    } catch (const ELanguageError& error) {
        EXPECT_STREQ(error.what(), "Language name shall be included in LangNames property!");
    }
    EXPECT_EQ(dispatcher.Language(), "Czech");
    EXPECT_EQ(dispatcher.ActiveLanguage(), 2);
    EXPECT_EQ(changes, 0);
}

TEST(LanguageDispatcher, AcceptsOtherLetterCaseAndStoresTheListedName)
{
    LanguageDispatcher dispatcher;
    dispatcher.SetLanguage("english");
    EXPECT_EQ(dispatcher.ActiveLanguage(), 1);
    EXPECT_EQ(dispatcher.Language(), "English");
}

TEST(LanguageDispatcher, OtherCaseOfTheActiveNameSwitchesNothing)
{
    LanguageDispatcher dispatcher;
    int changes = 0;
    dispatcher.Link([&](int) { ++changes; });
    dispatcher.SetLanguage("CZECH");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(dispatcher.ActiveLanguage(), 2);
}

} // namespace
} // namespace i18n
