// Button pictures by caption, present only while the main window exists; the drawn picture set.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSet>
#include <memory>

#include "ui/BandPicture.h"
#include "ui/ButtonImageList.h"
#include "ui/Style.h"

using namespace ztgl;
using ztgl::gui::ButtonImageList;

namespace {

QImage imageOf(const QIcon& icon, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage pictureImage(int number, bool disabled = false) {
    return ButtonImageList::picture(number, disabled).toImage().convertToFormat(QImage::Format_ARGB32);
}

class StyleButtonPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        own.fill(Qt::magenta);
        for (const char* caption :
             {"关闭(&Q)", "停用帐套", "启用帐套", "修改帐套", "新增帐套", "升级数据库", "关闭(&X)"}) {
            auto* b = new QPushButton(QString::fromUtf8(caption), &form);
            b->setIcon(QIcon(own));  // the picture from the window's own layout
            buttons << b;
        }
    }
    bool keepsOwn(QAbstractButton* b) const {
        return imageOf(b->icon()) == own.toImage().convertToFormat(QImage::Format_ARGB32);
    }

    QPixmap own{16, 16};
    QWidget form;
    QList<QAbstractButton*> buttons;
};

// Pictures only while the main window exists, found by its name in any letters; a child named
// like it is not it.
TEST_F(StyleButtonPicturesTest, ListWindowButtonsGetTheirPicturesWhileTheMainWindowExists) {
    QWidget notMain;
    notMain.setObjectName(QStringLiteral("frmZTLogin"));
    (new QWidget(&form))->setObjectName(QStringLiteral("MDIfrmZTGL"));
    gui::Set_ButtonPictures(buttons);
    for (auto* b : buttons)
        EXPECT_TRUE(keepsOwn(b)) << b->text().toStdString();

    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("mdifrmztgl"));
    gui::Set_ButtonPictures(buttons);
    const int numbers[] = {10, 5, 12, 6, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(imageOf(buttons[i]->icon()), pictureImage(numbers[i])) << i;
        EXPECT_EQ(imageOf(buttons[i]->icon(), QIcon::Disabled), pictureImage(numbers[i], true)) << i;
        EXPECT_EQ(buttons[i]->iconSize(), QSize(16, 16));
    }
    EXPECT_TRUE(keepsOwn(buttons[5]));  // "升级数据库"
    EXPECT_TRUE(keepsOwn(buttons[6]));  // "关闭(&X)": another access key, no picture
}

TEST(ButtonImageListTest, EighteenDistinctPicturesWithGreyDisabledForms) {
    QSet<QByteArray> seen;
    for (int n = 1; n <= 18; ++n) {
        const QImage normal = pictureImage(n);
        const QImage disabled = pictureImage(n, true);
        ASSERT_EQ(normal.size(), QSize(16, 16)) << n;
        ASSERT_EQ(disabled.size(), QSize(16, 16)) << n;
        EXPECT_NE(normal, disabled) << n;
        int inked = 0;
        bool colourful = false;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = normal.pixelColor(x, y);
                if (c.alpha() > 0)
                    ++inked;
                if (c.alpha() > 128 && (c.red() != c.green() || c.green() != c.blue()))
                    colourful = true;
                const QColor d = disabled.pixelColor(x, y);
                if (d.alpha() > 0) {
                    EXPECT_LE(qAbs(d.red() - d.green()) + qAbs(d.green() - d.blue()), 2)
                        << n << " " << x << "," << y;
                }
            }
        }
        EXPECT_GT(inked, 20) << n;
        EXPECT_TRUE(colourful) << n;
        seen.insert(QByteArray(reinterpret_cast<const char*>(normal.constBits()), int(normal.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 18);
    EXPECT_TRUE(ButtonImageList::picture(0).isNull());
    EXPECT_TRUE(ButtonImageList::picture(19).isNull());
}

TEST(BandPictureTest, BandIsFifteenHundredByFiftyThree) {
    EXPECT_EQ(gui::BandPicture::picture().size(), QSize(1500, 53));
    EXPECT_FALSE(gui::BandPicture::picture().toImage().isGrayscale());
}

}  // namespace
