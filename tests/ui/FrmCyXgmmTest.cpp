#include "ui/FrmCyXgmm.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "ManagerFixture.h"
#include "WidgetInput.h"
#include "operators/LoginForm.h"
#include "ui/MDIfrmZTGL.h"
#include "ui/ModalForms.h"
#include "ui/QtUiPort.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

namespace ztgl::test {
namespace {

using F = ChangePasswordForm;
using gui::FrmCyXgmm;

class FrmCyXgmmTest : public ManagerFixture {
protected:
    void SetUp() override {
        ManagerFixture::SetUp();
        gOperator = LoginForm::GetUserInformation("admin");
        dialog = std::make_unique<FrmCyXgmm>(form);
        ASSERT_TRUE(activate(dialog.get()));
    }
    void TearDown() override {
        dialog.reset();
        ManagerFixture::TearDown();
    }
    static void enter(QWidget* w) { pressKey(w, Qt::Key_Return, Qt::NoModifier, "\r"); }
    QString storedAdminPassword() const { return LoginForm::GetUserInformation("admin").UserPwds; }

    F form;
    std::unique_ptr<FrmCyXgmm> dialog;
};

TEST_F(FrmCyXgmmTest, LooksAsDesigned) {
    EXPECT_EQ(dialog->objectName(), "frmCyXgmm");
    EXPECT_EQ(dialog->windowTitle(), "密码修改");
    auto* title = dialog->findChild<QLabel*>("LblTitle");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), "【密码修改】");
    auto* shape = dialog->findChild<gui::ShapeWidget*>("Shape1");
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->fillColour(), QColor(Qt::white));
    EXPECT_EQ(shape->geometry(), gui::twipsToPixels(F::frameRect()));

    EXPECT_EQ(dialog->command1(1)->text(), "确定(&Y)");
    EXPECT_EQ(dialog->command1(0)->text(), "关闭(&Q)");
    EXPECT_EQ(dialog->command1(1)->toolTip(), "确定，快捷键Alt+Y");
    EXPECT_EQ(dialog->command1(0)->toolTip(), "关闭窗体，快捷键Alt+Q");
    // In the title band, OK to the left of Close.
    EXPECT_LT(dialog->command1(1)->x(), dialog->command1(0)->x());
    EXPECT_LT(dialog->command1(0)->geometry().bottom(), shape->y());

    for (const F::Control c : {F::Text3, F::Text1, F::Text2}) {
        QLineEdit* box = dialog->box(c);
        EXPECT_EQ(box->echoMode(), QLineEdit::Password);
        EXPECT_EQ(box->maxLength(), 30);
        EXPECT_TRUE(shape->geometry().contains(box->geometry()));
    }
    QStringList labels;
    for (const QLabel* l : dialog->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"输入旧密码：", "输入新密码：", "确认新密码："})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
    EXPECT_TRUE(dialog->box(F::Text3)->hasFocus());

    dialog->box(F::Text3)->setText("abc");
    dialog->grab().save(QDir::temp().filePath("ztgl-frmCyXgmm.png"));
}

// Opened from the main window, the buttons carry their pictures and their captions still show.
TEST_F(FrmCyXgmmTest, ButtonsWithPicturesOverTheMainWindow) {
    gui::MDIfrmZTGL main;
    main.show();
    F other;
    FrmCyXgmm over(other, &main);
    ASSERT_TRUE(activate(&over));
    for (int i = 0; i < 2; ++i) {
        QAbstractButton* button = over.command1(i);
        EXPECT_FALSE(button->icon().isNull()) << i;
        const int needed =
            button->iconSize().width() + button->fontMetrics().horizontalAdvance(button->text()) + 8;
        EXPECT_GE(button->width(), needed) << i;
    }
    over.grab().save(QDir::temp().filePath("ztgl-frmCyXgmm-pictures.png"));
}

// A wrong old password puts the focus there; Enter moves on and saves from the last box.
TEST_F(FrmCyXgmmTest, EnterMovesOnAndSavesFromTheLastBox) {
    dialog->box(F::Text3)->setText("bad");
    clickMouse(dialog->command1(1));
    EXPECT_EQ(messageTexts(), QStringList{"原始密码错误！请核对后重新输入。"});
    EXPECT_TRUE(dialog->box(F::Text3)->hasFocus());
    EXPECT_EQ(dialog->box(F::Text3)->selectedText(), "bad");

    pressKey(dialog->box(F::Text3), Qt::Key_Backspace, Qt::NoModifier, "\b");  // the selection goes
    enter(dialog->box(F::Text3));
    EXPECT_TRUE(dialog->box(F::Text1)->hasFocus());
    typeText(dialog->box(F::Text1), "Neu'1");
    pressKey(dialog->box(F::Text1), Qt::Key_Enter, Qt::NoModifier, "\r");
    EXPECT_TRUE(dialog->box(F::Text2)->hasFocus());
    typeText(dialog->box(F::Text2), "Neu'2");
    enter(dialog->box(F::Text2));
    EXPECT_EQ(messageTexts().value(1), "两次输入的新密码不相同！请核对后重新输入．");
    EXPECT_TRUE(dialog->box(F::Text1)->hasFocus());
    EXPECT_EQ(dialog->box(F::Text1)->selectedText(), "Neu'1");
    EXPECT_TRUE(dialog->isVisible());

    dialog->box(F::Text2)->setText("Neu'1");
    dialog->box(F::Text2)->setFocus();
    enter(dialog->box(F::Text2));
    EXPECT_EQ(messageTexts().value(2), "修改密码成功！");
    EXPECT_EQ(port.messages.size(), 3);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(storedAdminPassword(), LoginForm::EncodedPassword("admin", "Neu'1"));
}

