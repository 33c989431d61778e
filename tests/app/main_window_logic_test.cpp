#include "app/main_window_logic.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry_key.h"
#include "platform/text_codec.h"
#include "tests/support/recording_services.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace app {
namespace {

using test_support::ReadFileBytes;
using test_support::WriteFileBytes;

struct RecordingView final : MainView {
    void SetProxyUpdateText(const std::string& text) override { proxyUpdate = text; }
    void SetCountText(const std::string& text) override { count = text; }
    void SetSystemText(const std::string& text) override { system = text; }
    void SetMutexText(const std::string& text) override { mutex = text; }
    void SetChangedText(const std::string& text) override { changed = text; }
    void SetTestUrl(const std::string& url) override { testUrl = url; }
    void ShowMessage(const std::string& text, const std::string& title) override
    {
        messages.push_back(title + ": " + text);
    }

    std::optional<std::string> proxyUpdate, count, system, mutex, changed, testUrl;
    std::vector<std::string> messages;
};

using test_support::RecordingClipboard;
using test_support::RecordingShell;

class NoInternetSettings final : public platform::InternetSettings {
public:
    void NotifySettingsChanged() override {}
};

constexpr const char* kLanguageKey = "Software\\Kelbrin\\Hopvane\\";
constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Whether a process other than this one sees the name.
bool ExistsForAnotherProcess(const char* name)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(platform::SystemNamedMutexes().Exists(name) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class MainWindowLogicTest : public ::testing::Test {
protected:
    MainWindowLogic& Logic(bool warn = false)
    {
        if (!logic_) {
            logic_ = std::make_unique<MainWindowLogic>(
                MainWindowServices{platform::CurrentUserRegistry(), platform::SystemNamedMutexes(),
                                   internet_, shell, clipboard,
                                   settings::TestUrlStore(platform::SystemProfile(),
                                                          env_.Root().File("hopvane.ini")),
                                   platform::DataFolder(), "Test System 1", warn, "Hopvane"},
                view);
        }
        return *logic_;
    }

    std::string DataFile(const char* name) const { return platform::DataFolder() + name; }

    void StoreLanguage(const std::string& value)
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kLanguageKey,
                                  platform::kKeyWrite);
        key.WriteString("Lang", value);
    }

    std::string StoredLanguage()
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kLanguageKey,
                                  platform::kKeyRead);
        return key.ReadString("Lang");
    }

    void WriteListFile(const char* name, const std::string& bytes)
    {
        platform::MakeDirectory(platform::DataFolder());
        WriteFileBytes(DataFile(name), bytes);
    }

    test_support::IsolatedUserEnvironment env_;
    NoInternetSettings internet_;
    RecordingShell shell;
    RecordingClipboard clipboard;
    RecordingView view;
    std::unique_ptr<MainWindowLogic> logic_;
};

TEST_F(MainWindowLogicTest, FirstStartOnAFreshMachine)
{
    ASSERT_FALSE(platform::DirectoryExists(platform::DataFolder()));
    Logic().FormCreate();
    EXPECT_TRUE(platform::DirectoryExists(platform::DataFolder()));
    EXPECT_EQ(Logic().Store().Proxys().Count(), 0);
    EXPECT_EQ(Logic().Store().blacklist().Count(), 0);
    EXPECT_EQ(Logic().CurrentProxy, "");
    EXPECT_EQ(view.proxyUpdate, "");
    EXPECT_EQ(view.count, "Lines count -1");
    EXPECT_EQ(view.system, "Curent system: Test System 1");
    EXPECT_EQ(view.mutex, "Hopvane_off");
    EXPECT_TRUE(view.messages.empty());
    EXPECT_EQ(StoredLanguage(), "en");
    EXPECT_EQ(Logic().Dispatcher().Language(), "English");
    EXPECT_TRUE(ExistsForAnotherProcess("Hopvane_off"));
    EXPECT_FALSE(ExistsForAnotherProcess("Hopvane_ok"));
}

