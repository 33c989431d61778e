#include "app/frm_main.h"
#include "app/qt_hand_over.h"
#include "app/startup.h"
#include "app/ui_guard.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/registry_key.h"
#include "settings/frm_config.h"
#include "switching/service_probes.h"
#ifndef _WIN32
#include "tests/app/local_service.h"
#endif
#include "tests/app/service_stub.h"
#include "tests/support/internet_settings_values.h"
#include "tests/support/recording_services.h"
#include "tests/support/temp_dir.h"
#include "tests/support/unopenable_file.h"
#include "widgets/flat_button.h"
#include "widgets/panel.h"
#include "widgets/smooth_label.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QListView>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <future>
#include <optional>

// Failures show Qt's texts as text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace app {
namespace {

using test_support::RecordingClipboard;
using test_support::RecordingShell;
using test_support::ServiceStub;

// What the service answers unless a test says otherwise.
const std::map<std::string, std::string> kServiceBodies = {
    {"/hopvane/myiptxt.php", "127.0.0.1"},
    {"/download/KHopvane.txt", "11"},
    {"/hopvane/proxylist/proxy.txt", "203.0.113.1:8080\n203.0.113.2:3128\n203.0.113.3:80\n"},
    {"/hopvane/proxylist/date-proxy-list.php", "9.12.2026 17:00"},
};

// The update question box while it is open.
QMessageBox* OpenQuestion()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "UpdateQuestion" && widget->isVisible())
            return static_cast<QMessageBox*>(widget);
    }
    return nullptr;
}

constexpr const char* kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Each test starts the windows as the program does, on a fresh user's data.
class FrmMainTest : public ::testing::Test {
protected:
    FrmMainTest()
    {
        CrashReporter::Configure(
            {"Hopvane", "test", "Test System", platform::DataFolder(), "/nonexistent/hopvane"});
        CrashReporter::SetPresenter([this](const BugReport& report, const std::string&) {
            reports.push_back(report);
            return CrashReporter::Choice::Continue;
        });
    }
    ~FrmMainTest() override
    {
        CrashReporter::SetPresenter({});
        CrashReporter::SetMainWindow(nullptr);
    }

    void Start(const std::map<std::string, std::string>& bodies = kServiceBodies,
               bool holdBrowsers = false, ServiceStub::OnRequest onRequest = {})
    {
        stub = std::make_unique<ServiceStub>(bodies, holdBrowsers, std::move(onRequest));
        StartOn(stub->Sites());
    }

    // The service's own probes unless the test brings some.
    void StartOn(const net::ServiceSites& serviceSites,
                 std::optional<switching::CheckProbes> probes = std::nullopt)
    {
        // The configuration window belongs to the main window.
        config.reset();
        main.reset();
        sites = serviceSites;
        main = std::make_unique<TFrmMain>(MainWindowServices{
            platform::CurrentUserRegistry(), platform::SystemNamedMutexes(),
            platform::SystemProxySettingsStores(), shell, clipboard, handOver,
            settings::TestUrlStore(platform::SystemProfile(), IniPath()),
            net::ServiceEndpoints(sites),
            probes ? *probes : switching::ServiceCheckProbes(net::ServiceEndpoints(sites)),
            platform::DataFolder(), systemName, briefSystemName, false, "Hopvane", ""});
        CrashReporter::SetMainWindow(main.get());
        config = std::make_unique<settings::TFrmConfig>(
            settings::ConfigWindowLogic(
                settings::TestUrlStore(platform::SystemProfile(), IniPath())),
            Guarded, &main->Logic().Dispatcher(), main.get());
        main->SetConfigWindow(config.get());
    }

    std::string IniPath() const { return env.Root().File("hopvane.ini"); }

    // The language setting the next start reads: "en" or "cz".
    static void SetLanguage(const char* setting)
    {
        platform::RegistryKey(platform::CurrentUserRegistry(), "Software\\Kelbrin\\Hopvane\\",
                              platform::kKeyWrite)
            .WriteString("Lang", setting);
    }

    QString Text(const char* name) const
    {
        auto* label = main->findChild<widgets::TSmoothLabel*>(name);
        EXPECT_NE(label, nullptr) << name;
        return label ? label->text() : QString();
    }

    QListView* ListBox(const char* name) const { return main->findChild<QListView*>(name); }

    void WriteListFile(const char* name, const std::string& bytes) const
    {
        platform::MakeDirectory(platform::DataFolder());
        test_support::WriteFileBytes(platform::DataFolder() + name, bytes);
    }

    std::vector<std::uint8_t> ProxyEnableData() const
    {
        return test_support::InternetSettingsData("ProxyEnable");
    }

