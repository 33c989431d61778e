#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

// Window tests draw on the offscreen platform: no display is needed and
// colours come out exactly as painted.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
