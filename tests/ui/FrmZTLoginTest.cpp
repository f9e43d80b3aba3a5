#include "ui/FrmZTLogin.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "ManagerFixture.h"
#include "WidgetInput.h"
#include "platform/ShellOpener.h"
#include "style/PictureBag.h"
#include "ui/MDIfrmZTGL.h"
#include "ui/Style.h"

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
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget* w : widgets) {
        if (w->objectName() == name && w->isVisible())
            return w;
    }
    return nullptr;
}

class FrmZTLoginTest : public ManagerFixture {
protected:
    void TearDown() override {
        // Deleting the main window takes its menus (top-level widgets too) with it.
        QList<QPointer<QWidget>> windows;
        const auto widgets = QApplication::topLevelWidgets();
        for (QWidget* w : widgets) {
            if (w->objectName() == QLatin1String("MDIfrmZTGL") ||
                w->objectName() == QLatin1String("frmZTLogin"))
                windows << w;
        }
        for (const QPointer<QWidget>& w : windows)
            delete w.data();
        ManagerFixture::TearDown();
    }

    FrmZTLogin* open() {
        window = new FrmZTLogin(shell);
        EXPECT_TRUE(activate(window));
        return window;
    }

    RecordingShell shell;
    QPointer<FrmZTLogin> window;
};

TEST_F(FrmZTLoginTest, ShowsItsTextsAtTheirPlaces) {
    open();
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
    EXPECT_FALSE(window->label(LoginForm::Label9)->isVisible());
    EXPECT_FALSE(window->label(LoginForm::Label1_4)->isVisible());
    EXPECT_EQ(window->label(LoginForm::Label4)->toolTip(), "双击可访问我公司网站");
    EXPECT_EQ(window->CMDOK()->text(), "登录(&L)");
    EXPECT_EQ(window->CmdCancel()->text(), "取消(&C)");
    EXPECT_EQ(window->txtUserName()->geometry(), gui::twipsToPixels(form.rect(LoginForm::txtUserName)));
    EXPECT_EQ(window->txtPwd()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->txtUserName()->maxLength(), 30);
    EXPECT_EQ(window->txtPwd()->maxLength(), 30);
    EXPECT_TRUE(window->txtUserName()->hasFocus());
    EXPECT_EQ(window->picture()->geometry(), window->rect());
    ASSERT_FALSE(window->picture()->pixmap().isNull());
    EXPECT_EQ(window->picture()->pixmap().toImage(), window->builtInPicture().toImage());

    window->txtUserName()->setText("admin");
    window->grab().save(QDir::temp().filePath("ztgl-frmZTLogin.png"));
    EXPECT_TRUE(port.messages.isEmpty());

    // A double click on the link opens the web site; a click alone does nothing.
    QLabel* link = window->label(LoginForm::Label4);
    doubleClickMouse(link);
    EXPECT_EQ(shell.opened, QStringList{"http://www.zavrin.com"});
    clickMouse(link);
    EXPECT_EQ(shell.opened.size(), 1);
}

TEST_F(FrmZTLoginTest, BackgroundPictureFromThePictureBag) {
    QImage image(480, 300, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    style::PictureBag bag;
    bag.insert("305", png);
    QFile file(folder.filePath("csxx.dac"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bag.toFileBytes());
    file.close();

    folder.writeConfig({"[BASESETUP]", "LOGINPIC=305"});
    open();
    EXPECT_EQ(window->picture()->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(FrmZTLoginTest, CodeBoxTakesLettersAndDigitsOnlyPasswordBoxEverything) {
    open();
    QLineEdit* code = window->txtUserName();
    typeText(code, "ad m_i-n!9");
    typeText(code, "中");
    typeText(code, "Ｚ");
    typeText(code, "Z");
    EXPECT_EQ(code->text(), "admin9Z");
    EXPECT_EQ(window->form().userName, "admin9Z");
    pressKey(code, Qt::Key_Backspace, Qt::NoModifier, "\b");
    pressKey(code, Qt::Key_Left);
    pressKey(code, Qt::Key_Delete, Qt::NoModifier, "\x7f");
    EXPECT_EQ(code->text(), "admin");

    // An input method's text passes the same filter.
    QInputMethodEvent composed;
    composed.setCommitString("中a文1");
    QApplication::sendEvent(code, &composed);
    EXPECT_EQ(code->text(), "admina1");

    // Pasted text is not filtered.
    QApplication::clipboard()->setText("张三");
    pressKey(code, Qt::Key_V, Qt::ControlModifier, "\x16");
    EXPECT_EQ(code->text(), "admina1张三");

    // The password box takes every character.
    QLineEdit* password = window->txtPwd();
    password->setFocus();
    typeText(password, "a b'!");
    typeText(password, "密");
    EXPECT_EQ(password->text(), "a b'!密");
    EXPECT_EQ(window->form().password, "a b'!密");
}

TEST_F(FrmZTLoginTest, EnterWalksToTheButtonAndLogsIn) {
    open();
    QPointer<QWidget> main;
    QObject::connect(window, &FrmZTLogin::loggedInto, [&main](QWidget* w) { main = w; });
    typeText(window->txtUserName(), "ADMIN");
    pressKey(window->txtUserName(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_TRUE(window->txtPwd()->hasFocus());
    pressKey(window->txtPwd(), Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_TRUE(window->CMDOK()->hasFocus());
    EXPECT_EQ(window->txtUserName()->text(), "ADMIN");
    pressKey(window->CMDOK(), Qt::Key_Return, Qt::NoModifier, "\r");

    EXPECT_TRUE(port.messages.isEmpty());
    ASSERT_TRUE(main);
    EXPECT_EQ(main, topLevel("MDIfrmZTGL"));
    EXPECT_TRUE(qobject_cast<gui::MDIfrmZTGL*>(main));
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_TRUE(gConn);  // logging in keeps the connection
    EXPECT_EQ(gOperator.UserName, "admin");
}

TEST_F(FrmZTLoginTest, FailedLoginKeepsTheDialogAndSelectsTheBox) {
    open();
    window->txtUserName()->setText("admin");
    window->txtPwd()->setText("wrong");
    clickMouse(window->CMDOK());
    EXPECT_EQ(messageTexts(), QStringList{"用户密码错误！请重新输入……"});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->txtPwd()->hasFocus());
    EXPECT_EQ(window->txtPwd()->selectedText(), "wrong");

    window->txtUserName()->setText("nobody");
    clickMouse(window->CMDOK());
    EXPECT_EQ(messageTexts().value(1), "没有该用户，请重新输入代码……");
    EXPECT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(window->txtUserName()->hasFocus());
    EXPECT_EQ(window->txtUserName()->selectedText(), "nobody");
    EXPECT_FALSE(topLevel("MDIfrmZTGL"));
}

TEST_F(FrmZTLoginTest, CancelAndTheCloseBoxCloseTheConnection) {
    open();
    clickMouse(window->CmdCancel());
    EXPECT_FALSE(gConn);
    EXPECT_FALSE(window && window->isVisible());

    ASSERT_EQ(Open_Connect(), 1);
    open();
    window->close();
    EXPECT_FALSE(gConn);
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl::test