    static std::string InternetSettingsValue(const char* name)
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                  platform::kKeyRead);
        return key.ReadString(name);
    }

    test_support::IsolatedUserEnvironment env;
    QtHandOver handOver;
    std::unique_ptr<ServiceStub> stub;
    net::ServiceSites sites;
    std::string systemName = "Test System";
    std::string briefSystemName = "Brief";
    RecordingShell shell;
    RecordingClipboard clipboard;
    std::vector<BugReport> reports;
    std::unique_ptr<TFrmMain> main;
    std::unique_ptr<settings::TFrmConfig> config;
};

TEST_F(FrmMainTest, FreshStartShowsTheStartState)
{
    Start();
    EXPECT_TRUE(platform::DirectoryExists(platform::DataFolder()));
    EXPECT_EQ(Text("count"), "Lines count 0");
    EXPECT_EQ(Text("systemtxt"), "Curent system: Test System");
    EXPECT_EQ(Text("txProxyUpdate"), "");
    EXPECT_EQ(Text("txtMutex"), "Hopvane_off");
    EXPECT_EQ(ListBox("Proxys")->model()->rowCount(), 0);
    EXPECT_EQ(main->Logic().CurrentProxy, "");
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(main->windowTitle(), "Kelbrin Hopvane");
    EXPECT_EQ(main->size(), QSize(905, 534));
}

TEST_F(FrmMainTest, ListBoxesShowTheStoreAndItsSelection)
{
    std::string list;
    for (int i = 0; i < 100000; ++i)
        list += "10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) + "." +
                std::to_string(i % 256) + ":3128\r\n";
    WriteListFile("proxylist.txt", list);
    WriteListFile("blacklist.txt", "\xEF\xBB\xBF"
                                   "b:1\r\n");
    WriteListFile("proxylistdate.txt", "12/2026\r\n");
    Start();
    QListView* proxys = ListBox("Proxys");
    EXPECT_EQ(proxys->model()->rowCount(), 100000);
    EXPECT_EQ(proxys->currentIndex().row(), 0);
    EXPECT_EQ(proxys->model()->index(99999, 0).data().toString(), "10.1.134.159:3128");
    EXPECT_EQ(ListBox("blacklist")->model()->index(0, 0).data().toString(), "b:1");
    EXPECT_EQ(Text("count"), "Lines count 100000");
    EXPECT_EQ(Text("txProxyUpdate"), "12/2026\r\n");

    // The user's click moves the store's selection, and the store's changes
    // move the list box's.
    proxys->setCurrentIndex(proxys->model()->index(5, 0));
    EXPECT_EQ(main->Logic().Store().Proxys().ItemIndex(), 5);
    std::string current = main->Logic().CurrentProxy;
    main->Logic().Store().BlacklistProxy("10.0.0.5:3128", current);
    EXPECT_EQ(current, "10.0.0.6:3128");
    EXPECT_EQ(proxys->currentIndex().row(), 5);
    EXPECT_EQ(proxys->model()->rowCount(), 99999);
    EXPECT_EQ(ListBox("blacklist")->model()->rowCount(), 2);
    EXPECT_EQ(Text("count"), "Lines count 99999");
}

struct RemovalCase {
    const char* name;
    int selected;
    std::function<void(MainWindowLogic&)> change;
    int selectedAfter;
    const char* currentAfter;
};

// The store's selection rules hold with the list box on the screen: the
// box's own moves of its current row select nothing.
TEST_F(FrmMainTest, ListBoxKeepsTheStoresSelectionRules)
{
    const RemovalCase cases[] = {
        {"BlacklistSelectedLast", 4,
         [](MainWindowLogic& logic) { logic.Store().BlacklistProxy("e:5", logic.CurrentProxy); },
         -1, "e:5"},
        {"BlacklistSelectedMiddle", 2,
         [](MainWindowLogic& logic) { logic.Store().BlacklistProxy("c:3", logic.CurrentProxy); }, 2,
         "d:4"},
        {"DeleteSelected", 2, [](MainWindowLogic& logic) { logic.Store().Proxys().Delete(2); }, -1,
         "c:3"},
        {"DeleteAbove", 2, [](MainWindowLogic& logic) { logic.Store().Proxys().Delete(0); }, 1,
         "c:3"},
    };
    for (const auto& c : cases) {
        WriteListFile("proxylist.txt", "a:1\r\nb:2\r\nc:3\r\nd:4\r\ne:5\r\n");
        WriteListFile("blacklist.txt", "");
        Start();
        main->show();
        MainWindowLogic& logic = main->Logic();
        QListView* proxys = ListBox("Proxys");
        proxys->setCurrentIndex(proxys->model()->index(c.selected, 0));
        logic.CurrentProxy = logic.Store().Proxys().Line(c.selected);
        c.change(logic);
        EXPECT_EQ(logic.Store().Proxys().ItemIndex(), c.selectedAfter) << c.name;
        EXPECT_EQ(proxys->selectionModel()->selectedRows().size(), c.selectedAfter < 0 ? 0 : 1)
            << c.name;
        EXPECT_EQ(logic.CurrentProxy, c.currentAfter) << c.name;
    }
    // A box that takes the focus gets a current row of its own, which
    // selects nothing.
    WriteListFile("blacklist.txt", "x:1\r\ny:2\r\n");
    Start();
    main->show();
    QApplication::setActiveWindow(main.get());
    ListBox("blacklist")->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(ListBox("blacklist")->currentIndex().isValid());
    EXPECT_EQ(main->Logic().Store().blacklist().ItemIndex(), -1);
}