TEST_F(MainWindowLogicTest, HundredLinesCountAsNinetyNineAndTheFirstIsCurrent)
{
    std::string list;
    for (int i = 0; i < 100; ++i)
        list += "10.0.0." + std::to_string(i) + ":8080\r\n";
    WriteListFile("proxylist.txt", list);
    Logic().FormCreate();
    EXPECT_EQ(view.count, "Lines count 99");
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
    EXPECT_EQ(view.count, "Počet proxy serverů -1");
    EXPECT_EQ(view.system, "Aktuální systém: Test System 1");
    EXPECT_EQ(Logic().Dispatcher().Language(), "Czech");
    EXPECT_EQ(Logic().Strings().strsDotaz(), "Dotaz");
}

TEST_F(MainWindowLogicTest, UnknownStoredLanguageKeepsCzechAndIsNotRewritten)
{
    for (const char* stored : {"CZ", "EN", "de", ""}) {
        StoreLanguage(stored);
        RecordingView fresh;
        MainWindowLogic logic(
            MainWindowServices{
                platform::CurrentUserRegistry(), platform::SystemNamedMutexes(), internet_, shell,
                clipboard,
                settings::TestUrlStore(platform::SystemProfile(), env_.Root().File("hopvane.ini")),
                platform::DataFolder(), "S", false, "Hopvane"},
            fresh);
        logic.FormCreate();
        EXPECT_EQ(fresh.count, "Počet proxy serverů -1") << stored;
        EXPECT_EQ(StoredLanguage(), stored);
    }
}

TEST_F(MainWindowLogicTest, EnglishRefreshesTheCachedUpdateTexts)
{
    Logic().FormCreate();
    EXPECT_EQ(Logic().Strings().strsDotaz(), "Question");
}

TEST_F(MainWindowLogicTest, ListFileThatCannotBeReadEndsCreationAtThatStep)
{
    platform::MakeDirectory(platform::DataFolder());
    // A socket exists as a file but can't be opened, not even by root.
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = DataFile("blacklist.txt");
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    WriteListFile("proxylist.txt", "a:1\r\n");

    EXPECT_THROW(Logic().FormCreate(), platform::FileError);
    close(fd);
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
    Logic().FormCreate();
    Logic().FormShow();
    EXPECT_EQ(view.testUrl, "https://127.0.0.1:18443/hopvane/myip.php");
    WriteFileBytes(env_.Root().File("hopvane.ini"), "[setting]\r\nurltest=http://mine/\r\n");
    Logic().FormShow();
    EXPECT_EQ(view.testUrl, "http://mine/");
}

TEST_F(MainWindowLogicTest, PaintingMarksTheFirstPaintOnce)
{
    Logic().FormCreate();
    EXPECT_FALSE(Logic().FirstPaintDone);
    Logic().FormPaint();
    EXPECT_TRUE(Logic().FirstPaintDone);
    Logic().FormPaint();
    EXPECT_TRUE(Logic().FirstPaintDone);
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
    StoreLanguage("cz");
    Logic().FormCreate();
    Logic().AdvMetroTile1Click();
    Logic().txtChangedClick();
    EXPECT_EQ(shell.opened,
              (std::vector<std::string>{"https://127.0.0.1:18443/hopvane?zdroj=program_hopvane",
                                        "https://127.0.0.1:18443/mojeip?zdroj=program_hopvane"}));
}

TEST_F(MainWindowLogicTest, EnglishLinksOpenTheEnglishMyIpPage)
{
    Logic().FormCreate();
    Logic().AdvMetroTile1Click();
    Logic().txtChangedClick();
    EXPECT_EQ(shell.opened,
              (std::vector<std::string>{"https://127.0.0.1:18443/hopvane?zdroj=program_hopvane",
                                        "https://127.0.0.1:18443/myip?zdroj=program_hopvane"}));
}

} // namespace
} // namespace app
