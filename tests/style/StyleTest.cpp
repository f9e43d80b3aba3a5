// The common look as pure rules: button pictures by caption, the head's arithmetic in twips, the
// input box's frame, the title font, and the bag of named pictures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QtEndian>

#include "process/Globals.h"
#include "style/ButtonPictures.h"
#include "style/ButtonRowLayout.h"
#include "style/FocusFrame.h"
#include "style/PictureBag.h"
#include "style/StyleColours.h"
#include "style/TitleFont.h"

using namespace ztgl::style;
using namespace ztgl;

namespace {

TEST(ButtonPicturesTest, EveryCaptionOfTheTable) {
    const struct {
        int number;
        QStringList captions;
    } table[] = {
        {1, {"上一条", "上一单"}},
        {2, {"下一条", "下一单", "下一步(&N)"}},
        {3, {"新增", "新增(&A)", "新增计划", "新增帐套"}},
        {4, {"保存", "保存(&S)", "拷贝帐套数据"}},
        {5, {"放弃", "放弃(&C)", "停用帐套"}},
        {6, {"修改", "编辑(&M)", "修改(&M)", "重新安排计划", "修改帐套"}},
        {7, {"删除", "删除(&D)"}},
        {8, {"查询", "查询(&S)", "查询(&F)", "查询[F4]"}},
        {9, {"打印", "打印(&P)", "打印收据(&P)"}},
        {10, {"关闭", "关闭(&Q)", "关闭[ESC]"}},
        {11, {"结案"}},
        {12, {"确定", "确定(&Y)", "盘盈盘亏(&Y)", "注销(&L)", "注销卡(&Y)", "设置分类(&F)", "启用帐套"}},
        {13, {"收款", "立即收款"}},
        {14, {"借出"}},
        {15, {"作废"}},
        {16, {"高级", "高级(&F)"}},
        {17, {"统计", "统计(&S)"}},
        {18, {"存为草稿"}},
    };
    int count = 0;
    for (const auto& row : table) {
        for (const QString& caption : row.captions) {
            EXPECT_EQ(ButtonPictures::pictureNumber(caption), row.number) << caption.toStdString();
            ++count;
        }
    }
    EXPECT_EQ(count, 49);
}

TEST(ButtonPicturesTest, CaptionsAreComparedExactly) {
    for (const char* caption : {"关闭(&X)", "关闭(&q)", "关闭(Q)", "关闭 ", " 关闭", "关闭（&Q）", "确定(&N)",
                                "查询[f4]", "关闭[Esc]", "保存(&s)", "", "升级数据库"}) {
        EXPECT_EQ(ButtonPictures::pictureNumber(QString::fromUtf8(caption)), std::nullopt) << caption;
    }
}

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

TEST(TitleFontTest, HeiFaceFirstThenTheDebianStandIns) {
    const struct {
        QStringList installed;
        QString family;
        bool bold;
    } cases[] = {
        {{"黑体", "WenQuanYi Zen Hei", "Noto Sans CJK SC"}, "黑体", false},
        {{"SimHei", "Noto Sans CJK SC"}, "SimHei", false},
        {{"WenQuanYi Zen Hei", "Noto Sans CJK SC"}, "WenQuanYi Zen Hei", false},
        {{"Noto Sans CJK SC", "DejaVu Sans"}, "Noto Sans CJK SC", true},
        {{"DejaVu Sans"}, "黑体", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.installed.join(QLatin1Char(',')).toStdString());
        const TitleFont::Face face =
            TitleFont::choose([&](const QString& family) { return c.installed.contains(family); });
        EXPECT_EQ(face.family, c.family);
        EXPECT_EQ(face.bold, c.bold);
    }
    EXPECT_EQ(TitleFont::kPointSize, 14);
}

PictureBag twoPictures() {
    PictureBag bag;
    bag.insert(QStringLiteral("201"), QByteArrayLiteral("\x89PNG first"));
    bag.insert(QStringLiteral("202"), QByteArrayLiteral("BM second"));
    return bag;
}

TEST(PictureBagTest, FileStartsWithTheVariantHeaderOfAByteArray) {
    const QByteArray bytes = twoPictures().toFileBytes();
    ASSERT_GE(bytes.size(), 12);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData()), 8209);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 2), 1);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4), quint32(bytes.size() - 12));
    EXPECT_EQ(bytes.mid(12, 4), QByteArrayLiteral("ZTPB"));
}

TEST(PictureBagTest, PicturesComeBackByKeyTrailingBytesIgnored) {
    const PictureBag bag = PictureBag::fromFileBytes(twoPictures().toFileBytes() + "junk");
    EXPECT_EQ(bag.size(), 2);
    EXPECT_EQ(bag.picture(QStringLiteral("201")), QByteArrayLiteral("\x89PNG first"));
    EXPECT_EQ(bag.picture(QStringLiteral("202")), QByteArrayLiteral("BM second"));
    EXPECT_EQ(bag.picture(QStringLiteral("203")), std::nullopt);
    EXPECT_EQ(bag.picture(QStringLiteral(" 201")), std::nullopt);
}

TEST(PictureBagTest, FirstEntryOfADoubledKeyCounts) {
    // Hand-made contents with key "201" twice.
    QByteArray contents = QByteArrayLiteral("ZTPB");
    auto u32 = [](QByteArray& out, quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    u32(contents, 2);
    for (const char* picture : {"one", "two"}) {
        u32(contents, 3);
        contents += "201";
        u32(contents, 3);
        contents += picture;
    }
    QByteArray file = QByteArrayLiteral("\x11\x20\x01\x00");
    u32(file, quint32(contents.size()));
    u32(file, 0);
    const PictureBag bag = PictureBag::fromFileBytes(file + contents);
    EXPECT_EQ(bag.picture(QStringLiteral("201")), QByteArrayLiteral("one"));
}

TEST(PictureBagTest, DamagedOrForeignFilesGiveAnEmptyBag) {
    const QByteArray good = twoPictures().toFileBytes();
    QByteArray wrongTag = good;
    wrongTag[0] = 8;  // a variant holding a text
    QByteArray twoDims = good;
    twoDims[2] = 2;
    QByteArray wrongMagic = good;
    wrongMagic[12] = 'X';
    QByteArray longerThanFile = good;
    qToLittleEndian<quint32>(quint32(good.size()), longerThanFile.data() + 4);
    const QByteArray cases[] = {QByteArray(), good.left(11), good.left(good.size() - 1), wrongTag, twoDims,
                                wrongMagic,   longerThanFile};
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(PictureBag::fromFileBytes(bytes).size(), 0);
}

TEST(PictureBagTest, ProgramBagIsCsxxDacInTheProgramFolder) {
    ResetGlobals();
    QTemporaryDir dir;
    gAppPath = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    EXPECT_EQ(PictureBag::programBagPath(), gAppPath + QStringLiteral("csxx.dac"));

    // No file: an empty bag.
    EXPECT_EQ(PictureBag::fromFile(PictureBag::programBagPath()).size(), 0);

    QFile file(dir.filePath(QStringLiteral("csxx.dac")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(twoPictures().toFileBytes());
    file.close();
    EXPECT_EQ(PictureBag::fromFile(PictureBag::programBagPath()).picture(QStringLiteral("202")),
              QByteArrayLiteral("BM second"));
    ResetGlobals();
}

}  // namespace