TEST_F(FrmMainTest, UnreadableListFileReachesTheReportAndTheWindowStillOpens)
{
    const std::string path = platform::DataFolder() + "proxylist.txt";
    platform::MakeDirectory(platform::DataFolder());
    const test_support::UnopenableFile list(path);
    Start();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].handler, "FormCreate");
    EXPECT_EQ(reports[0].errorClass, "platform::FileError");
    EXPECT_NE(reports[0].message.find(path), std::string::npos) << reports[0].message;
    EXPECT_NE(test_support::ReadFileBytes(platform::DataFolder() + "bugreport.txt")
                  .find("Handler: FormCreate"),
              std::string::npos);
    EXPECT_EQ(Text("count"), "Lines Count 0");
    main->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(main.get()));
}

TEST_F(FrmMainTest, ClosingFromAReportDuringCreationNeverShowsTheWindow)
{
    platform::MakeDirectory(platform::DataFolder());
    const test_support::UnopenableFile list(platform::DataFolder() + "proxylist.txt");
    CrashReporter::SetPresenter(
        [](const BugReport&, const std::string&) { return CrashReporter::Choice::Close; });
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                  platform::kKeyWrite);
        key.WriteInteger("ProxyEnable", 1);
    }
    Startup startup;
    EXPECT_FALSE(startup.ShowMain());
    EXPECT_FALSE(startup.Main().isVisible());
    EXPECT_EQ(ProxyEnableData(), platform::RegDwordData(0));
}

TEST_F(FrmMainTest, ClosingSwitchesTheSystemProxyOff)
{
    {
        platform::RegistryKey key(platform::CurrentUserRegistry(), kInternetSettingsKey,
                                  platform::kKeyWrite);
        key.WriteInteger("ProxyEnable", 1);
    }
    Start();
    main->show();
    main->close();
    EXPECT_EQ(ProxyEnableData(), platform::RegDwordData(0));
    EXPECT_EQ(Text("txtChanged"), "No");
}

TEST_F(FrmMainTest, FirstShowingPutsTheSecureDefaultIntoTheConfigurationWindow)
{
    Start();
    main->show();
    EXPECT_EQ(config->CurrentTestUrl(), sites.czechHttps + "/hopvane/myip.php");
}

TEST_F(FrmMainTest, FirstShowingShowsTheAddressAndLoadsTheHiddenPages)
{
    Start();
    main->show();
    EXPECT_EQ(Text("txtOriginalIP"), "127.0.0.1");
    EXPECT_EQ(Text("txtstatus"), "127.0.0.1");
    EXPECT_TRUE(stub->AwaitRequest("/hopvane/myiptxt.php"));
    // The browsers' loads go on in the event loop.
    EXPECT_TRUE(QTest::qWaitFor([this] {
        const auto requests = stub->Requests();
        return std::count(requests.begin(), requests.end(), "/hopvane/connection.php browser") +
                   std::count(requests.begin(), requests.end(), "/hopvane/myiptxt.php browser") ==
               2;
    }));
    EXPECT_TRUE(reports.empty());
}

TEST_F(FrmMainTest, HiddenPagesThatNeverComeHoldNeitherTheWindowNorItsClosing)
{
    Start(kServiceBodies, true);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    EXPECT_EQ(Text("txtOriginalIP"), "127.0.0.1");
    EXPECT_TRUE(QTest::qWaitFor([this] {
        const auto requests = stub->Requests();
        return std::count(requests.begin(), requests.end(), "/hopvane/connection.php browser") == 1;
    }));
    main->close();
    Start();
    EXPECT_TRUE(reports.empty());
}

TEST_F(FrmMainTest, UnreachableServiceReportsOnceAndTheWindowOpens)
{
    Start();
    stub.reset();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].handler, "FormShow");
    EXPECT_EQ(reports[0].message.rfind("Socket Error # 10061", 0), 0u) << reports[0].message;
    EXPECT_EQ(Text("txtOriginalIP"), "Check");
    EXPECT_EQ(Text("txtstatus"), "Check");
}

