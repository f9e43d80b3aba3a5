// Flat input boxes with a drawn frame, and the focus highlight moving from box to box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "ui/ShapeWidget.h"
#include "ui/Style.h"

using namespace ztgl;
using ztgl::gui::ShapeWidget;

namespace {

const QColor kWhite(255, 255, 255);
const QColor kLightYellow(255, 255, 192);
const QColor kGrey(171, 169, 146);
const QColor kRed(255, 0, 0);

class StyleFlatControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(400, 200);
        code = new QLineEdit(QStringLiteral("admin"), &form);
        code->setObjectName(QStringLiteral("txtCode"));
        code->setGeometry(100, 60, 150, 22);
        pwd = new QLineEdit(QStringLiteral("secret"), &form);
        pwd->setObjectName(QStringLiteral("txtPwd"));
        pwd->setGeometry(100, 100, 150, 22);
        QWidget::setTabOrder(code, pwd);
    }
    // The box's background and its frame: colour, width and distance outside the box in pixels.
    static void expectLook(QLineEdit* box, const QColor& fill, const QColor& border, int width, int outset) {
        ShapeWidget* frame = gui::FrameShapeOf(box);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(box->palette().color(QPalette::Base), fill);
        EXPECT_EQ(frame->fillColour(), fill);
        EXPECT_EQ(frame->borderColour(), border);
        EXPECT_EQ(frame->borderWidth(), width);
        EXPECT_EQ(frame->geometry(), box->geometry().adjusted(-outset, -outset, outset, outset));
    }
    static void expectAtRest(QLineEdit* box) { expectLook(box, kWhite, kGrey, 1, 1); }
    // 20 twips outside the box, widened to whole pixels.
    static void expectFocused(QLineEdit* box) { expectLook(box, kLightYellow, kRed, 2, 2); }

    QWidget form;
    QLineEdit* code = nullptr;
    QLineEdit* pwd = nullptr;
};

// A second pass makes no second frame; a box of an array carries its index in the frame's name;
// the editor of a combo box is left to the combo box.
TEST_F(StyleFlatControlsTest, PaleWindowAndFlatBoxesWithAThinFrameBehindThem) {
    auto* third = new QLineEdit(&form);
    third->setObjectName(QStringLiteral("TxtDB"));
    third->setProperty("controlIndex", 2);
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    combo->lineEdit()->setObjectName(QStringLiteral("comboEdit"));
    gui::Set_FlatControls(&form);
    gui::Set_FlatControls(&form);
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(238, 242, 221));
    for (QLineEdit* box : {code, pwd}) {
        EXPECT_FALSE(box->hasFrame());
        expectAtRest(box);
        ShapeWidget* frame = gui::FrameShapeOf(box);
        EXPECT_EQ(frame->kind(), ShapeWidget::Kind::Rectangle);
        const auto siblings = form.children();  // directly behind its box
        EXPECT_EQ(siblings.indexOf(frame) + 1, siblings.indexOf(box));
    }
    EXPECT_EQ(gui::FrameShapeOf(pwd)->objectName(), QStringLiteral("shptxtPwd"));
    EXPECT_EQ(gui::FrameShapeOf(third)->objectName(), QStringLiteral("shpTxtDB2"));
    EXPECT_EQ(gui::FrameShapeOf(combo->lineEdit()), nullptr);
    EXPECT_EQ(form.findChildren<ShapeWidget*>().size(), 3);
}

// Tab moves the highlight; the box that gets the focus, by Tab or by a click, has its whole text
// selected; the frame follows its box when it moves or hides.
TEST_F(StyleFlatControlsTest, TabbingMovesTheHighlightFromOneBoxToTheNext) {
    gui::Set_FlatControls(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    code->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(code->hasFocus());
    expectFocused(code);
    expectAtRest(pwd);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(code, &tab);
    QApplication::processEvents();
    ASSERT_TRUE(pwd->hasFocus());
    expectAtRest(code);
    expectFocused(pwd);
    EXPECT_EQ(pwd->selectedText(), QStringLiteral("secret"));

    code->setFocus(Qt::MouseFocusReason);
    code->deselect();  // what the click itself does after the focus arrives
    QApplication::processEvents();
    EXPECT_EQ(code->selectedText(), QStringLiteral("admin"));

    pwd->setGeometry(120, 150, 100, 22);
    expectAtRest(pwd);
    pwd->hide();
    EXPECT_FALSE(gui::FrameShapeOf(pwd)->isVisible());
    pwd->show();
    EXPECT_TRUE(gui::FrameShapeOf(pwd)->isVisible());
}

}  // namespace
