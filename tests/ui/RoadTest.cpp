// The operator's roads through the real windows (offscreen; message boxes recorded). Single-user:
// start on the demo folder, log in as admin with an empty password, change the password from the
// toolbar, quit; the next start needs the new password. Network: start with the stand-in server,
// see the connecting window, log in confirmed by the server, create a set named after the
// database name the server announced.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include "LocalServer.h"
#include "QtPrinters.h"
#include "RecordingShutDown.h"
#include "RecordingUiPort.h"
#include "WidgetInput.h"
#include "ado/Recordset.h"
#include "creation/AccountSetEditor.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "platform/ShellOpener.h"
#include "process/Globals.h"
#include "process/IniFile.h"
#include "startup/Startup.h"
#include "ui/FrmCyXgmm.h"
#include "ui/FrmZTLogin.h"
#include "ui/HandshakeWindow.h"
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
        return {tmp.path(), QString("ztgl-road-%1").arg(QCoreApplication::applicationPid()), nullptr, {}};
    }

    // Starts the program and logs in; true when the main window is up.
    bool startAndLogIn(const QString& password) {
        if (Main(env()) != StartupOutcome::ShowLogin)
            return false;
        login = new gui::FrmZTLogin(shell);
        QObject::connect(login, &gui::FrmZTLogin::loggedInto,
                         [this](QWidget* w) { main = qobject_cast<gui::MDIfrmZTGL*>(w); });
        activate(login);
        typeText(login->txtUserName(), "admin");
        typeText(login->txtPwd(), password);
        clickMouse(login->CMDOK());
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

    whenModal("ztgl::gui::FrmCyXgmm", [](QWidget* w) {
        auto* dialog = static_cast<gui::FrmCyXgmm*>(w);
        typeText(dialog->box(ChangePasswordForm::Text1), "road2");
        typeText(dialog->box(ChangePasswordForm::Text2), "road2");
        dialog->box(ChangePasswordForm::Text2)->setFocus();
        pressKey(dialog->box(ChangePasswordForm::Text2), Qt::Key_Return, Qt::NoModifier, "\r");
    });
    toolbar("XGMM")->trigger();
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, "修改密码成功！");
    EXPECT_FALSE(QApplication::activeModalWidget());

    toolbar("TCXT")->trigger();
    EXPECT_FALSE(main && main->isVisible());
    EXPECT_FALSE(gConn);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The next start: the old password is refused, the new one lets the operator in.
    EXPECT_FALSE(startAndLogIn(QString()));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[1].text, "用户密码错误！请重新输入……");
    delete login.data();
    Close_Connect();
    EXPECT_TRUE(startAndLogIn("road2"));
}

TEST(NetworkRoadTest, ConnectLogInAndCreateASetNamedAfterTheServersDatabase) {
    ResetGlobals();
    QTemporaryDir tmp;
    QString error;
    ASSERT_TRUE(DemoFolder::build(tmp.path(), &error, &WriteDemoTemplate, DemoFolder::Edition::Network))
        << error.toStdString();
    const QString manager = QDir::toNativeSeparators(tmp.filePath("KXPUB.MDB"));
    const QStringList demoServer = DemoFolder::serverSimArguments(manager);
    LocalServer server(demoServer[5]);
    Write_Ini("SERVERINFO", "PORT", QString::number(server.port()), tmp.filePath("kxconfig.ini"));

    RecordingUiPort port;
    QStringList statusTexts;
    port.otherModals = [&statusTexts](ModalForm& form) {
        if (form.formName().startsWith(QLatin1String("w_"))) {
            // The connecting window is up while the conversation runs.
            QTimer::singleShot(0, [&statusTexts] {
                if (auto* w = qobject_cast<gui::HandshakeWindow*>(QApplication::activeModalWidget()))
                    statusTexts << w->Label1()->text();
            });
            gui::runHandshakeWindow(form, nullptr);
        }
    };
    RecordingShutDown orders;
    NoShell shell;
    QPointer<gui::FrmZTLogin> login;
    StartupEnvironment env;
    env.programFolder = tmp.path();
    env.instanceKey = QString("ztgl-network-road-%1").arg(QCoreApplication::applicationPid());
    env.orders = &orders;
    env.showLogin = [&] { login = gui::FrmZTLogin::showTheOne(shell); };

    ASSERT_EQ(Main(env), StartupOutcome::ShowLogin);
    EXPECT_EQ(statusTexts, QStringList("正在连接服务器，请稍候......"));
    EXPECT_EQ(gManagerDBName, "ZTDEMO");
    ASSERT_TRUE(login);
    EXPECT_EQ(gui::FrmZTLogin::showTheOne(shell), login.data());  // still the one dialog
    ASSERT_TRUE(activate(login));
    EXPECT_EQ(login->label(LoginForm::Label9)->text(), "127.0.0.1           ");

    QPointer<QWidget> main;
    QObject::connect(login, &gui::FrmZTLogin::loggedInto, [&main](QWidget* w) { main = w; });
    QTest::keyClicks(login->txtUserName(), "admin");
    QTest::mouseClick(login->CMDOK(), Qt::LeftButton);
    ASSERT_TRUE(main) << (port.messages.isEmpty() ? std::string() : port.messages[0].text.toStdString());
    EXPECT_EQ(statusTexts.value(1), "正在登录服务器，请稍候......");
    EXPECT_TRUE(server.messages().contains("<- PDUSERS:1/admin"));
    EXPECT_TRUE(port.messages.isEmpty());

    AccountSetEditor editor(nullptr);
    editor.EditId = QString::number(Get_UniqV("ZTML", "Id"));
    editor.IsNew = true;
    editor.Form_Load();
    editor.TxtDB = {"华东公司", "管理员", "1", "1"};
    editor.Command_OK();
    EXPECT_TRUE(editor.saved());
    ado::Recordset rs;
    Open_Recordset(rs, "select ZTLJ from ZTML");
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields("ZTLJ").text(), "ZTDEMO_BK001");
    Close_Recordset(rs);
    EXPECT_TRUE(QFile::exists(tmp.filePath("ZTDEMO_BK001.MDB")));
    EXPECT_TRUE(orders.orders.isEmpty());

    delete main.data();
    delete login.data();
    Close_Connect();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl::test
