// The head's arithmetic in twips: buttons from the right edge leftwards, the plate around them.
#include <gtest/gtest.h>

#include "style/ButtonRowLayout.h"

using namespace ztgl::style;

namespace {

QVector<ButtonSlot> visible(std::initializer_list<int> widths) {
    QVector<ButtonSlot> out;
    for (int w : widths)
        out.push_back({w, true});
    return out;
}

TEST(ButtonRowLayoutTest, FiveButtonsOfTheListWindowAndTheHeadAroundThem) {
    const HeadGeometry g = ButtonRowLayout::compute(visible({780, 945, 945, 945, 930}), 11000, 11240);
    const int lefts[] = {9620, 8675, 7730, 6785, 5855};
    const int widths[] = {780, 945, 945, 945, 930};
    ASSERT_EQ(g.buttons.size(), 5);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(g.buttons[i].has_value()) << i;
        EXPECT_EQ(*g.buttons[i], (TwipsRect{lefts[i], 120, widths[i], 615})) << i;
    }
    EXPECT_EQ(g.placedWidth, 4545);
    EXPECT_EQ(g.plate, (TwipsRect{5655, 75, 4945, 680}));
    EXPECT_EQ(g.band, (TwipsRect{-15, 0, 11285, 630}));
    EXPECT_EQ(g.strip, (TwipsRect{-15, 630, 11285, 180}));
    EXPECT_EQ(std::make_pair(g.titleLeft, g.titleTop), std::make_pair(180, 105));
    EXPECT_EQ(g.lineLeft, 5655);
    EXPECT_EQ(g.lineRight, 5655 + 4945);
    EXPECT_EQ(g.lineTop, 630);
}

TEST(ButtonRowLayoutTest, ButtonThatTakesNoPartKeepsItsPlaceAndIsNotCounted) {
    // The list window after load: "升级数据库" (third) hidden.
    QVector<ButtonSlot> row = visible({780, 945, 1200, 945, 930});
    row[2].takesPart = false;
    const HeadGeometry g = ButtonRowLayout::compute(row, 11000, 11240);
    EXPECT_FALSE(g.buttons[2].has_value());
    EXPECT_EQ(g.buttons[1]->left, 8675);
    EXPECT_EQ(g.buttons[3]->left, 8675 - 945);  // touches the last placed button, no gap
    EXPECT_EQ(g.buttons[4]->left, 8675 - 945 - 930);
    EXPECT_EQ(g.placedWidth, 780 + 945 + 945 + 930);
    EXPECT_EQ(g.plate.left, 8675 - 945 - 930 - 200);
    EXPECT_EQ(g.plate.width, 3600 + 400);

    // The first placed button may come after skipped ones.
    row = visible({780, 945});
    row[0].takesPart = false;
    EXPECT_EQ(ButtonRowLayout::compute(row, 11000, 11000).buttons[1]->left, 11000 - 600 - 945);
}

TEST(ButtonRowLayoutTest, NarrowWindowKeepsTheFirstLeftNonNegative) {
    for (int inner : {0, 300, 600, 1000, 1380, 1500}) {
        const HeadGeometry g = ButtonRowLayout::compute(visible({780, 945}), inner, inner);
        EXPECT_EQ(g.buttons[0]->left, std::abs(inner - 600 - 780)) << inner;
        EXPECT_EQ(g.buttons[1]->left, g.buttons[0]->left - 945) << inner;
    }
}

TEST(ButtonRowLayoutTest, NoButtonsLeavesAnEmptyPlateAtTheRight) {
    QVector<ButtonSlot> row = visible({780});
    row[0].takesPart = false;
    for (const auto& s : {row, QVector<ButtonSlot>{}}) {
        const HeadGeometry g = ButtonRowLayout::compute(s, 9000, 9000);
        EXPECT_EQ(g.placedWidth, 0);
        EXPECT_EQ(g.plate, (TwipsRect{9000 - 600 - 200, 75, 400, 680}));
    }
}

TEST(ButtonRowLayoutTest, EveryButtonTakesPartWhileTheWindowLoads) {
    // (button visible, window visible) -> takes part
    EXPECT_TRUE(ButtonRowLayout::takesPart(false, false));
    EXPECT_TRUE(ButtonRowLayout::takesPart(true, false));
    EXPECT_TRUE(ButtonRowLayout::takesPart(true, true));
    EXPECT_FALSE(ButtonRowLayout::takesPart(false, true));
}

}  // namespace
