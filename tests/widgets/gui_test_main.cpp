#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

// Window tests draw on the offscreen platform: no display is needed and
// colours come out exactly as painted.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
#ifdef HOPVANE_TEST_FONT_DIR
    // Offscreen on Windows has no fonts of its own: it reads the folder given.
    qputenv("QT_QPA_FONTDIR", QByteArrayLiteral(HOPVANE_TEST_FONT_DIR));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
