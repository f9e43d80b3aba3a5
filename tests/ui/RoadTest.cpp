// The operator's network road through the real windows (offscreen; message boxes recorded): start
// with the stand-in server, see the connecting window, log in confirmed by the server. (A set then
// created is named after the database the server announced: AdminNetworkTest. The single-user
// road's steps are each walked by the window's own test.)

#include <QTemporaryDir>

#include "LocalServer.h"
#include "RecordingShutDown.h"
#include "UiFixture.h"
#include "demo/DemoFolder.h"
#include "platform/ShellOpener.h"
#include "process/IniFile.h"
#include "startup/Startup.h"
#include "ui/FrmZTLogin.h"
#include "ui/HandshakeWindow.h"

namespace ztgl::test {
namespace {

class NoShell final : public ShellOpener {
public:
    bool open(const QString&) override { return false; }
};

TEST(NetworkRoadTest, ConnectAndLogInThroughTheServer) {
    ResetGlobals();
    QTemporaryDir tmp;
    QString error;
    ASSERT_TRUE(DemoFolder::build(tmp.path(), &error, &WriteDemoTemplate, DemoFolder::Edition::Network))
        << error.toStdString();
    LocalServer server(
        DemoFolder::serverSimArguments(QDir::toNativeSeparators(tmp.filePath("KXPUB.MDB")))[5]);
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
    EXPECT_TRUE(orders.orders.isEmpty());

    delete main.data();
    delete login.data();
    Close_Connect();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl::test
