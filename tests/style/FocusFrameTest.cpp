// The input box's frame: name, place and colours at rest and with the focus.
#include <gtest/gtest.h>

#include "style/FocusFrame.h"
#include "style/StyleColours.h"

using namespace ztgl::style;

namespace {

TEST(FocusFrameTest, ShapeNameOfASingleBoxAndOfAnArrayMember) {
    EXPECT_EQ(FocusFrame::shapeName(QStringLiteral("txtPwd")), QStringLiteral("shptxtPwd"));
    EXPECT_EQ(FocusFrame::shapeName(QStringLiteral("TxtDB"), 2), QStringLiteral("shpTxtDB2"));
    EXPECT_EQ(FocusFrame::shapeName(QStringLiteral("TxtDB"), 0), QStringLiteral("shpTxtDB0"));
}

TEST(FocusFrameTest, AtRestThinGreyFrameFifteenTwipsOutsideOnWhite) {
    const FrameLook look = FocusFrame::atRest({1200, 900, 3000, 300});
    EXPECT_EQ(look.rect, (TwipsRect{1185, 885, 3030, 330}));
    EXPECT_EQ(look.border, (Rgb{171, 169, 146}));
    EXPECT_EQ(look.borderWidth, 1);
    EXPECT_EQ(look.fill, (Rgb{255, 255, 255}));
}

TEST(FocusFrameTest, WithFocusRedDoubleFrameTwentyTwipsOutsideOnLightYellow) {
    const FrameLook look = FocusFrame::withFocus({1200, 900, 3000, 300});
    EXPECT_EQ(look.rect, (TwipsRect{1180, 880, 3040, 340}));
    EXPECT_EQ(look.border, (Rgb{255, 0, 0}));
    EXPECT_EQ(look.borderWidth, 2);
    EXPECT_EQ(look.fill, (Rgb{255, 255, 192}));
}

TEST(FocusFrameTest, CommonColoursAndTheFrameColourValue) {
    EXPECT_EQ(colours::kFrame.colourValue(), 5150358);
    EXPECT_EQ(colours::kPlate, (Rgb{224, 224, 224}));
    EXPECT_EQ(colours::kWindow, (Rgb{238, 242, 221}));
    // The window colour as the platform writes it: &HDDF2EE.
    EXPECT_EQ(colours::kWindow.colourValue(), 0xDDF2EE);
}

}  // namespace
