// The bag of named pictures: its file layout, and nothing but silence for a missing file or key.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "process/Globals.h"
#include "style/PictureBag.h"

using namespace ztgl;
using ztgl::style::PictureBag;

namespace {

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
