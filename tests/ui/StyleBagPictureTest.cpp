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

TEST(StyleBagPictureTest, PictureUnderTheKeyGoesToTheTargetElseNothingChanges) {
    ResetGlobals();
    QTemporaryDir dir;
    gAppPath = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    test::RecordingUiPort port;
    QPixmap builtIn(40, 30);
    builtIn.fill(Qt::blue);
    QLabel label;
    label.setPixmap(builtIn);
    const auto keepsBuiltIn = [&] { return label.pixmap().toImage() == builtIn.toImage(); };
    const auto writeFile = [&](const QByteArray& bytes) {
        QFile file(dir.filePath(QStringLiteral("csxx.dac")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };

    gui::LoadBagPicture(QStringLiteral("201"), &label);  // no bag beside the program
    EXPECT_TRUE(keepsBuiltIn());
    writeFile(QByteArrayLiteral("\x11\x20\x01\x00\xff\xff\xff\x00\x00\x00\x00\x00ZTPB"));  // damaged
    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_TRUE(keepsBuiltIn());

    style::PictureBag bag;
    bag.insert(QStringLiteral("202"), png(QSize(10, 10), Qt::green));
    bag.insert(QStringLiteral("203"), QByteArrayLiteral("not a picture"));
    writeFile(bag.toFileBytes());
    for (const char* key : {"201", "203"}) {  // missing key, no picture under the key
        gui::LoadBagPicture(QString::fromLatin1(key), &label);
        EXPECT_TRUE(keepsBuiltIn()) << key;
        EXPECT_TRUE(gui::ReadBagPicture(QString::fromLatin1(key)).isNull()) << key;
    }
    gui::LoadBagPicture(QStringLiteral("202"), nullptr);

    bag.insert(QStringLiteral("201"), png(QSize(320, 200), Qt::red));
    writeFile(bag.toFileBytes());
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
    ResetGlobals();
}

}  // namespace