// Tab walks the boxes and the buttons; Enter on a button moves on without pressing it.
TEST_F(FrmCyXgmmTest, TabOrderAndEnterOnAButton) {
    const QWidget* expected[] = {dialog->box(F::Text1), dialog->box(F::Text2), dialog->command1(1),
                                 dialog->command1(0)};
    for (const QWidget* next : expected) {
        pressKey(QApplication::focusWidget(), Qt::Key_Tab, Qt::NoModifier, "\t");
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    dialog->command1(1)->setFocus();
    enter(dialog->command1(1));
    EXPECT_TRUE(dialog->command1(0)->hasFocus());
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FrmCyXgmmTest, EscapeClosesWithoutSaving) {
    dialog->box(F::Text1)->setText("x");
    dialog->box(F::Text2)->setText("x");
    keyDown(dialog->box(F::Text3), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_TRUE(dialog->isVisible());  // closes when the key comes up
    keyUp(dialog->box(F::Text3), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(storedAdminPassword(), LoginForm::EncodedPassword("admin", QString()));
}

// Alt+Q closes without a word; Alt+Y saves (old password empty, new ones empty and equal).
TEST_F(FrmCyXgmmTest, AccessKeysPressTheButtons) {
    pressKeyInWindow(dialog.get(), Qt::Key_Q, Qt::AltModifier, "q");
    EXPECT_TRUE(waitFor([this] { return !dialog->isVisible(); }));
    EXPECT_TRUE(port.messages.isEmpty());

    F other;
    FrmCyXgmm second(other);
    ASSERT_TRUE(activate(&second));
    pressKeyInWindow(&second, Qt::Key_Y, Qt::AltModifier, "y");
    EXPECT_TRUE(waitFor([&] { return !second.isVisible(); }));
    EXPECT_EQ(messageTexts(), QStringList{"修改密码成功！"});
}

// The real message boxes of the program.
class FrmCyXgmmBoxTest : public FrmCyXgmmTest {
protected:
    void SetUp() override {
        FrmCyXgmmTest::SetUp();
        setUi(&boxes);
    }
    void TearDown() override {
        setUi(&port);
        FrmCyXgmmTest::TearDown();
    }
    gui::QtUiPort boxes;
};

// Esc dismisses the message box on its way down; its way up belongs to the box too and never
// reaches the dialog, which would close on it.
TEST_F(FrmCyXgmmBoxTest, EscThatDismissesAMessageNeverReachesTheDialog) {
    QString shown;
    bool released = false;
    whenModal("QMessageBox", [&](QWidget* box) {
        shown = static_cast<QMessageBox*>(box)->text();
        QTest::keyPress(box, Qt::Key_Escape);
        QTimer::singleShot(0, [&] {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyRelease(focus ? focus : dialog.get(), Qt::Key_Escape);
            released = true;
        });
    });
    QTest::keyClicks(dialog->box(F::Text3), "bad");
    dialog->box(F::Text2)->setFocus();
    QTest::keyClick(dialog->box(F::Text2), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return released; }));
    EXPECT_EQ(shown, "原始密码错误！请核对后重新输入。");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), dialog->box(F::Text3));
    // An Esc of the dialog's own still closes it.
    QTest::keyClick(dialog->box(F::Text3), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

// After "修改密码成功！" the dialog closes and the main window is the active one again: its
// access keys work without a click first.
TEST_F(FrmCyXgmmBoxTest, AfterTheChangeTheMainWindowIsActiveAgain) {
    dialog.reset();
    QPointer<gui::MDIfrmZTGL> main = new gui::MDIfrmZTGL;
    ASSERT_TRUE(activate(main));
    ASSERT_TRUE(main->listWindow());
    QString shown;
    whenModal("ztgl::gui::FrmCyXgmm", [&](QWidget* w) {
        auto& d = *static_cast<FrmCyXgmm*>(w);
        whenModal("QMessageBox", [&](QWidget* box) {
            shown = static_cast<QMessageBox*>(box)->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QTest::keyClicks(d.box(F::Text1), "new");
        QTest::keyClicks(d.box(F::Text2), "new");
        d.box(F::Text2)->setFocus();
        QTest::keyClick(d.box(F::Text2), Qt::Key_Return);
    });
    main->Toolbar1()->findChild<QAction*>("XGMM")->trigger();
    EXPECT_EQ(shown, "修改密码成功！");
    EXPECT_FALSE(QApplication::activeModalWidget());
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == main.data(); }));
    QTest::keyClick(main, Qt::Key_Q, Qt::AltModifier);  // the list window's "关闭(&Q)"
    EXPECT_TRUE(waitFor([&] { return !main->listWindow(); }));
    delete main.data();
}

}  // namespace
}  // namespace ztgl::test
