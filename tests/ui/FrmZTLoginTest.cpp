#include "ui/FrmZTLogin.h"

#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>

#include "UiFixture.h"
#include "platform/ShellOpener.h"
#include "style/PictureBag.h"

namespace ztgl::test {
namespace {

using gui::FrmZTLogin;

class RecordingShell final : public ShellOpener {
public:
    bool open(const QString& address) override {
        opened << address;
        return true;
    }
    QStringList opened;
};

QWidget* topLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

class FrmZTLoginTest : public ManagerFixture {
protected:
    void TearDown() override {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == QLatin1String("MDIfrmZTGL") ||
                w->objectName() == QLatin1String("frmZTLogin"))
                w->deleteLater();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ManagerFixture::TearDown();
    }
    void open() {
        window = new FrmZTLogin(shell);
        EXPECT_TRUE(activate(window));
    }

    RecordingShell shell;
    QPointer<FrmZTLogin> window;
};

// The one dialog; every label as the login form has it; a double click on the link opens the web
// site, a click alone does nothing.
TEST_F(FrmZTLoginTest, ShowsItsTextsAtTheirPlaces) {
    window = FrmZTLogin::showTheOne(shell);
    EXPECT_EQ(FrmZTLogin::showTheOne(shell), window.data());  // still the one dialog
    ASSERT_TRUE(activate(window));
    EXPECT_EQ(window->objectName(), "frmZTLogin");
    EXPECT_EQ(window->windowTitle(), gTitle);
    EXPECT_EQ(window->size(), QSize(480, 300));
    const LoginForm& form = window->form();
    for (int c = 0; c < LoginForm::ControlCount; ++c) {
        const auto control = LoginForm::Control(c);
        if (QLabel* label = window->label(control)) {
            EXPECT_EQ(label->text(), form.text(control)) << c;
            EXPECT_EQ(label->isVisible(), form.isVisible(control)) << c;
            EXPECT_EQ(label->geometry(), gui::twipsToPixels(form.rect(control))) << c;
        }
    }
    EXPECT_EQ(window->label(LoginForm::Label4)->toolTip(), "双击可访问我公司网站");
    EXPECT_EQ(window->CMDOK()->text(), "登录(&L)");
    EXPECT_EQ(window->CmdCancel()->text(), "取消(&C)");
    EXPECT_EQ(window->txtPwd()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->txtUserName()->maxLength(), 30);
    EXPECT_EQ(window->txtPwd()->maxLength(), 30);
    EXPECT_TRUE(window->txtUserName()->hasFocus());
    EXPECT_EQ(window->picture()->geometry(), window->rect());
    ASSERT_FALSE(window->picture()->pixmap().isNull());
    EXPECT_EQ(window->picture()->pixmap().toImage(), window->builtInPicture().toImage());
    window->txtUserName()->setText("admin");
    render(window, "ztgl-frmZTLogin.png");

    doubleClickMouse(window->label(LoginForm::Label4));
    clickMouse(window->label(LoginForm::Label4));
    EXPECT_EQ(shell.opened, QStringList{"http://www.zavrin.com"});
    EXPECT_TRUE(port.messages.isEmpty());
}

// Typed and composed text is filtered in the code box, pasted text is not; the password box takes
// every character.
TEST_F(FrmZTLoginTest, CodeBoxTakesLettersAndDigitsOnlyPasswordBoxEverything) {
    open();
    QLineEdit* code = window->txtUserName();
    for (const char* text : {"ad m_i-n!9", "中", "Ｚ", "Z"})
        typeText(code, text);
    EXPECT_EQ(code->text(), "admin9Z");
    EXPECT_EQ(window->form().userName, "admin9Z");
    pressKey(code, Qt::Key_Backspace, Qt::NoModifier, "\b");
    pressKey(code, Qt::Key_Left);
    pressKey(code, Qt::Key_Delete, Qt::NoModifier, "\x7f");
    EXPECT_EQ(code->text(), "admin");
    QInputMethodEvent composed;
    composed.setCommitString("中a文1");
    QApplication::sendEvent(code, &composed);
    EXPECT_EQ(code->text(), "admina1");
    QApplication::clipboard()->setText("张三");
    pressKey(code, Qt::Key_V, Qt::ControlModifier, "\x16");
    EXPECT_EQ(code->text(), "admina1张三");

    window->txtPwd()->setFocus();
    typeText(window->txtPwd(), "a b'!");
    typeText(window->txtPwd(), "密");
    EXPECT_EQ(window->txtPwd()->text(), "a b'!密");
    EXPECT_EQ(window->form().password, "a b'!密");
}

// The background is the picture under the key LOGINPIC names in the bag beside the program. Enter
// walks to the button and logs in.
TEST_F(FrmZTLoginTest, BackgroundFromTheBagAndEnterWalksToTheButtonAndLogsIn) {
    style::PictureBag bag;
    bag.insert("305", png(QSize(480, 300), QColor(10, 200, 30)));
    QFile file(folder.filePath("csxx.dac"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bag.toFileBytes()) > 0);
    file.close();
    folder.writeConfig({"[BASESETUP]", "LOGINPIC=305"});
    open();
    EXPECT_EQ(window->picture()->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));
    QPointer<QWidget> main;
    QObject::connect(window, &FrmZTLogin::loggedInto, [&main](QWidget* w) { main = w; });
    typeText(window->txtUserName(), "ADMIN");
    pressKey(window->txtUserName(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_TRUE(window->txtPwd()->hasFocus());
    pressKey(window->txtPwd(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_TRUE(window->CMDOK()->hasFocus());
    pressKey(window->CMDOK(), Qt::Key_Return, Qt::NoModifier, "\r");

    EXPECT_TRUE(port.messages.isEmpty());
    ASSERT_TRUE(main);
    EXPECT_EQ(main, topLevel("MDIfrmZTGL"));
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_TRUE(gConn);  // logging in keeps the connection
    EXPECT_EQ(gOperator.UserName, "admin");
}

TEST_F(FrmZTLoginTest, FailedLoginKeepsTheDialogAndSelectsTheBox) {
    open();
    // clang-format off
    const struct { const char *user, *message; QLineEdit* selected; } rows[] = {
        {"admin", "用户密码错误！请重新输入……", window->txtPwd()},
        {"nobody", "没有该用户，请重新输入代码……", window->txtUserName()},
    };
    // clang-format on
    window->txtPwd()->setText("wrong");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.user);
        window->txtUserName()->setText(row.user);
        port.messages.clear();
        clickMouse(window->CMDOK());
        EXPECT_EQ(messageTexts(), QStringList{row.message});
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(row.selected->hasFocus());
        EXPECT_EQ(row.selected->selectedText(), row.selected->text());
    }
    EXPECT_FALSE(topLevel("MDIfrmZTGL"));
}

TEST_F(FrmZTLoginTest, CancelAndTheCloseBoxCloseTheConnection) {
    for (bool cancel : {true, false}) {
        if (!gConn) {
            ASSERT_EQ(Open_Connect(), 1);
        }
        open();
        if (cancel)
            clickMouse(window->CmdCancel());
        else
            window->close();
        EXPECT_FALSE(gConn) << cancel;
        EXPECT_FALSE(window && window->isVisible()) << cancel;
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl::test
