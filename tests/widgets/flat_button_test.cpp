#include "tests/widgets/widget_probe.h"
#include "widgets/colours.h"
#include "widgets/flat_button.h"
#include "widgets/picture_tile.h"
#include "widgets/pictures.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <ostream>

namespace {

using test_support::GrabInParent;
using test_support::kPanelColour;
using test_support::MakePanel;
using test_support::MoveMouse;
using test_support::PaintedBounds;
using test_support::PressMouse;
using test_support::ReleaseMouse;
using test_support::ShowAndWait;
using test_support::WhiteBounds;
using test_support::WhitePixelCount;
using widgets::Picture;
using widgets::PictureIcon;
using widgets::TFlatButton;
using widgets::TPictureTile;

struct ButtonKind {
    const char* name;
    std::function<TFlatButton*(QWidget*)> make;
};

void PrintTo(const ButtonKind& kind, std::ostream* out)
{
    *out << kind.name;
}

const ButtonKind kButtonKinds[] = {
    {"captioned button",
     [](QWidget* parent) {
         auto* button = new TFlatButton(PictureIcon(Picture::Settings), "Nastavení", parent);
         button->setGeometry(10, 10, 57, 65);
         return button;
     }},
    {"picture-only button",
     [](QWidget* parent) {
         auto* button = new TFlatButton(PictureIcon(Picture::Refresh), QString(), parent);
         button->setGeometry(10, 10, 19, 19);
         return button;
     }},
    {"tile",
     [](QWidget* parent) {
         auto* tile = new TPictureTile(PictureIcon(Picture::Logo), parent);
         tile->move(10, 10);
         return tile;
     }},
};

class FlatButtonLook : public ::testing::TestWithParam<ButtonKind> {
protected:
    void SetUp() override
    {
        panel_ = MakePanel();
        button_ = GetParam().make(panel_.get());
        ShowAndWait(*panel_);
        away_ = QPoint(panel_->width() - 5, panel_->height() - 5);
    }

    // The top-left corner stays clear of picture and caption.
    QRgb Background() const { return GrabInParent(*button_).pixel(0, 0); }
    QPoint Centre() const { return button_->rect().center(); }
    void MoveAway() const { MoveMouse(*panel_, away_); }

    std::unique_ptr<QWidget> panel_;
    TFlatButton* button_ = nullptr;
    QPoint away_;
};

TEST_P(FlatButtonLook, PaintsParentColourAtRestHoverColourUnderMouseAndPressedColourWhileDown)
{
    MoveAway();
    EXPECT_EQ(Background(), kPanelColour);

    MoveMouse(*button_, Centre());
    EXPECT_EQ(Background(), widgets::kHoverColour);

    PressMouse(*button_, Centre());
    EXPECT_EQ(Background(), widgets::kPressedColour);

    ReleaseMouse(*button_, Centre());
    EXPECT_EQ(Background(), widgets::kHoverColour);

    MoveAway();
    EXPECT_EQ(Background(), kPanelColour);
}

TEST_P(FlatButtonLook, PaintsTheColoursItIsGiven)
{
    button_->setColour(QColor(0x10, 0x20, 0x30));
    button_->setHoverColour(QColor(0x40, 0x50, 0x60));
    button_->setPressedColour(QColor(0x70, 0x80, 0x90));

    MoveAway();
    EXPECT_EQ(Background(), qRgb(0x10, 0x20, 0x30));
    MoveMouse(*button_, Centre());
    EXPECT_EQ(Background(), qRgb(0x40, 0x50, 0x60));
    PressMouse(*button_, Centre());
    EXPECT_EQ(Background(), qRgb(0x70, 0x80, 0x90));
    ReleaseMouse(*button_, Centre());
}

TEST_P(FlatButtonLook, ShowsItsPictureInWhiteInsideItsBounds)
{
    MoveAway();
    const QImage image = GrabInParent(*button_);
    const QRect picture = WhiteBounds(image);
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_GE(picture.width(), button_->pictureSize().width() / 2);
    EXPECT_TRUE(image.rect().contains(picture));
}

TEST_P(FlatButtonLook, DisabledShowsNoHoverOrPressedColourAndEmitsNothing)
{
    QSignalSpy clicks(button_, &QAbstractButton::clicked);
    button_->setEnabled(false);

    MoveMouse(*button_, Centre());
    EXPECT_EQ(Background(), kPanelColour);
    PressMouse(*button_, Centre());
    EXPECT_EQ(Background(), kPanelColour);
    ReleaseMouse(*button_, Centre());
    QTest::keyClick(button_, Qt::Key_Space);

    EXPECT_EQ(clicks.count(), 0);
}

TEST_P(FlatButtonLook, ClicksOnReleaseInsideAndOnTheSpaceKey)
{
    QSignalSpy clicks(button_, &QAbstractButton::clicked);

    PressMouse(*button_, Centre());
    EXPECT_EQ(clicks.count(), 0);
    ReleaseMouse(*button_, Centre());
    EXPECT_EQ(clicks.count(), 1);

    PressMouse(*button_, Centre());
    MoveMouse(*panel_, away_);
    ReleaseMouse(*panel_, away_);
    EXPECT_EQ(clicks.count(), 1);

    button_->setFocus();
    QTest::keyClick(button_, Qt::Key_Space);
    EXPECT_EQ(clicks.count(), 2);

    QTest::keyClick(button_, Qt::Key_Return);
    QTest::keyClick(button_, Qt::Key_Escape);
    EXPECT_EQ(clicks.count(), 2);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FlatButtonLook, ::testing::ValuesIn(kButtonKinds));

int PixelsOtherThan(const QImage& image, QRgb colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixel(x, y) != colour ? 1 : 0;
        }
    }
    return count;
}

