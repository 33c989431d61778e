#include "platform/files.h"
#include "settings/default_test_urls.h"
#include "settings/frm_config.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

namespace settings {
namespace {

// The window's handlers run through this guard in the tests: what they
// throw is recorded instead of reported.
class FrmConfigTest : public ::testing::Test {
protected:
    FrmConfigTest()
        : window(ConfigWindowLogic(TestUrlStore(platform::SystemProfile(), IniPath())), Guard(),
                 &dispatcher)
    {
    }

    HandlerGuard Guard()
    {
        return [this](const char* handler, const std::function<void()>& body) {
            try {
                body();
            } catch (const std::exception& error) {
                errors.push_back(std::string(handler) + ": " + error.what());
            }
        };
    }

    std::string IniPath() const { return dir.File("hopvane.ini"); }
    QLineEdit* Urlset() const { return window.findChild<QLineEdit*>("urlset"); }
    void Click(const char* button)
    {
        QTest::mouseClick(window.findChild<QWidget*>(button), Qt::LeftButton);
    }
    // Shows the window modally, lets the test act in it, and reports
    // whether it was still open afterwards.
    bool RunModal(const std::function<void()>& act)
    {
        bool stillOpen = false;
        QTimer::singleShot(0, &window, [&] {
            act();
            stillOpen = window.isVisible();
            if (stillOpen)
                window.done(QDialog::Rejected);
        });
        window.exec();
        return stillOpen;
    }

    i18n::TsiLangDispatcher dispatcher;
    test_support::TempDir dir;
    std::vector<std::string> errors;
    TFrmConfig window;
};

TEST_F(FrmConfigTest, DesignedWithTheSecureDefault)
{
    EXPECT_EQ(Urlset()->text().toStdString(), SecureDefaultTestUrl());
    EXPECT_EQ(window.size(), QSize(658, 390));
    EXPECT_EQ(window.windowTitle(), "Nastavení");
}

TEST_F(FrmConfigTest, ShowingReadsTheFileWithThePlainDefault)
{
    RunModal([] {});
    EXPECT_EQ(window.CurrentTestUrl(), PlainDefaultTestUrl());
}

TEST_F(FrmConfigTest, ApplyStoresTheTextAndCloses)
{
    EXPECT_FALSE(RunModal([&] {
        Urlset()->setText("http://example.test/small");
        Click("AdvMetroButton1");
    }));
    EXPECT_NE(test_support::ReadFileBytes(IniPath()).find("urltest=http://example.test/small"),
              std::string::npos);
}

TEST_F(FrmConfigTest, CancelBringsBackTheStoredValueAndCloses)
{
    test_support::WriteFileBytes(IniPath(), "[setting]\r\nurltest=http://stored/\r\n");
    EXPECT_FALSE(RunModal([&] {
        Urlset()->setText("typed");
        Click("AdvMetroButton3");
        EXPECT_EQ(Urlset()->text().toStdString(), PlainDefaultTestUrl());
        Click("AdvMetroButton2");
    }));
    EXPECT_EQ(window.CurrentTestUrl(), "http://stored/");
}

TEST_F(FrmConfigTest, CloseBoxKeepsTheTypedTextAndStoresNothing)
{
    RunModal([&] {
        Urlset()->setText("typed only");
        window.close();
    });
    EXPECT_EQ(window.CurrentTestUrl(), "typed only");
    EXPECT_FALSE(platform::FileExists(IniPath()));
}

TEST_F(FrmConfigTest, EscapeClosesNothing)
{
    EXPECT_TRUE(RunModal([&] { QTest::keyClick(&window, Qt::Key_Escape); }));
}

TEST_F(FrmConfigTest, FailedApplyKeepsTheWindowOpenWithTheTypedText)
{
    test_support::WriteFileBytes(dir.File("file"), "");
    TFrmConfig blocked(
        ConfigWindowLogic(TestUrlStore(platform::SystemProfile(), dir.File("file/hopvane.ini"))),
        Guard(), &dispatcher);
    bool stillOpen = false;
    QTimer::singleShot(0, &blocked, [&] {
        blocked.findChild<QLineEdit*>("urlset")->setText("http://typed/");
        QTest::mouseClick(blocked.findChild<QWidget*>("AdvMetroButton1"), Qt::LeftButton);
        stillOpen = blocked.isVisible();
        blocked.done(QDialog::Rejected);
    });
    blocked.exec();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(errors, std::vector<std::string>{"AdvMetroButton1Click: Unable to write to " +
                                               dir.File("file/hopvane.ini")});
    EXPECT_EQ(blocked.CurrentTestUrl(), "http://typed/");
}

TEST_F(FrmConfigTest, OpensCentredOnTheScreenOfTheMainWindow)
{
    QWidget mainWindow;
    mainWindow.setGeometry(0, 0, 200, 150);
    TFrmConfig centred(ConfigWindowLogic(TestUrlStore(platform::SystemProfile(), IniPath())),
                       Guard(), &dispatcher, &mainWindow);
    QPoint centre;
    QTimer::singleShot(0, &centred, [&] {
        centre = centred.frameGeometry().center();
        centred.done(QDialog::Rejected);
    });
    centred.exec();
    EXPECT_EQ(centre, mainWindow.screen()->availableGeometry().center());
}

TEST_F(FrmConfigTest, AnotherThreadReadsWholeTexts)
{
    const std::string first(500, 'a');
    const std::string second(700, 'b');
    window.SetUrlsetText(first);
    std::atomic<bool> done{false};
    std::vector<std::string> seen;
    std::thread reader([&] {
        for (int i = 0; i < 200; ++i)
            seen.push_back(window.CurrentTestUrl());
        done = true;
    });
    bool flip = false;
    while (!done) {
        window.SetUrlsetText(flip ? first : second);
        flip = !flip;
        QApplication::processEvents();
    }
    reader.join();
    ASSERT_EQ(seen.size(), 200u);
    for (const auto& text : seen)
        EXPECT_TRUE(text == first || text == second) << text.size();
}

TEST_F(FrmConfigTest, RendersToAPicture)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QImage picture = window.grab().toImage();
    EXPECT_EQ(picture.pixel(300, 380), 0xFF2A579A);
    EXPECT_TRUE(picture.save(QStringLiteral(HOPVANE_SCREENSHOT_DIR "/frm_config.png")));
    window.hide();
}

} // namespace
} // namespace settings
