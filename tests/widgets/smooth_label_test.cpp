#include "tests/widgets/widget_probe.h"
#include "widgets/smooth_label.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

using test_support::ClickMouse;
using test_support::GrabInParent;
using test_support::kPanelColour;
using test_support::MakePanel;
using test_support::MoveMouse;
using test_support::PressMouse;
using test_support::ReleaseMouse;
using test_support::ShowAndWait;
using test_support::WhiteBounds;
using test_support::WhitePixelCount;
using widgets::TSmoothLabel;

int TextWidth(const QFont& font, const QString& text)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

class SmoothLabelTest : public ::testing::Test {
protected:
    void SetUp() override { panel_ = MakePanel(QSize(400, 200)); }

    TSmoothLabel* MakeLabel(const QString& text, int pixelHeight)
    {
        return new TSmoothLabel(text, pixelHeight, panel_.get());
    }

    std::unique_ptr<QWidget> panel_;
};

TEST_F(SmoothLabelTest, SizesItselfToItsTextAndKeepsItsPlace)
{
    TSmoothLabel* label = MakeLabel("Zjišťuji", 15);
    label->move(129, 36);
    EXPECT_EQ(label->font().pixelSize(), 15);
    EXPECT_EQ(label->width(), TextWidth(label->font(), "Zjišťuji"));
    EXPECT_EQ(label->height(), static_cast<int>(std::ceil(QFontMetricsF(label->font()).height())));

    label->setText("Connecting to 203.0.113.250");
    EXPECT_EQ(label->width(), TextWidth(label->font(), "Connecting to 203.0.113.250"));
    EXPECT_EQ(label->pos(), QPoint(129, 36));

    label->setText("Ne");
    EXPECT_EQ(label->width(), TextWidth(label->font(), "Ne"));
}

TEST_F(SmoothLabelTest, FollowsAChangeOfFontSize)
{
    TSmoothLabel* label = MakeLabel("Kelbrin Hopvane", 15);
    const int narrow = label->width();

    label->setPixelHeight(27);

    EXPECT_EQ(label->font().pixelSize(), 27);
    EXPECT_EQ(label->width(), TextWidth(label->font(), "Kelbrin Hopvane"));
    EXPECT_GT(label->width(), narrow);
}

TEST_F(SmoothLabelTest, KeepsTheTextExactlyAndGivesEachLineItsRow)
{
    TSmoothLabel* label = MakeLabel("one", 12);
    const int oneLine = label->height();

    label->setText("05/2024\r\n");

    EXPECT_EQ(label->text(), "05/2024\r\n");
    EXPECT_EQ(label->width(), TextWidth(label->font(), "05/2024"));
    EXPECT_GT(label->height(), oneLine);
}

TEST_F(SmoothLabelTest, FixedSizeLabelKeepsItsBox)
{
    TSmoothLabel* label = MakeLabel(QString(), 15);
    label->setAutoSize(false);
    label->setGeometry(176, 88, 177, 23);

    label->setText("Praha, Czech Republic, and a good deal more text");

    EXPECT_EQ(label->geometry(), QRect(176, 88, 177, 23));
}

TEST_F(SmoothLabelTest, AlignsTextInsideAFixedBox)
{
    TSmoothLabel* right = MakeLabel("Lines count 5", 13);
    right->setAutoSize(false);
    right->setAlignment(Qt::AlignRight);
    right->setGeometry(0, 0, 247, 23);
    TSmoothLabel* left = MakeLabel("Lines count 5", 13);
    left->setAutoSize(false);
    left->setGeometry(0, 30, 247, 23);
    ShowAndWait(*panel_);

    const QRect rightText = WhiteBounds(GrabInParent(*right));
    const QRect leftText = WhiteBounds(GrabInParent(*left));
    ASSERT_FALSE(rightText.isEmpty());
    ASSERT_FALSE(leftText.isEmpty());
    EXPECT_GE(rightText.right(), 247 - 4);
    EXPECT_GT(rightText.left(), 247 / 2);
    EXPECT_LE(leftText.left(), 3);
    EXPECT_LT(leftText.right(), 247 / 2);
}

TEST_F(SmoothLabelTest, DrawsWhiteTextOnItsParentsBackground)
{
    TSmoothLabel* label = MakeLabel("Původní IP:", 15);
    ShowAndWait(*panel_);

    const QImage image = GrabInParent(*label);

    EXPECT_GT(WhitePixelCount(image), 30);
    EXPECT_EQ(image.pixel(0, 0), kPanelColour);
    EXPECT_EQ(image.pixel(image.width() - 1, 0), kPanelColour);
}

TEST_F(SmoothLabelTest, UnderlineDrawsALineUnderTheWholeText)
{
    TSmoothLabel* plain = MakeLabel("Ne", 15);
    TSmoothLabel* underlined = MakeLabel("Ne", 15);
    underlined->move(0, 40);
    underlined->setUnderlined(true);
    ShowAndWait(*panel_);

    const QImage withoutLine = GrabInParent(*plain);
    const QImage withLine = GrabInParent(*underlined);
    auto whiteInRow = [](const QImage& image, int row) {
        return WhitePixelCount(image.copy(0, row, image.width(), 1));
    };
    int fullRows = 0;
    for (int row = 0; row < withLine.height(); ++row) {
        if (whiteInRow(withLine, row) >= withLine.width() - 2) {
            ++fullRows;
            EXPECT_LT(whiteInRow(withoutLine, row), withoutLine.width() - 2);
        }
    }
    EXPECT_GE(fullRows, 1);
}

TEST_F(SmoothLabelTest, EmitsClickedForALeftClickInside)
{
    TSmoothLabel* label = MakeLabel("Zjišťuji", 15);
    label->move(20, 20);
    ShowAndWait(*panel_);
    QSignalSpy clicks(label, &TSmoothLabel::clicked);

    ClickMouse(*label, label->rect().center());
    EXPECT_EQ(clicks.count(), 1);

    QTest::mouseClick(label, Qt::RightButton, {}, label->rect().center());
    EXPECT_EQ(clicks.count(), 1);

    PressMouse(*label, label->rect().center());
    MoveMouse(*panel_, QPoint(300, 150));
    ReleaseMouse(*panel_, QPoint(300, 150));
    EXPECT_EQ(clicks.count(), 1);
}

} // namespace
