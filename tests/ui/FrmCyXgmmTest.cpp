#include "ui/FrmCyXgmm.h"

#include <QMessageBox>
#include <QScopeGuard>

#include "UiFixture.h"
#include "operators/LoginForm.h"
#include "ui/QtUiPort.h"

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
    QLineEdit* box(F::Control c) const { return dialog->box(c); }
    static void enter(QWidget* w) { pressKey(w, Qt::Key_Return, Qt::NoModifier, "\r"); }
    QString storedAdminPassword() const { return LoginForm::GetUserInformation("admin").UserPwds; }

    F form;
    std::unique_ptr<FrmCyXgmm> dialog;
};

TEST_F(FrmCyXgmmTest, LooksAsDesigned) {
    auto* shape = dialog->findChild<gui::ShapeWidget*>("Shape1");
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->fillColour(), QColor(Qt::white));
    EXPECT_EQ(shape->geometry(), gui::twipsToPixels(F::frameRect()));
    for (const F::Control c : {F::Text3, F::Text1, F::Text2}) {
        EXPECT_EQ(box(c)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(box(c)->maxLength(), 30);
    }
    expectDialogLook(dialog.get(), "frmCyXgmm", "密码修改", shape, dialog->command1(1), dialog->command1(0),
                     {box(F::Text3), box(F::Text1), box(F::Text2)},
                     {"输入旧密码：", "输入新密码：", "确认新密码："});
}

// Tab walks the boxes and the buttons; Enter on a button moves on without pressing it, Enter (the
// keypad's too) on a box moves on, on the last box it saves. (A wrong old password and a saving:
// the message box tests below.)
TEST_F(FrmCyXgmmTest, TabAndEnterMoveOnAndTheLastBoxSaves) {
    const QList<QWidget*> order{box(F::Text1), box(F::Text2), dialog->command1(1), dialog->command1(0)};
    for (const QWidget* next : order) {
        pressKey(QApplication::focusWidget(), Qt::Key_Tab, Qt::NoModifier, "\t");
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    dialog->command1(1)->setFocus();
    enter(dialog->command1(1));
    EXPECT_TRUE(dialog->command1(0)->hasFocus());
    EXPECT_TRUE(port.messages.isEmpty());

    box(F::Text3)->setFocus();
    enter(box(F::Text3));
    EXPECT_TRUE(box(F::Text1)->hasFocus());
    typeText(box(F::Text1), "Neu'1");
    pressKey(box(F::Text1), Qt::Key_Enter, Qt::NoModifier, "\r");
    EXPECT_TRUE(box(F::Text2)->hasFocus());
    typeText(box(F::Text2), "Neu'2");
    enter(box(F::Text2));
    EXPECT_EQ(messageTexts(), QStringList{"两次输入的新密码不相同！请核对后重新输入．"});
    EXPECT_TRUE(box(F::Text1)->hasFocus());
    EXPECT_EQ(box(F::Text1)->selectedText(), "Neu'1");
    EXPECT_TRUE(dialog->isVisible());
    box(F::Text2)->setText("Neu'1");  // the access keys press the buttons: 确定(&Y) saves and closes
    QTest::keyClick(dialog.get(), Qt::Key_Y, Qt::AltModifier);
    ASSERT_TRUE(waitFor([&] { return !dialog->isVisible(); }));
    EXPECT_EQ(messageTexts().last(), "修改密码成功！");
    EXPECT_EQ(storedAdminPassword(), LoginForm::EncodedPassword("admin", "Neu'1"));
}

// Esc dismisses the message box on its way down; its way up belongs to the box too and never
// reaches the dialog, which would close on it. An Esc of the dialog's own closes it, without saving,
// when the key comes up; so does a click on 关闭(&Q).
TEST_F(FrmCyXgmmTest, EscThatDismissesAMessageNeverReachesTheDialog) {
    gui::QtUiPort boxes;  // the real message boxes of the program
    setUi(&boxes);
    const auto back = qScopeGuard([this] { setUi(&port); });
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
    QTest::keyClicks(box(F::Text3), "bad");
    box(F::Text1)->setText("x");
    box(F::Text2)->setText("x");
    box(F::Text2)->setFocus();
    QTest::keyClick(box(F::Text2), Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return released; }));
    EXPECT_EQ(shown, "原始密码错误！请核对后重新输入。");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), box(F::Text3));
    keyDown(box(F::Text3), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_TRUE(dialog->isVisible());
    keyUp(box(F::Text3), Qt::Key_Escape, Qt::NoModifier, "\x1b");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(storedAdminPassword(), LoginForm::EncodedPassword("admin", QString()));
    F other;  // as the program shows it: modally, until Esc
    whenModal("ztgl::gui::FrmCyXgmm", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    gui::runFrmCyXgmm(other, nullptr);
    EXPECT_TRUE(other.isUnloaded());
    F third;
    whenModal("ztgl::gui::FrmCyXgmm",
              [](QWidget* w) { clickMouse(static_cast<FrmCyXgmm*>(w)->command1(0)); });
    gui::runFrmCyXgmm(third, nullptr);
    EXPECT_TRUE(third.isUnloaded());
}

}  // namespace
}  // namespace ztgl::test