TEST_F(FrmMainTest, RefreshButtonFillsTheListUnderAWaitCursor)
{
    std::vector<Qt::CursorShape> cursors;
    Start(kServiceBodies, false, [&cursors](const std::string& path) {
        // The window's thread waits for the reply meanwhile.
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (path.find("proxylist") != std::string::npos)
            cursors.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
    });
    QTest::mouseClick(main->findChild<QWidget*>("btnRefresh"), Qt::LeftButton);
    EXPECT_EQ(ListBox("Proxys")->model()->rowCount(), 3);
    EXPECT_EQ(ListBox("Proxys")->currentIndex().row(), 0);
    EXPECT_EQ(Text("count"), "Lines count 3");
    EXPECT_EQ(Text("txProxyUpdate"), "9.12.2026 17:00");
    EXPECT_EQ(cursors, (std::vector<Qt::CursorShape>{Qt::WaitCursor, Qt::WaitCursor}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(reports.empty());
}

// Answers the update question with No from inside its own event loop and
// tells what it asked.
class UpdateQuestionAnswerer {
public:
    UpdateQuestionAnswerer()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QMessageBox* question = OpenQuestion()) {
                asked << question->windowTitle() << question->text();
                asked << question->button(QMessageBox::Yes)->text()
                      << question->button(QMessageBox::No)->text();
                asked << (QApplication::activeModalWidget() ? "modal" : "not modal");
                question->button(QMessageBox::No)->click();
            }
        });
        timer_.start(10);
    }

    QStringList asked;

private:
    QTimer timer_;
};

TEST_F(FrmMainTest, NewerReleaseAsksInTheLanguageWithoutBlockingTheWindow)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"en",
         {"Question", "New version available, open www pages for download new version?", "Yes",
          "No", "not modal"}},
        {"cz",
         {"Dotaz",
          "Na webu je nová verze programu, přejete si otevřít stránky pro stažení nové verze?",
          "Ano", "Ne", "not modal"}},
    };
    std::map<std::string, std::string> bodies = kServiceBodies;
    bodies["/download/KHopvane.txt"] = "12";
    for (const auto& [language, asked] : cases) {
        SetLanguage(language);
        Start(bodies);
        UpdateQuestionAnswerer answerer;
        main->show();
        EXPECT_TRUE(QTest::qWaitFor([&answerer] { return !answerer.asked.isEmpty(); }));
        EXPECT_EQ(answerer.asked, asked) << language;
        main->close();
    }
    EXPECT_TRUE(shell.opened.empty());
}

// While a start waits for a run that waits on a silent proxy, the window takes
// no clicks and shows the wait cursor, and closing it hides it at once.
TEST_F(FrmMainTest, AStartWaitingForASilentProbeLetsTheWindowClose)
{
    std::promise<void> silence;
    std::shared_future<void> silent = silence.get_future().share();
    std::atomic<bool> probing{false};
    switching::CheckProbes probes{[&](const switching::ProxyAddress&, const std::string&) {
                                      probing = true;
                                      silent.wait();
                                      return false;
                                  },
                                  [](switching::SpeedTestDisplay&) { return true; },
                                  [](const switching::ProxyAddress&) { return std::string(); },
                                  [](const switching::ProxyAddress&) { return std::string(); }};
    WriteListFile("proxylist.txt", "127.0.0.1:1\r\n");
    stub = std::make_unique<ServiceStub>(kServiceBodies, false, ServiceStub::OnRequest{});
    StartOn(stub->Sites(), probes);
    main->show();
    auto* toggle = main->findChild<QAbstractButton*>("Switch");
    QTest::mouseClick(toggle, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&probing] { return probing.load(); }));
    QTest::mouseClick(toggle, Qt::LeftButton);

    bool waitCursor = false;
    bool hiddenAtOnce = false;
    QTimer::singleShot(100, main.get(), [&] {
        waitCursor = QGuiApplication::overrideCursor() &&
                     QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QTest::mouseClick(main->findChild<QWidget*>("btnRefresh"), Qt::LeftButton);
        main->close();
        hiddenAtOnce = !main->isVisible();
        silence.set_value();
    });
    // Switched on again: the start waits for the silent run.
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(waitCursor);
    EXPECT_TRUE(hiddenAtOnce);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ListBox("Proxys")->model()->rowCount(), 1) << "the click refreshed the list";
    EXPECT_TRUE(main->Logic().ProxyCheckThread().Idle());
}

