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
    EXPECT_EQ(window->objectName(), QStringLiteral("frmZTLogin"));
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
    EXPECT_EQ(window->label(LoginForm::Label4)->toolTip(), QStringLiteral("双击可访问我公司网站"));
    EXPECT_EQ(window->CMDOK()->text(), QStringLiteral("登录(&L)"));
    EXPECT_EQ(window->CmdCancel()->text(), QStringLiteral("取消(&C)"));
    EXPECT_EQ(window->txtUserName()->geometry(), gui::twipsToPixels(form.rect(LoginForm::txtUserName)));
    EXPECT_EQ(window->txtPwd()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(window->txtUserName()->maxLength(), 30);
    EXPECT_EQ(window->txtPwd()->maxLength(), 30);
    EXPECT_TRUE(window->txtUserName()->hasFocus());
    EXPECT_EQ(window->picture()->geometry(), window->rect());
    ASSERT_FALSE(window->picture()->pixmap().isNull());
    EXPECT_EQ(window->picture()->pixmap().toImage(), window->builtInPicture().toImage());

    window->txtUserName()->setText(QStringLiteral("admin"));
    window->grab().save(QDir::temp().filePath(QStringLiteral("ztgl-frmZTLogin.png")));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(FrmZTLoginTest, BackgroundPictureFromThePictureBag) {
    QImage image(480, 300, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    style::PictureBag bag;
    bag.insert(QStringLiteral("305"), png);
    QFile file(folder.filePath(QStringLiteral("csxx.dac")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bag.toFileBytes());
    file.close();

    // The built-in key 201 is not in the bag: the built-in picture stays.
    open();
    EXPECT_EQ(window->picture()->pixmap().toImage(), window->builtInPicture().toImage());
    delete window;

    folder.writeConfig({QStringLiteral("[BASESETUP]"), QStringLiteral("LOGINPIC=305")});
    open();
    EXPECT_EQ(window->picture()->pixmap().toImage().pixelColor(5, 5), QColor(10, 200, 30));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(FrmZTLoginTest, CodeBoxTakesLettersAndDigitsOnlyPasswordBoxEverything) {
    open();
    QLineEdit* code = window->txtUserName();
    typeText(code, QStringLiteral("ad m_i-n!9"));
    typeText(code, QStringLiteral("中"));
    typeText(code, QStringLiteral("Ｚ"));
    typeText(code, QStringLiteral("Z"));
    EXPECT_EQ(code->text(), QStringLiteral("admin9Z"));
    EXPECT_EQ(window->form().userName, QStringLiteral("admin9Z"));
    pressKey(code, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    pressKey(code, Qt::Key_Left);
    pressKey(code, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    EXPECT_EQ(code->text(), QStringLiteral("admin"));

    // An input method's text passes the same filter.
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("中a文1"));
    QApplication::sendEvent(code, &composed);
    EXPECT_EQ(code->text(), QStringLiteral("admina1"));

    // Pasted text is not filtered.
    QApplication::clipboard()->setText(QStringLiteral("张三"));
    pressKey(code, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    EXPECT_EQ(code->text(), QStringLiteral("admina1张三"));

    // The password box takes every character.
    QLineEdit* password = window->txtPwd();
    password->setFocus();
    typeText(password, QStringLiteral("a b'!"));
    typeText(password, QStringLiteral("密"));
    EXPECT_EQ(password->text(), QStringLiteral("a b'!密"));
    EXPECT_EQ(window->form().password, QStringLiteral("a b'!密"));
}

TEST_F(FrmZTLoginTest, EnterWalksToTheButtonAndLogsIn) {
    open();
    QPointer<QWidget> main;
    QObject::connect(window, &FrmZTLogin::loggedInto, [&main](QWidget* w) { main = w; });
    typeText(window->txtUserName(), QStringLiteral("ADMIN"));
    pressKey(window->txtUserName(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(window->txtPwd()->hasFocus());
    pressKey(window->txtPwd(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(window->CMDOK()->hasFocus());
    EXPECT_EQ(window->txtUserName()->text(), QStringLiteral("ADMIN"));
    pressKey(window->CMDOK(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));

    EXPECT_TRUE(port.messages.isEmpty());
    ASSERT_TRUE(main);
    EXPECT_EQ(main, topLevel(QStringLiteral("MDIfrmZTGL")));
    EXPECT_TRUE(qobject_cast<gui::MDIfrmZTGL*>(main));
    EXPECT_FALSE(window && window->isVisible());
    EXPECT_TRUE(gConn);  // logging in keeps the connection
    EXPECT_EQ(gOperator.UserName, QStringLiteral("admin"));
}

TEST_F(FrmZTLoginTest, FailedLoginKeepsTheDialogAndSelectsTheBox) {
    open();
    window->txtUserName()->setText(QStringLiteral("admin"));
    window->txtPwd()->setText(QStringLiteral("wrong"));
    clickMouse(window->CMDOK());
    EXPECT_EQ(messageTexts(), QStringList{QStringLiteral("用户密码错误！请重新输入……")});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->txtPwd()->hasFocus());
    EXPECT_EQ(window->txtPwd()->selectedText(), QStringLiteral("wrong"));

    window->txtUserName()->setText(QStringLiteral("nobody"));
    clickMouse(window->CMDOK());
    EXPECT_EQ(messageTexts().value(1), QStringLiteral("没有该用户，请重新输入代码……"));
    EXPECT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(window->txtUserName()->hasFocus());
    EXPECT_EQ(window->txtUserName()->selectedText(), QStringLiteral("nobody"));
    EXPECT_FALSE(topLevel(QStringLiteral("MDIfrmZTGL")));
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

TEST_F(FrmZTLoginTest, DoubleClickOnTheLinkOpensTheWebSite) {
    open();
    QLabel* link = window->label(LoginForm::Label4);
    doubleClickMouse(link);
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("http://www.zavrin.com")});
    clickMouse(link);
    EXPECT_EQ(shell.opened.size(), 1);
}

}  // namespace
}  // namespace ztgl::test
