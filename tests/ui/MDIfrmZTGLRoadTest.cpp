// The operator's first road: start on the demo folder, log in as admin with an empty password,
// reach the main window, change the password from its toolbar, quit; the next start needs the
// new password.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include "RecordingUiPort.h"
#include "WidgetInput.h"
#include "db/PubSql.h"
#include "platform/ShellOpener.h"
#include "demo/DemoFolder.h"
#include "process/Globals.h"
#include "startup/Startup.h"
#include "ui/FrmCyXgmm.h"
#include "ui/FrmZTLogin.h"
#include "ui/MDIfrmZTGL.h"
#include "ui/ModalForms.h"

namespace ztgl::test {
namespace {

class NoShell final : public ShellOpener {
public:
    bool open(const QString&) override { return false; }
};

class OperatorRoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        QString error;
        ASSERT_TRUE(DemoFolder::build(tmp.path(), &error)) << error.toStdString();
        // Modal windows are the real ones; message boxes are recorded.
        port.onModal([](ModalForm& form) { gui::runFrmCyXgmm(form, QApplication::activeWindow()); });
    }
    void TearDown() override {
        delete login.data();
        delete main.data();
        Close_Connect();
        ResetGlobals();
    }

    StartupEnvironment env() const {
        return {
            tmp.path(), QStringLiteral("ztgl-road-%1").arg(QCoreApplication::applicationPid()), nullptr, {}};
    }

    // Starts the program and logs in; true when the main window is up.
    bool startAndLogIn(const QString& password) {
        if (Main(env()) != StartupOutcome::ShowLogin)
            return false;
        login = new gui::FrmZTLogin(shell);
        QObject::connect(login, &gui::FrmZTLogin::loggedInto,
                         [this](QWidget* w) { main = qobject_cast<gui::MDIfrmZTGL*>(w); });
        activate(login);
        typeText(login->txtUserName(), QStringLiteral("admin"));
        pressKey(login->txtUserName(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        typeText(login->txtPwd(), password);
        pressKey(login->txtPwd(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        pressKey(login->CMDOK(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        return main && main->isVisible();
    }

    QAction* toolbar(const QString& key) const { return main->Toolbar1()->findChild<QAction*>(key); }

    QTemporaryDir tmp;
    RecordingUiPort port;
    NoShell shell;
    QPointer<gui::FrmZTLogin> login;
    QPointer<gui::MDIfrmZTGL> main;
};

TEST_F(OperatorRoadTest, FirstStartChangePasswordQuitAndStartAgain) {
    ASSERT_TRUE(startAndLogIn(QString()));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(main->windowTitle().left(gTitle.size()), gTitle);
    EXPECT_TRUE(main->listWindow());
    activate(main);

    bool typed = false;
    QTimer::singleShot(0, [&typed] {
        auto* dialog = qobject_cast<gui::FrmCyXgmm*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        typed = true;
        typeText(dialog->box(ChangePasswordForm::Text1), QStringLiteral("road2"));
        typeText(dialog->box(ChangePasswordForm::Text2), QStringLiteral("road2"));
        dialog->box(ChangePasswordForm::Text2)->setFocus();
        pressKey(dialog->box(ChangePasswordForm::Text2), Qt::Key_Return, Qt::NoModifier,
                 QStringLiteral("\r"));
    });
    toolbar(QStringLiteral("XGMM"))->trigger();
    EXPECT_TRUE(typed);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("修改密码成功！"));
    EXPECT_FALSE(QApplication::activeModalWidget());

    toolbar(QStringLiteral("TCXT"))->trigger();
    EXPECT_FALSE(main && main->isVisible());
    EXPECT_FALSE(gConn);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The next start: the old password is refused, the new one lets the operator in.
    port.messages.clear();
    EXPECT_FALSE(startAndLogIn(QString()));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("用户密码错误！请重新输入……"));
    delete login.data();
    Close_Connect();
    EXPECT_TRUE(startAndLogIn(QStringLiteral("road2")));
}

}  // namespace
}  // namespace ztgl::test
