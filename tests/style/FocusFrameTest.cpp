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

TEST(FocusFrameTest, ThinGreyFrameAtRestRedDoubleFrameWithFocus) {
    const struct {
        FrameLook look, expected;
    } cases[] = {
        {FocusFrame::atRest({1200, 900, 3000, 300}),
         {{1185, 885, 3030, 330}, {171, 169, 146}, 1, {255, 255, 255}}},
        {FocusFrame::withFocus({1200, 900, 3000, 300}),
         {{1180, 880, 3040, 340}, {255, 0, 0}, 2, {255, 255, 192}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.look.rect, c.expected.rect);
        EXPECT_EQ(c.look.border, c.expected.border);
        EXPECT_EQ(c.look.borderWidth, c.expected.borderWidth);
        EXPECT_EQ(c.look.fill, c.expected.fill);
    }
}

TEST(FocusFrameTest, CommonColoursAndTheFrameColourValue) {
    EXPECT_EQ(colours::kFrame.colourValue(), 5150358);
    EXPECT_EQ(colours::kPlate, (Rgb{224, 224, 224}));
    // The window colour as the platform writes it: &HDDF2EE.
    EXPECT_EQ(colours::kWindow.colourValue(), 0xDDF2EE);
}

}  // namespace
