// The common look as pure rules: button pictures by caption, the head's arithmetic in twips at its
// edges, the common colours, the title font, and the bag of named pictures (the windows drawn with
// them: tests/ui/StyleTest.cpp).
#include <gtest/gtest.h>

#include <QStringList>
#include <QtEndian>

#include "style/ButtonPictures.h"
#include "style/ButtonRowLayout.h"
#include "style/PictureBag.h"
#include "style/StyleColours.h"
#include "style/TitleFont.h"

using namespace ztgl::style;
using namespace ztgl;

namespace {

TEST(ButtonPicturesTest, EveryCaptionOfTheTableAndNoOther) {
    // clang-format off
    const struct { int number; QStringList captions; } table[] = {
        {1, {"上一条", "上一单"}}, {2, {"下一条", "下一单", "下一步(&N)"}}, {3, {"新增", "新增(&A)", "新增计划", "新增帐套"}},
        {4, {"保存", "保存(&S)", "拷贝帐套数据"}}, {5, {"放弃", "放弃(&C)", "停用帐套"}},
        {6, {"修改", "编辑(&M)", "修改(&M)", "重新安排计划", "修改帐套"}}, {7, {"删除", "删除(&D)"}},
        {8, {"查询", "查询(&S)", "查询(&F)", "查询[F4]"}}, {9, {"打印", "打印(&P)", "打印收据(&P)"}},
        {10, {"关闭", "关闭(&Q)", "关闭[ESC]"}}, {11, {"结案"}},
        {12, {"确定", "确定(&Y)", "盘盈盘亏(&Y)", "注销(&L)", "注销卡(&Y)", "设置分类(&F)", "启用帐套"}},
        {13, {"收款", "立即收款"}}, {14, {"借出"}}, {15, {"作废"}}, {16, {"高级", "高级(&F)"}},
        {17, {"统计", "统计(&S)"}}, {18, {"存为草稿"}},
    };
    // clang-format on
    for (const auto& row : table)
        for (const QString& caption : row.captions)
            EXPECT_EQ(ButtonPictures::pictureNumber(caption), row.number) << caption.toStdString();
    // Compared exactly.
    for (const char* caption : {"关闭(&X)", "关闭(&q)", "关闭(Q)", "关闭 ", " 关闭", "关闭（&Q）", "确定(&N)",
                                "查询[f4]", "关闭[Esc]", "保存(&s)", "", "升级数据库"})
        EXPECT_EQ(ButtonPictures::pictureNumber(QString::fromUtf8(caption)), std::nullopt) << caption;
}

// The first placed button may come after skipped ones; with none placed, an empty plate at the
// right. (The list window's full row, hidden buttons and narrow windows, and the focus frame's
// look: tests/ui/StyleTest.cpp, in pixels through the same rules.)
TEST(ButtonRowLayoutTest, SkippedButtonsAndAnEmptyRow) {
    const QVector<ButtonSlot> row = {{780, false}, {945, true}};
    EXPECT_EQ(ButtonRowLayout::compute(row, 11000, 11000).buttons[1]->left, 11000 - 600 - 945);
    for (const auto& s : {QVector<ButtonSlot>{{780, false}}, QVector<ButtonSlot>{}}) {
        const HeadGeometry empty = ButtonRowLayout::compute(s, 9000, 9000);
        EXPECT_EQ(empty.placedWidth, 0);
        EXPECT_EQ(empty.plate, (TwipsRect{9000 - 600 - 200, 75, 400, 680}));
    }
}

// The colours as the platform writes them: &H4E9696 for the frame, &HDDF2EE for the window.
TEST(StyleColoursTest, TheCommonColours) {
    EXPECT_EQ(colours::kFrame.colourValue(), 5150358);
    EXPECT_EQ(colours::kPlate, (Rgb{224, 224, 224}));
    EXPECT_EQ(colours::kWindow.colourValue(), 0xDDF2EE);
}

TEST(TitleFontTest, HeiFaceFirstThenTheDebianStandIns) {
    // clang-format off
    const struct { QStringList installed; QString family; bool bold; } cases[] = {
        {{"黑体", "WenQuanYi Zen Hei", "Noto Sans CJK SC"}, "黑体", false},
        {{"SimHei", "Noto Sans CJK SC"}, "SimHei", false},
        {{"WenQuanYi Zen Hei", "Noto Sans CJK SC"}, "WenQuanYi Zen Hei", false},
        {{"Noto Sans CJK SC", "DejaVu Sans"}, "Noto Sans CJK SC", true},
        {{"DejaVu Sans"}, "黑体", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed.join(',').toStdString());
        const auto face =
            TitleFont::choose([&](const QString& family) { return c.installed.contains(family); });
        EXPECT_EQ(face.family, c.family);
        EXPECT_EQ(face.bold, c.bold);
    }
}

PictureBag twoPictures() {
    PictureBag bag;
    bag.insert("201", QByteArrayLiteral("\x89PNG first"));
    bag.insert("202", "BM second");
    return bag;
}

// The file starts with the variant header of an array of bytes; pictures come back by key,
// trailing bytes ignored.
TEST(PictureBagTest, FileLayoutAndPicturesByKey) {
    const QByteArray bytes = twoPictures().toFileBytes();
    ASSERT_GE(bytes.size(), 12);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData()), 8209);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 2), 1);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4), quint32(bytes.size() - 12));
    EXPECT_EQ(bytes.mid(12, 4), "ZTPB");

    const PictureBag bag = PictureBag::fromFileBytes(bytes + "junk");
    EXPECT_EQ(bag.size(), 2);
    EXPECT_EQ(bag.picture("201"), QByteArrayLiteral("\x89PNG first"));
    EXPECT_EQ(bag.picture("202"), "BM second");
    EXPECT_EQ(bag.picture("203"), std::nullopt);
    EXPECT_EQ(bag.picture(" 201"), std::nullopt);
}

TEST(PictureBagTest, DamagedOrForeignFilesGiveAnEmptyBag) {
    const QByteArray good = twoPictures().toFileBytes();
    QByteArray wrongTag = good, twoDims = good, wrongMagic = good, longerThanFile = good;
    wrongTag[0] = 8;  // a variant holding a text
    twoDims[2] = 2;
    wrongMagic[12] = 'X';
    qToLittleEndian<quint32>(quint32(good.size()), longerThanFile.data() + 4);
    for (const QByteArray& bytes : {QByteArray(), good.left(11), good.left(good.size() - 1), wrongTag,
                                    twoDims, wrongMagic, longerThanFile})
        EXPECT_EQ(PictureBag::fromFileBytes(bytes).size(), 0);
}

}  // namespace
