// A styled sample window drawn offscreen: the head, the buttons and the framed boxes where they belong.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "ui/GuiSetup.h"
#include "ui/Style.h"

using namespace ztgl;

namespace {

struct SampleWindow {
    QWidget form;
    QList<QAbstractButton*> buttons;
    QList<QLineEdit*> boxes;

    SampleWindow() {
        form.setObjectName(QStringLiteral("frmSample"));
        form.setWindowTitle(QStringLiteral("新增帐套"));
        form.resize(600, 300);
        const std::pair<const char*, int> captions[] = {
            {"确定(&Y)", 945}, {"关闭(&Q)", 945}, {"新增帐套", 1200}};
        for (const auto& [caption, width] : captions) {
            auto* b = new QPushButton(QString::fromUtf8(caption), &form);
            b->resize(gui::twipsToPixels(width), gui::twipsToPixels(615));
            buttons << b;
        }
        // Two members of the box array TxtDB, each with its label.
        const std::pair<const char*, const char*> rows[] = {{"帐套名称：", "演示公司"},
                                                            {"用户名称：", "管理员"}};
        for (int i = 0; i < 2; ++i) {
            auto* label = new QLabel(QString::fromUtf8(rows[i].first), &form);
            label->setGeometry(40, 90 + 40 * i, 90, 22);
            auto* box = new QLineEdit(QString::fromUtf8(rows[i].second), &form);
            box->setObjectName(QStringLiteral("TxtDB"));
            box->setProperty("controlIndex", i);
            box->setGeometry(140, 90 + 40 * i, 240, 22);
            boxes << box;
        }
        gui::Set_Style(&form, buttons, form.windowTitle());
        gui::Set_FlatControls(&form);
    }
};

TEST(StyleRenderTest, SampleWindowDrawsHeadButtonsAndBoxes) {
    gui::InstallChineseUi(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("MDIfrmZTGL"));
    SampleWindow w;
    gui::Set_ButtonPictures(w.buttons);
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    w.boxes[1]->setFocus();
    QApplication::processEvents();
    const QImage shot = w.form.grab().toImage();
    // ZTGL_RENDER_DIR=/some/dir keeps the picture for a look by eye.
    const QString dir = qEnvironmentVariable("ZTGL_RENDER_DIR");
    if (!dir.isEmpty())
        shot.save(QDir(dir).filePath(QStringLiteral("styled-sample.png")));

    // 600 px = 9000 twips: buttons at 497, 434 and 354 px; the plate from 340 to 574 px.
    EXPECT_EQ(w.buttons[0]->geometry(), QRect(497, 8, 63, 41));
    EXPECT_EQ(w.buttons[2]->geometry(), QRect(354, 8, 80, 41));
    const struct {
        QPoint at;
        QColor colour;
        const char* what;
    } pixels[] = {
        {{345, 20}, QColor(224, 224, 224), "plate beside the buttons"},
        {{340, 25}, QColor(150, 150, 78), "plate border"},
        {{200, 47}, QColor(224, 224, 224), "strip"},
        {{200, 42}, QColor(150, 150, 78), "strip border"},
        {{345, 42}, QColor(224, 224, 224), "line where plate meets strip"},
        {{20, 250}, QColor(238, 242, 221), "window background"},
        {{139, 89}, QColor(171, 169, 146), "frame of the box at rest"},
        {{370, 100}, QColor(255, 255, 255), "box at rest"},
        {{138, 128}, QColor(255, 0, 0), "outer ring of the focused frame"},
        {{139, 129}, QColor(255, 0, 0), "inner ring of the focused frame"},
        {{300, 141}, QColor(255, 255, 192), "focused box"},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(shot.pixelColor(p.at), p.colour) << p.what;

    // The bold title shows dark strokes inside the band, and the band is not plain.
    int dark = 0;
    for (int y = 7; y < 35; ++y) {
        for (int x = 12; x < 130; ++x)
            dark += shot.pixelColor(x, y).lightness() < 60 ? 1 : 0;
    }
    EXPECT_GT(dark, 100);
    EXPECT_NE(shot.pixelColor(150, 5), shot.pixelColor(590, 38));
}

}  // namespace
