#include "tests/app/main_window_fixture.h"
#include "tests/support/unopenable_file.h"

namespace app {
namespace {

using namespace app::test;

TEST_F(MainWindowLogicTest, FirstStartOnAFreshMachine)
{
    ASSERT_FALSE(platform::DirectoryExists(platform::DataFolder()));
    Logic().FormCreate();
    EXPECT_TRUE(platform::DirectoryExists(platform::DataFolder()));
    EXPECT_EQ(Logic().Store().Proxys().Count(), 0);
    EXPECT_EQ(Logic().Store().blacklist().Count(), 0);
    EXPECT_EQ(Logic().CurrentProxy, "");
    EXPECT_EQ(view.proxyUpdate, "");
    EXPECT_EQ(view.count, "Lines count 0");
    EXPECT_EQ(view.system, "Curent system: Test System 1");
    EXPECT_EQ(view.shorterSystem, "Curent system: TS 1");
    EXPECT_EQ(view.mutex, "Hopvane_off");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(StoredLanguage(), "en");
    EXPECT_EQ(Logic().Dispatcher().Language(), "English");
    EXPECT_TRUE(ExistsForAnotherProcess("Hopvane_off"));
    EXPECT_FALSE(ExistsForAnotherProcess("Hopvane_ok"));
}

TEST_F(MainWindowLogicTest, HundredLinesCountAsHundredAndTheFirstIsCurrent)
{
    std::string list;
    for (int i = 0; i < 100; ++i)
        list += "10.0.0." + std::to_string(i) + ":8080\r\n";
    WriteListFile("proxylist.txt", list);
    Logic().FormCreate();
    EXPECT_EQ(view.count, "Lines count 100");
    EXPECT_EQ(Logic().CurrentProxy, "10.0.0.0:8080");
    EXPECT_EQ(Logic().Store().Proxys().ItemIndex(), 0);
}

TEST_F(MainWindowLogicTest, ListsAndDateComeFromTheirFilesWithTheirMarks)
{
    WriteListFile("proxylist.txt", "\xEF\xBB\xBF"
                                   "a.example:80\nb.example:81");
    WriteListFile("blacklist.txt",
                  "\xFF\xFE" + platform::EncodeText("c:1\r\n", platform::TextEncoding::Utf16LE));
    WriteListFile("proxylistdate.txt", "09/12/2026");
    Logic().FormCreate();
    EXPECT_EQ(Logic().Store().Proxys().Text(), "a.example:80\r\nb.example:81\r\n");
    EXPECT_EQ(Logic().Store().Proxys().FileEncoding(), platform::TextEncoding::Utf8);
    EXPECT_EQ(Logic().Store().blacklist().FileEncoding(), platform::TextEncoding::Utf16LE);
    EXPECT_EQ(view.proxyUpdate, "09/12/2026\r\n");
    EXPECT_EQ(Logic().CurrentProxy, "a.example:80");
}

TEST_F(MainWindowLogicTest, StoredCzechShowsCzechTexts)
{
    StoreLanguage("cz");
    Logic().FormCreate();
    EXPECT_EQ(view.count, "Počet proxy serverů 0");
    EXPECT_EQ(view.system, "Aktuální systém: Test System 1");
    EXPECT_EQ(Logic().Dispatcher().Language(), "Czech");
    EXPECT_EQ(Logic().Strings().strsDotaz(), "Dotaz");
    // Each application of the tables writes the window's title.
    EXPECT_TRUE(view.window.writes.empty());
}

TEST_F(MainWindowLogicTest, UnknownStoredLanguageKeepsCzechAndIsNotRewritten)
{
    for (const char* stored : {"CZ", "EN", "de", ""}) {
        StoreLanguage(stored);
        RecordingView fresh;
        MainWindowLogic logic(Services(), fresh);
        logic.FormCreate();
        EXPECT_EQ(fresh.count, "Počet proxy serverů 0") << stored;
        EXPECT_EQ(StoredLanguage(), stored);
    }
}

TEST_F(MainWindowLogicTest, EnglishAppliesTheTablesOnceAndRefreshesTheCachedTexts)
{
    Logic().FormCreate();
    EXPECT_EQ(view.window.writes, std::vector<std::string>{".Caption"});
    EXPECT_EQ(Logic().Strings().strsDotaz(), "Question");
}

TEST_F(MainWindowLogicTest, ListFileThatCannotBeReadEndsCreationAtThatStep)
{
    platform::MakeDirectory(platform::DataFolder());
    const test_support::UnopenableFile blacklist(DataFile("blacklist.txt"));
    WriteListFile("proxylist.txt", "a:1\r\n");

    EXPECT_THROW(Logic().FormCreate(), platform::FileError);
    EXPECT_EQ(Logic().Store().Proxys().Count(), 1);
    EXPECT_FALSE(view.proxyUpdate.has_value());
    EXPECT_FALSE(view.count.has_value());
    EXPECT_FALSE(view.mutex.has_value());
    EXPECT_EQ(Logic().CurrentProxy, "");
    EXPECT_FALSE(ExistsForAnotherProcess("Hopvane_off"));
}

TEST_F(MainWindowLogicTest, WarnsWithTheTitleWhenTheSystemIsNotWindows10)
{
    Logic(true).FormCreate();
    EXPECT_EQ(view.messages,
              std::vector<std::string>{"Hopvane: Current system is not Windows 10, application is "
                                       "designed to Windows 10, maybe not work."});
    EXPECT_EQ(view.mutex, "Hopvane_off");
}

TEST_F(MainWindowLogicTest, FirstShowingPutsTheSecureDefaultOrTheStoredUrl)
{
    ScriptedServer server(Replies({"a", "b"}));
    CreatedWith(server).FormShow();
    EXPECT_EQ(view.testUrl, SitesOn(server).czechHttps + "/hopvane/myip.php");
    WriteFileBytes(env_.Root().File("hopvane.ini"), "[setting]\r\nurltest=http://mine/\r\n");
    Logic().FormShow();
    EXPECT_EQ(view.testUrl, "http://mine/");
}

TEST_F(MainWindowLogicTest, FirstShowingLoadsTheHiddenPagesThenShowsTheAddressAsReceived)
{
    ScriptedServer server(Replies({"203.0.113.9\r\n"}));
    CreatedWith(server).FormShow();
    const std::string base = SitesOn(server).czechHttps;
    EXPECT_EQ(view.navigated,
              (std::vector<std::string>{"Connection " + base + "/hopvane/connection.php",
                                        "IP " + base + "/hopvane/myiptxt.php"}));
    EXPECT_EQ(RequestLine(server.Finish()[0]), "GET /hopvane/myiptxt.php HTTP/1.1");
    EXPECT_EQ(Logic().OriginalIP, "203.0.113.9\r\n");
    EXPECT_EQ(view.originalIP, "203.0.113.9\r\n");
    EXPECT_EQ(view.status, "203.0.113.9\r\n");
}

TEST_F(MainWindowLogicTest, UnreachableServiceAtTheFirstShowingLeavesTheAddressUnknown)
{
    Logic().FormCreate();
    EXPECT_THROW(Logic().FormShow(), platform::SocketError);
    EXPECT_EQ(view.navigated.size(), 2u);
    EXPECT_EQ(Logic().OriginalIP, "");
    EXPECT_FALSE(view.originalIP.has_value());
    EXPECT_FALSE(view.status.has_value());
}

struct UpdateCase {
    const char* body;
    bool asks;
};

TEST_F(MainWindowLogicTest, UpdateQuestionOnlyForAWholeNumberAboveThisRelease)
{
    const UpdateCase cases[] = {
        {"12", true},   {" 12", true},          {"+12", true},
        {"$0C", true},  {"0x0C", true},         {"11", false},
        {"0", false},   {"-5", false},          {"12\r\n", false},
        {"12 ", false}, {"99999999999", false}, {"<html><body>12</body></html>", false},
    };
    for (const auto& c : cases) {
        ScriptedServer server(Replies({c.body}));
        RecordingView fresh;
        sites = SitesOn(server);
        MainWindowLogic logic(Services(), fresh);
        logic.FormCreate();
        logic.FormPaint();
        EXPECT_EQ(RequestLine(server.Finish()[0]), "GET /download/KHopvane.txt HTTP/1.1");
        EXPECT_EQ(fresh.memoVer, c.body);
        EXPECT_EQ(fresh.messages.size(), c.asks ? 1u : 0u) << c.body;
    }
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(MainWindowLogicTest, YesOpensTheDownloadPageOfTheLanguageAndNoNothing)
{
    const std::pair<const char*, std::string> languages[] = {
        {"en", "/en/"}, {"cz", "/hopvane?zdroj=program_hopvane"}};
    for (const auto& [setting, page] : languages) {
        StoreLanguage(setting);
        for (const bool yes : {true, false}) {
            ScriptedServer server(Replies({"12"}));
            RecordingView fresh;
            fresh.answerYes = yes;
            sites = SitesOn(server);
            MainWindowLogic logic(Services(), fresh);
            logic.FormCreate();
            shell.opened.clear();
            logic.FormPaint();
            EXPECT_EQ(shell.opened, yes ? std::vector<std::string>{sites.czechHttps + page}
                                        : std::vector<std::string>{})
                << setting;
        }
    }
}

TEST_F(MainWindowLogicTest, UpdateCheckRunsAtTheFirstPaintOnlyAndFailsSilently)
{
    Logic().FormCreate();
    EXPECT_FALSE(Logic().FirstPaintDone);
    Logic().FormPaint();
    EXPECT_TRUE(Logic().FirstPaintDone);
    EXPECT_EQ(view.memoVer, "");
    view.memoVer.reset();
    Logic().FormPaint();
    EXPECT_FALSE(view.memoVer.has_value());
    EXPECT_TRUE(view.messages.empty());
}

TEST_F(MainWindowLogicTest, RefreshReplacesTheListsAndWritesTheFilesInOrder)
{
    WriteListFile("proxylist.txt", "old:1\r\n");
    WriteListFile("blacklist.txt", "\xEF\xBB\xBF"
                                   "bad:1\r\n");
    ScriptedServer server(Replies({"a:1\nb:2\nc:3", "9.12.2026 10:00\r\n"}));
    MainWindowLogic& logic = CreatedWith(server);
    logic.btnRefreshClick();
    auto& served = server.Finish();
    EXPECT_EQ(RequestLine(served[0]), "GET /hopvane/proxylist/proxy.txt HTTP/1.1");
    EXPECT_EQ(RequestLine(served[1]), "GET /hopvane/proxylist/date-proxy-list.php HTTP/1.1");
    EXPECT_EQ(ReadFileBytes(DataFile("proxylist.txt")), "a:1\r\nb:2\r\nc:3\r\n");
    EXPECT_EQ(ReadFileBytes(DataFile("blacklist.txt")), "\xEF\xBB\xBF");
    EXPECT_EQ(ReadFileBytes(DataFile("proxylistdate.txt")), "9.12.2026 10:00\r\n");
    EXPECT_EQ(view.proxyUpdate, "9.12.2026 10:00\r\n");
    EXPECT_EQ(view.count, "Lines count 3");
    EXPECT_EQ(logic.Store().Proxys().ItemIndex(), 0);
    EXPECT_EQ(logic.CurrentProxy, "old:1");
}

TEST_F(MainWindowLogicTest, EmptyListFromTheServiceEmptiesTheListAndItsFile)
{
    WriteListFile("proxylist.txt", "old:1\r\n");
    ScriptedServer server(Replies({"", "d"}));
    CreatedWith(server).btnRefreshClick();
    EXPECT_EQ(Logic().Store().Proxys().Count(), 0);
    EXPECT_EQ(Logic().Store().Proxys().ItemIndex(), -1);
    EXPECT_EQ(ReadFileBytes(DataFile("proxylist.txt")), "");
    EXPECT_EQ(view.count, "Lines count 0");
    EXPECT_EQ(Logic().CurrentProxy, "old:1");
}

TEST_F(MainWindowLogicTest, FailingDateRequestKeepsTheNewListInMemoryOnly)
{
    WriteListFile("proxylist.txt", "old:1\r\n");
    WriteListFile("blacklist.txt", "bad:1\r\n");
    WriteListFile("proxylistdate.txt", "before\r\n");
    std::vector<ConnectionScript> scripts = Replies({"a:1\r\n"});
    scripts.push_back(
        ConnectionScript().ReadRequest().Send(ReplyWithBody("HTTP/1.1 404 Not Found", "", "gone")));
    ScriptedServer server(std::move(scripts));
    CreatedWith(server);
    view.proxyUpdate.reset();
    EXPECT_THROW(Logic().btnRefreshClick(), net::HttpStatusError);
    EXPECT_EQ(Logic().Store().Proxys().Text(), "a:1\r\n");
    EXPECT_EQ(Logic().Store().Proxys().ItemIndex(), -1);
    EXPECT_EQ(Logic().Store().blacklist().Count(), 1);
    EXPECT_FALSE(view.proxyUpdate.has_value());
    EXPECT_EQ(ReadFileBytes(DataFile("proxylist.txt")), "old:1\r\n");
    EXPECT_EQ(ReadFileBytes(DataFile("blacklist.txt")), "bad:1\r\n");
    EXPECT_EQ(ReadFileBytes(DataFile("proxylistdate.txt")), "before\r\n");
}

TEST_F(MainWindowLogicTest, FailingSaveEndsTheRefreshAfterTheSavesBeforeIt)
{
    WriteListFile("proxylist.txt", "old:1\r\n");
    ScriptedServer server(Replies({"a:1", "d"}));
    CreatedWith(server);
    // A folder where the blacklist file should be: the date is saved, the
    // blacklist is not, and the proxy list is never tried.
    platform::MakeDirectory(DataFile("blacklist.txt"));
    EXPECT_THROW(Logic().btnRefreshClick(), platform::FileError);
    EXPECT_EQ(ReadFileBytes(DataFile("proxylistdate.txt")), "d\r\n");
    EXPECT_EQ(ReadFileBytes(DataFile("proxylist.txt")), "old:1\r\n");
    EXPECT_EQ(Logic().Store().Proxys().ItemIndex(), -1);
}

TEST_F(MainWindowLogicTest, CountFollowsAnEntryMovedToTheBlacklist)
{
    WriteListFile("proxylist.txt", "a:1\r\nb:2\r\n");
    Logic().FormCreate();
    EXPECT_EQ(view.count, "Lines count 2");
    Logic().Store().BlacklistProxy("a:1", Logic().CurrentProxy);
    EXPECT_EQ(view.count, "Lines count 1");
}

TEST_F(MainWindowLogicTest, ClosingSwitchesTheSystemProxyOffEvenIfNeverOn)
{
    Logic().FormCreate();
    Logic().FormCloseQuery();
    EXPECT_EQ(view.changed, "No");
    platform::Registry& registry = platform::CurrentUserRegistry();
    platform::Registry::Key key = platform::Registry::kNoKey;
    ASSERT_EQ(registry.CreateKey(kInternetSettingsKey, platform::kKeyRead, &key),
              platform::kErrorSuccess);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    EXPECT_EQ(registry.QueryValue(key, "ProxyEnable", &type, &data), platform::kErrorSuccess);
    registry.CloseKey(key);
    EXPECT_EQ(type, platform::kRegDword);
    EXPECT_EQ(data, platform::RegDwordData(0));
    EXPECT_EQ(view.mutex, "Hopvane_off");
    EXPECT_TRUE(ExistsForAnotherProcess("Hopvane_off"));
}

TEST_F(MainWindowLogicTest, CopyBeforeAnyProxyPassedPutsEmptyText)
{
    Logic().FormCreate();
    Logic().CopyIPtoclipboard1Click();
    Logic().CurrentIP = "198.51.100.7";
    Logic().CopyIPtoclipboard1Click();
    EXPECT_EQ(clipboard.texts, (std::vector<std::string>{"", "198.51.100.7"}));
}

TEST_F(MainWindowLogicTest, LinksOpenThePageOfTheLanguage)
{
    const std::pair<const char*, const char*> languages[] = {{"cz", "/mojeip"}, {"en", "/myip"}};
    for (const auto& [setting, myIpPage] : languages) {
        StoreLanguage(setting);
        RecordingView fresh;
        MainWindowLogic logic(Services(), fresh);
        logic.FormCreate();
        shell.opened.clear();
        logic.AdvMetroTile1Click();
        logic.txtChangedClick();
        EXPECT_EQ(shell.opened, (std::vector<std::string>{
                                    sites.czechHttps + "/hopvane?zdroj=program_hopvane",
                                    sites.czechHttps + myIpPage + "?zdroj=program_hopvane"}))
            << setting;
    }
}

} // namespace
} // namespace app