class FlatButtonOnPanel : public ::testing::Test {
protected:
    void SetUp() override { panel_ = MakePanel(); }
    std::unique_ptr<QWidget> panel_;
};

TEST_F(FlatButtonOnPanel, DisabledButtonDimsItsPictureAndCaption)
{
    auto* button = new TFlatButton(PictureIcon(Picture::Next), "Další IP", panel_.get());
    button->setGeometry(0, 0, 57, 53);
    ShowAndWait(*panel_);
    const int whiteWhenEnabled = WhitePixelCount(GrabInParent(*button));

    button->setEnabled(false);
    const QImage disabled = GrabInParent(*button);

    EXPECT_GT(whiteWhenEnabled, 20);
    EXPECT_EQ(WhitePixelCount(disabled), 0);
    EXPECT_GT(PixelsOtherThan(disabled, kPanelColour), 20);
}

TEST_F(FlatButtonOnPanel, PutsThePictureAboveTheCaption)
{
    auto* captionOnly = new TFlatButton(QIcon(), "Nastavení", panel_.get());
    captionOnly->setGeometry(0, 0, 57, 65);
    auto* both = new TFlatButton(PictureIcon(Picture::Settings), "Nastavení", panel_.get());
    both->setGeometry(60, 0, 57, 65);
    ShowAndWait(*panel_);

    const QImage withCaptionOnly = GrabInParent(*captionOnly);
    const QImage withBoth = GrabInParent(*both);
    const QRect caption = WhiteBounds(withCaptionOnly);
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_GT(caption.top(), 65 / 2);

    const QRect captionRows(0, caption.top(), 57, 65 - caption.top());
    EXPECT_EQ(withBoth.copy(captionRows), withCaptionOnly.copy(captionRows));
    const QRect picture = WhiteBounds(withBoth.copy(0, 0, 57, caption.top()));
    EXPECT_GE(picture.height(), 20);
}

TEST_F(FlatButtonOnPanel, DrawsACaptionTooWideForTheButtonSmallerInsteadOfCuttingItOff)
{
    ShowAndWait(*panel_);
    for (const int width : {57, 40}) {
        auto* button = new TFlatButton(QIcon(), "Nastavení", panel_.get());
        button->setGeometry(0, 0, width, 65);
        button->show();

        const QRect caption = PaintedBounds(GrabInParent(*button), kPanelColour);
        ASSERT_FALSE(caption.isEmpty()) << width;
        EXPECT_GT(caption.left(), 0) << width;
        EXPECT_LT(caption.right(), width - 1) << width;
        delete button;
    }
}

TEST_F(FlatButtonOnPanel, TileHasAHandCursorUntilDisabled)
{
    auto* tile = new TPictureTile(PictureIcon(Picture::Logo), panel_.get());
    EXPECT_EQ(tile->size(), QSize(128, 90));
    EXPECT_EQ(tile->cursor().shape(), Qt::PointingHandCursor);

    tile->setEnabled(false);
    EXPECT_EQ(tile->cursor().shape(), Qt::ArrowCursor);

    tile->setEnabled(true);
    EXPECT_EQ(tile->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(FlatButtonOnPanel, DisabledTileShowsItsPictureUndimmed)
{
    auto* tile = new TPictureTile(PictureIcon(Picture::Logo), panel_.get());
    ShowAndWait(*panel_);
    const QImage enabled = GrabInParent(*tile);

    tile->setEnabled(false);

    EXPECT_GT(WhitePixelCount(enabled), 100);
    EXPECT_EQ(GrabInParent(*tile), enabled);
}

} // namespace
