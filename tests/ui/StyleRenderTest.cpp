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
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;

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
        auto* l1 = new QLabel(QStringLiteral("帐套名称："), &form);
        l1->setGeometry(40, 90, 90, 22);
        first = new QLineEdit(QStringLiteral("演示公司"), &form);
        first->setObjectName(QStringLiteral("TxtDB"));
        first->setProperty("controlIndex", 0);
        first->setGeometry(140, 90, 240, 22);
        auto* l2 = new QLabel(QStringLiteral("用户名称："), &form);
        l2->setGeometry(40, 130, 90, 22);
        second = new QLineEdit(QStringLiteral("管理员"), &form);
        second->setObjectName(QStringLiteral("TxtDB"));
        second->setProperty("controlIndex", 1);
        second->setGeometry(140, 130, 240, 22);
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
    w.second->setFocus();
    QApplication::processEvents();
    const QImage shot = w.form.grab().toImage();
    const QString dir = qEnvironmentVariable("ZTGL_RENDER_DIR");
    if (!dir.isEmpty())
        shot.save(QDir(dir).filePath(QStringLiteral("styled-sample.png")));
    if (!dir.isEmpty())
        shot.copy(300, 0, 300, 70).scaled(1200, 280).save(QDir(dir).filePath(QStringLiteral("zoom.png")));
    EXPECT_EQ(shot.size(), QSize(600, 300));
}

}  // namespace