// The reference service runs on Linux: under Wine the end-to-end script
// drives the Windows program against it instead.
#ifndef _WIN32
TEST_F(FrmMainTest, AgainstTheReferenceService)
{
    const test_support::LocalService service({"--release", "12"});
    ASSERT_TRUE(service.IsUp()) << service.Output();
    UpdateQuestionAnswerer answerer;
    StartOn(service.Sites());
    main->show();
    EXPECT_EQ(Text("txtOriginalIP"), "127.0.0.1");
    EXPECT_TRUE(QTest::qWaitFor([&answerer] { return !answerer.asked.isEmpty(); }));

    QTest::mouseClick(main->findChild<QWidget*>("btnRefresh"), Qt::LeftButton);
    EXPECT_EQ(ListBox("Proxys")->model()->rowCount(), 8);
    EXPECT_EQ(Text("count"), "Lines count 8");
    const std::string list = test_support::ReadFileBytes(platform::DataFolder() + "proxylist.txt");
    EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 8);
    EXPECT_EQ(std::count(list.begin(), list.end(), '\r'), 8);
    EXPECT_EQ(list.substr(list.size() - 2), "\r\n");

    // The browsers' loads arrive in their own time.
    EXPECT_TRUE(QTest::qWaitFor([&service] {
        const std::string log = service.AccessLog();
        return log.find("GET /hopvane/connection.php HTTP/1.1\" 200") != std::string::npos &&
               log.find("GET /hopvane/myiptxt.php HTTP/1.1\" 200 9 \"-\" \"Mozilla/5.0") !=
                   std::string::npos;
    })) << service.AccessLog();
    EXPECT_TRUE(reports.empty());
}

// Runs hopvane-ctl while the window goes on; its exit code, or -1.
int RunCtl(const QStringList& arguments)
{
    QProcess ctl;
    ctl.start(QStringLiteral(HOPVANE_CTL), arguments);
    if (!QTest::qWaitFor([&ctl] { return ctl.state() == QProcess::NotRunning; }, 60000))
        return -1;
    return ctl.exitStatus() == QProcess::NormalExit ? ctl.exitCode() : -1;
}

TEST_F(FrmMainTest, SwitchesEndToEndAgainstTheReferenceService)
{
    const test_support::LocalService service;
    ASSERT_TRUE(service.IsUp()) << service.Output();
    StartOn(service.Sites());
    main->show();
    QTest::mouseClick(main->findChild<QWidget*>("btnRefresh"), Qt::LeftButton);
    ASSERT_EQ(ListBox("Proxys")->model()->rowCount(), 8);
    const std::string proxyPort =
        std::to_string(std::stoi(service.Sites().czechHttp.substr(17)) + 3);
    const std::string firstGood = "127.0.0.11:" + proxyPort;

    EXPECT_EQ(RunCtl({"on", "--wait", "60"}), 0);
    EXPECT_TRUE(main->findChild<QAbstractButton*>("Switch")->isChecked());
    EXPECT_EQ(Text("txtMutex"), "Hopvane_ok");
    EXPECT_EQ(Text("txtstatus"), "Online IP 127.0.0.11");
    EXPECT_TRUE(QTest::qWaitFor([this] { return Text("txState") == "Praha, Česko"; }));
    EXPECT_TRUE(Text("txtDwnSpeed").endsWith(" Kb/s"));
    EXPECT_GT(Text("txtDwnSpeed").split(' ').first().toInt(), 1);
    EXPECT_EQ(ListBox("blacklist")->model()->rowCount(), 4);
    EXPECT_EQ(InternetSettingsValue("ProxyServer"), firstGood);
    EXPECT_EQ(ProxyEnableData(), platform::RegDwordData(1));

    EXPECT_EQ(RunCtl({"next", "--wait", "60"}), 0);
    EXPECT_EQ(InternetSettingsValue("ProxyServer"), "127.0.0.12:" + proxyPort);
    EXPECT_EQ(RunCtl({"off"}), 0);
    EXPECT_EQ(RunCtl({"status"}), 2);
    EXPECT_EQ(ProxyEnableData(), platform::RegDwordData(0));
    EXPECT_TRUE(reports.empty());
}

// hopvane-ctl's exit code and the first line it wrote.
std::pair<int, std::string> RunCtlFor(const QStringList& arguments)
{
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::MergedChannels);
    ctl.start(QStringLiteral(HOPVANE_CTL), arguments);
    if (!QTest::qWaitFor([&ctl] { return ctl.state() == QProcess::NotRunning; }, 60000))
        return {-1, "still running"};
    return {ctl.exitCode(), ctl.readAllStandardOutput().split('\n').first().toStdString()};
}

