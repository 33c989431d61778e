#include "tests/widgets/widget_probe.h"
#include "widgets/colours.h"
#include "widgets/toggle_switch.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace {

using test_support::ClickMouse;
using test_support::GrabInParent;
using test_support::MakePanel;
using test_support::MoveMouse;
using test_support::PressMouse;
using test_support::ReleaseMouse;
using test_support::ShowAndWait;
using test_support::WhiteBounds;
using widgets::TToggleSwitch;

class ToggleSwitchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        panel_ = MakePanel();
        switch_ = new TToggleSwitch(panel_.get());
        switch_->move(172, 28);
        ShowAndWait(*panel_);
    }

    std::unique_ptr<QWidget> panel_;
    TToggleSwitch* switch_ = nullptr;
};

TEST_F(ToggleSwitchTest, StartsOffAtItsDesignedSize)
{
    EXPECT_FALSE(switch_->isChecked());
    EXPECT_EQ(switch_->size(), QSize(77, 22));
    EXPECT_EQ(switch_->font().pixelSize(), 15);
}

struct ToggleInput {
    const char* name;
    std::function<void(TToggleSwitch&)> toggle;
};

void PrintTo(const ToggleInput& input, std::ostream* out)
{
    *out << input.name;
}

class ToggleSwitchInput : public ToggleSwitchTest,
                          public ::testing::WithParamInterface<ToggleInput> {};

TEST_P(ToggleSwitchInput, ClickHandlerSeesTheNewState)
{
    std::vector<bool> seen;
    QObject::connect(switch_, &QAbstractButton::clicked,
                     [this, &seen] { seen.push_back(switch_->isChecked()); });

    GetParam().toggle(*switch_);
    GetParam().toggle(*switch_);
    GetParam().toggle(*switch_);

    EXPECT_EQ(seen, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(switch_->isChecked());
}

TEST_P(ToggleSwitchInput, DisabledSwitchKeepsItsState)
{
    QSignalSpy clicks(switch_, &QAbstractButton::clicked);
    switch_->setEnabled(false);

    GetParam().toggle(*switch_);

    EXPECT_FALSE(switch_->isChecked());
    EXPECT_EQ(clicks.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Inputs, ToggleSwitchInput,
                         ::testing::Values(ToggleInput{"mouse",
                                                       [](TToggleSwitch& toggle) {
                                                           ClickMouse(toggle,
                                                                      toggle.rect().center());
                                                       }},
                                           ToggleInput{"space key", [](TToggleSwitch& toggle) {
                                                           toggle.setFocus();
                                                           QTest::keyClick(&toggle, Qt::Key_Space);
                                                       }}));

TEST_F(ToggleSwitchTest, ReleaseOutsideDoesNotToggle)
{
    QSignalSpy clicks(switch_, &QAbstractButton::clicked);

    PressMouse(*switch_, switch_->rect().center());
    MoveMouse(*panel_, QPoint(5, 5));
    ReleaseMouse(*panel_, QPoint(5, 5));

    EXPECT_FALSE(switch_->isChecked());
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ToggleSwitchTest, SettingTheStateFromCodeRunsNoClickHandler)
{
    QSignalSpy clicks(switch_, &QAbstractButton::clicked);

    switch_->setChecked(true);

    EXPECT_TRUE(switch_->isChecked());
    EXPECT_EQ(clicks.count(), 0);
}

// The thumb sits at the left when off and at the right when on, and the
// caption in the free part beside it.
TEST_F(ToggleSwitchTest, PaintsThumbAndCaptionForTheState)
{
    const QPoint leftInside(8, 11);
    const QPoint rightInside(68, 11);

    const QImage off = GrabInParent(*switch_);
    EXPECT_EQ(off.pixel(leftInside), widgets::kSwitchFrameColour);
    EXPECT_EQ(off.pixel(rightInside), widgets::kSwitchOffTrackColour);
    const QRect offCaption = WhiteBounds(off);
    ASSERT_FALSE(offCaption.isEmpty());
    EXPECT_GT(offCaption.left(), 27);

    switch_->setChecked(true);
    const QImage on = GrabInParent(*switch_);
    EXPECT_EQ(on.pixel(leftInside), widgets::kSwitchOnTrackColour);
    EXPECT_EQ(on.pixel(rightInside), widgets::kSwitchFrameColour);
    const QRect onCaption = WhiteBounds(on);
    ASSERT_FALSE(onCaption.isEmpty());
    EXPECT_LT(onCaption.right(), 77 - 27);
}

TEST_F(ToggleSwitchTest, DrawsTheCaptionsItIsGiven)
{
    const QImage english = GrabInParent(*switch_);

    switch_->setCaptions("Zap", "Vyp");

    EXPECT_EQ(switch_->onCaption(), "Zap");
    EXPECT_EQ(switch_->offCaption(), "Vyp");
    EXPECT_NE(GrabInParent(*switch_), english);
}

} // namespace
