#include "widgets/fonts.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <ostream>

namespace {

using widgets::UiFont;
using widgets::UiFontFamily;

TEST(UiFont, UsesAnInstalledFamilyAtTheDesignedPixelHeight)
{
    for (const char* family : {"Segoe UI", "Tahoma"}) {
        const QFont font = UiFont(family, 15);
        EXPECT_EQ(font.pixelSize(), 15) << family;
        EXPECT_EQ(QFontInfo(font).family(), UiFontFamily(family)) << family;
    }
}

// A text and the room the windows give it: from the left edge of its label to
// the next control on the right, or the width of its fixed box.
struct FitCase {
    const char* family;
    int pixelHeight;
    const char* text;
    int room;
};

void PrintTo(const FitCase& fit, std::ostream* out)
{
    *out << fit.text << " (" << fit.pixelHeight << " px in " << fit.room << ")";
}

class DesignedTextFits : public ::testing::TestWithParam<FitCase> {};

TEST_P(DesignedTextFits, InBothLanguages)
{
    const FitCase& fit = GetParam();
    const QFontMetrics metrics(UiFont(fit.family, fit.pixelHeight));
    EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(fit.text)), fit.room);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, DesignedTextFits,
                         ::testing::Values(
                             // Application-interface panel: values start at 196 and 223.
                             FitCase{"Segoe UI", 15, "Mutex Hopvane_go_change:", 223 - 17},
                             FitCase{"Segoe UI", 15, "Mutex status aplikace:", 196 - 17},
                             FitCase{"Segoe UI", 15, "Mutex application status:", 196 - 17},
                             // Switch panel: the switch starts at 172.
                             FitCase{"Segoe UI", 15, "Zapnout změnu IP", 172 - 25},
                             FitCase{"Segoe UI", 15, "Enable Hopvane", 172 - 25},
                             // Status panel: values start at 129, the progress bar at 131.
                             FitCase{"Segoe UI", 15, "Původní IP:", 129 - 17},
                             FitCase{"Segoe UI", 15, "Original IP:", 129 - 17},
                             FitCase{"Segoe UI", 15, "Aktuální stav:", 129 - 17},
                             FitCase{"Segoe UI", 15, "Server status:", 129 - 17},
                             FitCase{"Segoe UI", 15, "IP Změněna:", 129 - 17},
                             FitCase{"Segoe UI", 15, "IP Changed:", 129 - 17},
                             FitCase{"Segoe UI", 15, "Download test:", 131 - 17},
                             // Fixed boxes.
                             FitCase{"Segoe UI", 13, "Počet proxy serverů 99999", 247},
                             FitCase{"Segoe UI", 13, "Lines count 99999", 247},
                             FitCase{"Segoe UI", 11, "Aktuální systém: Windows 8.1", 197},
                             FitCase{"Segoe UI", 11, "Curent system: Windows Vista", 197},
                             FitCase{"Segoe UI", 12, "(xx/xxxx)", 78},
                             // Header band, up to the system line at 697.
                             FitCase{"Segoe UI", 27, "Kelbrin Hopvane", 232},
                             FitCase{"Segoe UI", 16, "Změna IP adresy pomocí proxy", 232},
                             FitCase{"Segoe UI", 16, "Change IP by proxy list", 232},
                             // Button captions; a wider one is drawn smaller.
                             FitCase{"Segoe UI", 13, "Další IP", 57},
                             FitCase{"Segoe UI", 13, "Next IP", 57},
                             FitCase{"Segoe UI", 13, "Config", 57},
                             // List boxes: the blacklist is 155 wide, less a scroll bar.
                             FitCase{"Tahoma", 11, "255.255.255.255:65535", 155 - 20}));

INSTANTIATE_TEST_SUITE_P(
    ConfigurationWindow, DesignedTextFits,
    ::testing::Values(
        // The edit box starts at 191.
        FitCase{"Segoe UI", 15, "URL pro test připojení:", 191 - 17},
        FitCase{"Segoe UI", 15, "URL to test connection:", 191 - 17},
        FitCase{"Segoe UI", 16, "Configuration", 232},
        // The advice runs from 31 to the right edge of its 625 wide panel.
        FitCase{"Segoe UI", 11,
                "* např. Google blokuje proxy servery, zvolte tak nějaký nezávislý server a "
                "ideálně stránku s co nejmenší velikostí (v kb)",
                625 - 31},
        FitCase{"Segoe UI", 11,
                "* eg. google.com block any proxy servers, please set destination url for "
                "browse, ideal page is small page size (in kb)",
                625 - 31},
        // Button captions.
        FitCase{"Segoe UI", 13, "Použít", 89}, FitCase{"Segoe UI", 13, "Storno", 89},
        FitCase{"Segoe UI", 13, "Cancel", 89}));

} // namespace