// From every state one request makes exactly one change, or none and says
// why; the changes are the geo texts fetched through applied proxies.
TEST_F(FrmMainTest, OneRequestIsOneChangeFromEveryState)
{
    const test_support::LocalService service;
    ASSERT_TRUE(service.IsUp()) << service.Output();
    const auto geoTexts = [&service] {
        const std::string log = service.AccessLog();
        std::size_t count = 0;
        for (std::size_t at = log.find("/hopvane/geo/"); at != std::string::npos;
             at = log.find("/hopvane/geo/", at + 1))
            ++count;
        return count;
    };
    // Two good proxies above a dead one, where the walk begins.
    const std::string port = std::to_string(service.ProxyPort());
    WriteListFile("proxylist.txt",
                  "127.0.0.11:" + port + "\r\n127.0.0.12:" + port + "\r\n127.0.0.1:1\r\n");
    StartOn(service.Sites());
    main->show();
    MainWindowLogic& logic = main->Logic();
    logic.Store().Proxys().SetItemIndex(2);
    const auto* toggle = main->findChild<QAbstractButton*>("Switch");
    const auto ranOut = [&logic] {
        EXPECT_TRUE(QTest::qWaitFor([&logic] { return logic.ProxyCheckThread().Idle(); }));
    };
    const auto nothingSelected = [&logic] { logic.Store().Proxys().SetItemIndex(-1); };
    struct Step {
        QStringList command;
        int code;
        const char* says;
        std::size_t changes;
        bool switchOn;
        std::function<void()> then;
    };
    const char* const checksNothing = "hopvane-ctl: Hopvane is switched on but checks nothing";
    const Step steps[] = {
        {{"on"}, 0, "Hopvane is switched on: Hopvane_change", 0, true, ranOut},
        {{"next", "--wait=20"}, 0, "Hopvane_ok: a proxy is applied", 1, true, {}},
        {{"off"}, 0, "Hopvane is switched off", 1, false, nothingSelected},
        {{"next"},
         2,
         "hopvane-ctl: Hopvane is switched off and ignored Hopvane_go_change",
         1,
         false,
         {}},
        {{"on"}, 7, checksNothing, 1, true, {}},
        {{"off"}, 0, "Hopvane is switched off", 1, false, {}},
        {{"on"}, 7, checksNothing, 1, true, {}},
        {{"--wait", "20", "next"}, 0, "Hopvane_ok: a proxy is applied", 2, true, {}},
        {{"next", "--wait", "20"}, 0, "Hopvane_ok: a proxy is applied", 3, true, {}},
    };
    for (const Step& step : steps) {
        const std::string command = step.command.join(' ').toStdString();
        const auto [code, says] = RunCtlFor(step.command);
        EXPECT_EQ(code, step.code) << command << ": " << says;
        EXPECT_EQ(says.rfind(step.says, 0), 0u) << command << ": " << says;
        EXPECT_EQ(toggle->isChecked(), step.switchOn) << command;
        if (step.then)
            step.then();
        // Polls enough for a request left behind to start another change.
        QTest::qWait(400);
        EXPECT_EQ(geoTexts(), step.changes) << command;
    }
    EXPECT_EQ(InternetSettingsValue("ProxyServer"), "127.0.0.12:" + port);
    EXPECT_TRUE(reports.empty());
}

// Neither a transparent proxy nor one that forwards the user's address is
// ever applied, a good one still is, and once it dies the program moves on
// to the next by itself.
TEST_F(FrmMainTest, TheChangeOfAddressIsReal)
{
    const test_support::LocalService service({"--leaking"});
    ASSERT_TRUE(service.IsUp()) << service.Output();
    test_support::WriteFileBytes(IniPath(), "[setting]\r\nhealthcheck=1\r\n");
    StartOn(service.Sites());
    main->show();
    QTest::mouseClick(main->findChild<QWidget*>("btnRefresh"), Qt::LeftButton);
    const std::string port = std::to_string(service.ProxyPort());

    EXPECT_EQ(RunCtl({"on", "--wait", "60"}), 0);
    EXPECT_EQ(InternetSettingsValue("ProxyServer"), "127.0.0.11:" + port);
    const std::string blacklist =
        test_support::ReadFileBytes(platform::DataFolder() + "blacklist.txt");
    for (const char* leaking : {"127.0.0.6:", "127.0.0.7:"})
        EXPECT_NE(blacklist.find(leaking + port + "\r\n"), std::string::npos) << leaking;

    ASSERT_TRUE(service.StopProxy("127.0.0.11"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return InternetSettingsValue("ProxyServer") == "127.0.0.12:" + port; }, 30000));
    EXPECT_EQ(Text("txtMutex"), "Hopvane_ok");
    EXPECT_TRUE(reports.empty());
}

#endif

TEST_F(FrmMainTest, SystemLineShowsTheLongestNameThatFitsInLettersAsLargeAsFit)
{
    struct Case {
        std::string name, brief;
        QString shown;
        bool smaller;
    };
    const Case cases[] = {
        {"Windows 10", "Brief", "Curent system: Windows 10", false},
        {"Debian GNU/Linux 12 (bookworm)", "Brief", "Curent system: Brief", false},
        {"Windows with a name far too long for the line", "Unknown (Windows 10.0.19045)",
         "Curent system: Unknown (Windows 10.0.19045)", true},
    };
    for (const Case& c : cases) {
        systemName = c.name;
        briefSystemName = c.brief;
        Start();
        auto* line = main->findChild<widgets::TSmoothLabel*>("systemtxt");
        EXPECT_EQ(line->text(), c.shown);
        EXPECT_EQ(line->font().pixelSize() < 11, c.smaller) << c.name;
        EXPECT_LE(QFontMetrics(line->font()).horizontalAdvance(line->text()), line->width());
        EXPECT_EQ(line->toolTip().toStdString(), "Curent system: " + c.name);
    }
}

