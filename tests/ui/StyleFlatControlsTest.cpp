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
    void showAndActivate() {
        form.show();
        QApplication::setActiveWindow(&form);
        QApplication::processEvents();
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

TEST_F(StyleFlatControlsTest, PaleWindowAndFlatBoxesWithAThinFrameBehindThem) {
    gui::Set_FlatControls(&form);
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(238, 242, 221));
    for (QLineEdit* box : {code, pwd}) {
        EXPECT_FALSE(box->hasFrame());
        expectAtRest(box);
        ShapeWidget* frame = gui::FrameShapeOf(box);
        EXPECT_EQ(frame->parentWidget(), box->parentWidget());
        EXPECT_EQ(frame->kind(), ShapeWidget::Kind::Rectangle);
        // Directly behind its box.
        const auto siblings = form.children();
        EXPECT_EQ(siblings.indexOf(frame) + 1, siblings.indexOf(box));
    }
    EXPECT_EQ(gui::FrameShapeOf(pwd)->objectName(), QStringLiteral("shptxtPwd"));
}

TEST_F(StyleFlatControlsTest, MemberOfABoxArrayCarriesItsIndexInTheFrameName) {
    auto* third = new QLineEdit(&form);
    third->setObjectName(QStringLiteral("TxtDB"));
    third->setProperty("controlIndex", 2);
    third->setGeometry(100, 140, 150, 22);
    gui::Set_FlatControls(&form);
    ShapeWidget* frame = gui::FrameShapeOf(third);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->objectName(), QStringLiteral("shpTxtDB2"));
}

TEST_F(StyleFlatControlsTest, TabbingMovesTheHighlightFromOneBoxToTheNext) {
    gui::Set_FlatControls(&form);
    showAndActivate();
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
    // The box that got the focus has its whole text selected.
    EXPECT_EQ(pwd->selectedText(), QStringLiteral("secret"));
}

TEST_F(StyleFlatControlsTest, WholeTextSelectedAlsoWhenAClickGivesTheFocus) {
    gui::Set_FlatControls(&form);
    showAndActivate();
    pwd->setFocus(Qt::MouseFocusReason);
    pwd->deselect();  // what the click itself does after the focus arrives
    QApplication::processEvents();
    EXPECT_EQ(pwd->selectedText(), QStringLiteral("secret"));
}

TEST_F(StyleFlatControlsTest, FrameFollowsItsBoxWhenItMovesOrHides) {
    gui::Set_FlatControls(&form);
    showAndActivate();
    pwd->setGeometry(120, 150, 100, 22);
    expectAtRest(pwd);
    pwd->hide();
    EXPECT_FALSE(gui::FrameShapeOf(pwd)->isVisible());
    pwd->show();
    EXPECT_TRUE(gui::FrameShapeOf(pwd)->isVisible());
}

TEST_F(StyleFlatControlsTest, SecondPassMakesNoSecondFrame) {
    gui::Set_FlatControls(&form);
    gui::Set_FlatControls(&form);
    EXPECT_EQ(form.findChildren<ShapeWidget*>(QStringLiteral("shptxtPwd")).size(), 1);
}

TEST_F(StyleFlatControlsTest, EditorOfAComboBoxIsLeftToTheComboBox) {
    auto* combo = new QComboBox(&form);
    combo->setObjectName(QStringLiteral("Combo2"));
    combo->setEditable(true);
    combo->lineEdit()->setObjectName(QStringLiteral("comboEdit"));
    gui::Set_FlatControls(&form);
    EXPECT_EQ(gui::FrameShapeOf(combo->lineEdit()), nullptr);
    EXPECT_EQ(form.findChildren<ShapeWidget*>().size(), 2);
}

}  // namespace
