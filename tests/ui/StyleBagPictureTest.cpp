// Pictures from the bag beside the program, and silence when the file or the key is missing.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "RecordingUiPort.h"
#include "process/Globals.h"
#include "style/PictureBag.h"
#include "ui/BagPicture.h"

using namespace ztgl;

namespace {

QByteArray png(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class StyleBagPictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gAppPath = QDir::toNativeSeparators(dir.path()) + QDir::separator();
        builtIn.fill(Qt::blue);
        label.setPixmap(builtIn);
    }
    void TearDown() override { ResetGlobals(); }
    void writeBag(const style::PictureBag& bag) {
        QFile file(dir.filePath(QStringLiteral("csxx.dac")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bag.toFileBytes());
    }
    bool labelKeepsBuiltIn() const { return label.pixmap().toImage() == builtIn.toImage(); }

    QTemporaryDir dir;
    test::RecordingUiPort port;
    QPixmap builtIn{40, 30};
    QLabel label;
};

TEST_F(StyleBagPictureTest, PictureUnderTheKeyGoesToTheTarget) {
    style::PictureBag bag;
    bag.insert(QStringLiteral("201"), png(QSize(320, 200), Qt::red));
    bag.insert(QStringLiteral("202"), png(QSize(10, 10), Qt::green));
    writeBag(bag);

    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_EQ(label.pixmap().size(), QSize(320, 200));
    EXPECT_EQ(label.pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));

    QPushButton button;
    gui::LoadBagPicture(QStringLiteral("202"), &button);
    EXPECT_FALSE(button.icon().isNull());

    QWidget form;
    gui::LoadBagPicture(QStringLiteral("201"), &form);
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().brush(QPalette::Window).textureImage().size(), QSize(320, 200));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(StyleBagPictureTest, NoBagBesideTheProgramLeavesTheBuiltInPictureWithoutAMessage) {
    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_TRUE(labelKeepsBuiltIn());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(StyleBagPictureTest, KeyTheBagDoesNotHoldLeavesThePictureWithoutAMessage) {
    style::PictureBag bag;
    bag.insert(QStringLiteral("202"), png(QSize(10, 10), Qt::green));
    bag.insert(QStringLiteral("203"), QByteArrayLiteral("not a picture"));
    writeBag(bag);
    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_TRUE(labelKeepsBuiltIn());
    gui::LoadBagPicture(QStringLiteral("203"), &label);
    EXPECT_TRUE(labelKeepsBuiltIn());
    gui::LoadBagPicture(QStringLiteral("202"), nullptr);
    EXPECT_TRUE(gui::ReadBagPicture(QStringLiteral("201")).isNull());
    EXPECT_TRUE(gui::ReadBagPicture(QStringLiteral("203")).isNull());
    EXPECT_EQ(gui::ReadBagPicture(QStringLiteral("202")).size(), QSize(10, 10));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(StyleBagPictureTest, DamagedBagLeavesThePictureWithoutAMessage) {
    QFile file(dir.filePath(QStringLiteral("csxx.dac")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArrayLiteral("\x11\x20\x01\x00\xff\xff\xff\x00\x00\x00\x00\x00ZTPB"));
    file.close();
    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_TRUE(labelKeepsBuiltIn());
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