TEST_F(FrmMainTest, CopyMenuAndLinksUseTheServices)
{
    Start();
    main->findChild<QAction*>("CopyIPtoclipboard1")->trigger();
    EXPECT_EQ(clipboard.texts, std::vector<std::string>{""});
    QTest::mouseClick(main->findChild<QWidget*>("txtChanged"), Qt::LeftButton);
    EXPECT_EQ(shell.opened,
              std::vector<std::string>{sites.czechHttps + "/myip?zdroj=program_hopvane"});
}

TEST_F(FrmMainTest, ClosingFromTheReportClosesTheWindowTheOrdinaryWay)
{
    Start();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    CrashReporter::SetPresenter(
        [](const BugReport&, const std::string&) { return CrashReporter::Choice::Close; });
    Guarded("btnRefreshClick", [] { throw std::runtime_error("boom"); });
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([this] { return !main->isVisible(); }));
    EXPECT_EQ(ProxyEnableData(), platform::RegDwordData(0));
    EXPECT_NE(
        test_support::ReadFileBytes(platform::DataFolder() + "bugreport.txt").find("Message: boom"),
        std::string::npos);
}

TEST_F(FrmMainTest, ContinuingFromTheReportKeepsTheWindow)
{
    Start();
    main->show();
    Guarded("btnRefreshClick", [] { throw std::runtime_error("boom"); });
    QApplication::processEvents();
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].errorClass, "std::runtime_error");
}

TEST_F(FrmMainTest, RendersTheMainWindowToAPicture)
{
    WriteListFile("proxylist.txt", "203.0.113.10:8080\r\n198.51.100.22:3128\r\n");
    WriteListFile("blacklist.txt", "192.0.2.1:80\r\n");
    WriteListFile("proxylistdate.txt", "12/2026");
    Start();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    const QImage picture = main->grab().toImage();
    EXPECT_EQ(picture.size(), QSize(905, 534));
    EXPECT_EQ(picture.pixel(450, 520), 0xFF2A579A);
    EXPECT_EQ(picture.pixel(450, 2), 0xFF3E6DB6);
    EXPECT_TRUE(picture.save(QStringLiteral(HOPVANE_SCREENSHOT_DIR "/frm_main.png")));
}

// The captions of both windows in each language, by object name; "" is the
// window itself.
struct ShownCaption {
    bool inConfig;
    const char* name;
    const char* english;
    const char* czech;
};

const ShownCaption kCaptions[] = {
    {false, "", "Kelbrin Hopvane", "Kelbrin Hopvane"},
    {false, "Panel1", " ", " "},
    {false, "Panel2", " ", " "},
    {false, "Panel3", " ", " "},
    {false, "Panel4", " ", " "},
    {false, "Panel5", " ", " "},
    {false, "btnConfig", "Config", "Nastavení"},
    {false, "btnNextIP", "Next IP", "Další IP"},
    {false, "CopyIPtoclipboard1", "Copy IP to clipboard", "Zkopírovat IP adresu do schránky"},
    {false, "txDownloadTest", "Download test:", "Download test:"},
    {false, "txEnableHopvane", "Enable Hopvane", "Zapnout změnu IP"},
    {false, "txIPBlacklist", "IP blacklist:", "IP blacklist:"},
    {false, "txIPChanged", "IP Changed:", "IP Změněna:"},
    {false, "txHopvane", "Kelbrin Hopvane", "Kelbrin Hopvane"},
    {false, "txHopvanesmalltext", "Change IP by proxy list", "Změna IP adresy pomocí proxy"},
    {false, "txMutexAppStatus", "Mutex application status:", "Mutex status aplikace:"},
    {false, "txMutexHopvaneGoChange", "Mutex Hopvane_go_change:", "Mutex Hopvane_go_change:"},
    {false, "txOriginalIP", "Original IP:", "Původní IP:"},
    {false, "txProxyList", "Proxy list:", "Proxy list:"},
    {false, "txServerStatus", "Server status:", "Aktuální stav:"},
    {false, "txtChanged", "No", "Ne"},
    {false, "txtstatus", "Check", "Zjišťuji"},
    {false, "txtOriginalIP", "Check", "Zjišťuji"},
    {false, "AdvSmoothLabel14", "Application API", "Application API"},
    {false, "count", "Lines count 0", "Počet proxy serverů 0"},
    {false, "systemtxt", "Curent system: Test System", "Aktuální systém: Test System"},
    {false, "txtMutex", "Hopvane_off", "Hopvane_off"},
    {true, "", "Configuration", "Nastavení"},
    {true, "Panel1", " ", " "},
    {true, "Panel5", " ", " "},
    {true, "AdvMetroButton1", "Apply", "Použít"},
    {true, "AdvMetroButton2", "Cancel", "Storno"},
    {true, "AdvSmoothLabel1", "Hopvane", "Hopvane"},
    {true, "txCaonfiguration", "Configuration", "Nastavení"},
    {true, "txUrlToTest", "URL to test connection:", "URL pro test připojení:"},
    {true, "txNotification",
     "* eg. google.com block any proxy servers, please set destination url for browse, ideal page "
     "is small page size (in kb)",
     "* např. Google blokuje proxy servery, zvolte tak nějaký nezávislý server a ideálně stránku s "
     "co nejmenší velikostí (v kb)"},
};

