// Push buttons of the styled row show the picture above the caption, both whole on a short button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <memory>

#include "ui/Style.h"

using namespace ztgl;

namespace {

// The rows of `image` holding pixels close to `colour`, and their columns.
struct Extent {
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    bool found() const { return bottom >= 0; }
};

template <typename Pred>
Extent extentOf(const QImage& image, Pred pred) {
    Extent e;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!pred(image.pixelColor(x, y)))
                continue;
            e.top = qMin(e.top, y);
            e.bottom = qMax(e.bottom, y);
            e.left = qMin(e.left, x);
            e.right = qMax(e.right, x);
        }
    }
    return e;
}

bool isPictureGreen(const QColor& c) {
    return c.green() > 120 && c.red() < 90 && c.blue() < 110;
}
bool isText(const QColor& c) {
    return c.lightness() < 90;
}

TEST(StylePictureButtonTest, PictureCentredAboveTheCaption) {
    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("MDIfrmZTGL"));
    QWidget form;
    form.resize(400, 200);
    auto* ok = new QPushButton(QStringLiteral("确定(&Y)"), &form);
    ok->resize(52, 41);
    gui::Set_Style(&form, {ok}, QStringLiteral("密码修改"));
    form.show();
    QApplication::processEvents();

    const QImage shot = ok->grab().toImage();
    const Extent check = extentOf(shot, isPictureGreen);  // picture 12, the green check
    ASSERT_TRUE(check.found());
    EXPECT_LT(check.bottom, shot.height() / 2);
    EXPECT_LE(qAbs(check.left - (shot.width() - 1 - check.right)), 3) << check.left << " " << check.right;

    Extent caption = extentOf(shot, isText);
    ASSERT_TRUE(caption.found());
    EXPECT_GT(caption.top, check.bottom);
    EXPECT_GT(caption.left, 1);  // whole: not cut at either side
    EXPECT_LT(caption.right, shot.width() - 2);
}

TEST(StylePictureButtonTest, CaptionAloneIsCentred) {
    QWidget form;
    form.resize(400, 200);
    auto* b = new QPushButton(QStringLiteral("升级数据库"), &form);
    b->resize(90, 41);
    gui::Set_Style(&form, {b}, QStringLiteral("帐套管理"));
    form.show();
    QApplication::processEvents();
    const QImage shot = b->grab().toImage();
    const Extent caption = extentOf(shot, isText);
    ASSERT_TRUE(caption.found());
    EXPECT_LE(qAbs(caption.top - (shot.height() - 1 - caption.bottom)), 4);
    EXPECT_LE(qAbs(caption.left - (shot.width() - 1 - caption.right)), 4);
}

}  // namespace