QString ShownText(QWidget& window, const char* name)
{
    if (*name == '\0')
        return window.windowTitle();
    QObject* control = window.findChild<QObject*>(name);
    if (auto* label = qobject_cast<widgets::TSmoothLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* panel = qobject_cast<widgets::TPanel*>(control))
        return panel->caption();
    ADD_FAILURE() << "no control " << name;
    return {};
}

// Texts drawn wider than their control, or controls with a text reaching past their
// parent or over a neighbour; controls kept out of sight are left out.
std::vector<std::string> TextsThatDoNotFit(QWidget& window)
{
    std::vector<std::string> faults;
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        QWidget* parent = widget->parentWidget();
        if (widget->window() != &window || widget->geometry().left() >= window.width())
            continue;
        const std::string name = widget->objectName().toStdString();
        int textWidth = 0;
        if (auto* label = qobject_cast<widgets::TSmoothLabel*>(widget))
            textWidth = QFontMetrics(label->font()).horizontalAdvance(label->text());
        if (auto* button = qobject_cast<widgets::TFlatButton*>(widget))
            textWidth = QFontMetrics(button->captionFont()).horizontalAdvance(button->text());
        int room = widget->width();
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            textWidth = QFontMetrics(button->font()).horizontalAdvance(button->text());
            // Its frame and margins take what it asks for beyond the text.
            room -= button->sizeHint().width() - textWidth;
        }
        if (textWidth == 0)
            continue;
        if (textWidth > room)
            faults.push_back(name + " text " + std::to_string(textWidth) + " px in " +
                             std::to_string(room));
        if (!parent->rect().contains(widget->geometry()))
            faults.push_back(name + " reaches out of " + parent->objectName().toStdString());
        for (QObject* sibling : parent->children()) {
            auto* other = qobject_cast<QWidget*>(sibling);
            if (other && other != widget && !other->isWindow() &&
                other->geometry().intersects(widget->geometry()))
                faults.push_back(name + " overlaps " + other->objectName().toStdString());
        }
    }
    return faults;
}

class WindowLanguageTest : public FrmMainTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(WindowLanguageTest, EveryCaptionInTheLanguageAndEveryTextFits)
{
    const bool english = std::string(GetParam()) == "en";
    SetLanguage(GetParam());
    Start();
    for (const ShownCaption& caption : kCaptions) {
        QWidget& window = caption.inConfig ? static_cast<QWidget&>(*config) : *main;
        EXPECT_EQ(ShownText(window, caption.name).toStdString(),
                  english ? caption.english : caption.czech)
            << caption.name;
    }
    EXPECT_EQ(main->Logic().Strings().strsDotaz(), english ? "Question" : "Dotaz");
    EXPECT_EQ(TextsThatDoNotFit(*main), std::vector<std::string>{});
    EXPECT_EQ(TextsThatDoNotFit(*config), std::vector<std::string>{});
}

// The report window that an error opens, as the user finds it before choosing
// to continue; its picture is left beside the main window's.
TEST_P(WindowLanguageTest, ErrorReportInTheLanguageAndEveryTextFits)
{
    SetLanguage(GetParam());
    Start();
    CrashReporter::SetPresenter({});
    QStringList shown;
    std::vector<std::string> faults;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || window->objectName() != "FrmCrashReport")
            return;
        answerer.stop();
        for (const char* name : {"btnDetails", "btnSend", "btnContinue", "btnRestart", "btnClose"})
            shown << window->findChild<QPushButton*>(name)->text();
        faults = TextsThatDoNotFit(*window);
        EXPECT_TRUE(window->grab().save(QStringLiteral(HOPVANE_SCREENSHOT_DIR "/crash_report_") +
                                        GetParam() + QStringLiteral(".png")));
        window->findChild<QPushButton*>("btnContinue")->click();
    });
    answerer.start(10);
    Guarded("btnRefreshClick", [] { throw std::runtime_error("boom"); });
    const QStringList english{"Details", "Send report", "Continue", "Restart", "Close"};
    const QStringList czech{"Podrobnosti", "Odeslat hlášení", "Pokračovat", "Restartovat",
                            "Ukončit"};
    EXPECT_EQ(shown, std::string(GetParam()) == "en" ? english : czech);
    EXPECT_EQ(faults, std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowLanguageTest, ::testing::Values("en", "cz"),
                         [](const auto& test) { return std::string(test.param); });

} // namespace
} // namespace app
