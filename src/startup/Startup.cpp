#include "startup/Startup.h"

#include <QFileInfo>
#include <memory>

#include "db/PubSql.h"
#include "platform/ProgramFolder.h"
#include "platform/SingleInstance.h"
#include "process/Globals.h"
#include "process/IniFile.h"
#include "process/ProductSettings.h"
#include "process/UiPort.h"
#include "session/PreLoginForm.h"
#include "session/QtSessionSocket.h"
#include "startup/ConnectSettingsForm.h"

namespace ztgl {
namespace {

// The instance this process holds, kept until the process ends. A second Main of the same
// process (and key) keeps it, so it passes the test.
struct HeldInstance {
    QString key;
    std::unique_ptr<SingleInstance> instance;
};

bool acquireInstance(const QString& key) {
    if (key.isEmpty())
        return true;
    static HeldInstance held;
    if (!held.instance || held.key != key) {
        held.instance.reset();
        held.instance = std::make_unique<SingleInstance>(key);
        held.key = key;
    }
    return held.instance->acquire();
}

void showLogin(const StartupEnvironment& env) {
    gTitle = ProgramTitle(gAppTitle);
    if (env.showLogin)
        env.showLogin();
}

// The handshake loop: pre-login window, and after a failure the settings dialog, until the server
// accepted the client or the operator gave up. False when the program ends at once.
bool handshake(const StartupEnvironment& env) {
    PreLoginForm::Hooks hooks;
    hooks.showConnectSettings = [] {
        ConnectSettingsForm form;
        ui().showModal(form);
    };
    hooks.runMain = [&env] { return Main(env) != StartupOutcome::End; };
    for (;;) {
        // Read on every pass, so that values saved by the settings dialog take effect.
        gServerIP = FixedText(Read_Ini(QStringLiteral("SERVERINFO"), QStringLiteral("IP"), gIniFile), 20);
        gServerPort = FixedText(Read_Ini(QStringLiteral("SERVERINFO"), QStringLiteral("PORT"), gIniFile), 5);
        gPreLoginOK = false;
        QtSessionSocket socket;
        PreLoginForm preLogin(socket, env.orders, hooks);
        ui().showModal(preLogin);
        if (preLogin.endsProgram())
            return false;
        if (gPreLoginOK)
            return true;
        ConnectSettingsForm settings;
        ui().showModal(settings);
        if (!settings.IsOK)
            return true;
    }
}

}  // namespace

StartupEnvironment StartupEnvironment::current() {
    StartupEnvironment env;
    env.programFolder = ProgramFolder();
    env.instanceKey = QStringLiteral("ztgl");
    return env;
}

StartupOutcome Main(const StartupEnvironment& env) {
    // Until the configuration names the product, messages carry the built-in title.
    if (gAppTitle.isEmpty())
        gAppTitle = DefaultProductTitle();

    if (!acquireInstance(env.instanceKey)) {
        MsgBox(QStringLiteral("程序已经运行！"), MsgButtons::Ok, MsgIcon::None);
        return StartupOutcome::End;
    }

    gAppPath = WithTrailingSeparator(env.programFolder);
    gIniFile = gAppPath + QStringLiteral("kxconfig.ini");
    // A folder of that name is no configuration file either.
    if (!QFileInfo(gIniFile).isFile()) {
        MsgBox(QStringLiteral("配置文件丢失,请运行主程序重新配置!"), MsgButtons::Ok, MsgIcon::Critical,
               QStringLiteral("提示信息"));
        return StartupOutcome::End;
    }

    gIsNetwork =
        Read_Ini(QStringLiteral("BASESETUP"), QStringLiteral("ISWLB"), gIniFile) != QLatin1String("0");
    if (gIsNetwork) {
        if (!handshake(env))
            return StartupOutcome::End;
        gAppTitle = ProductTitle();
        ui().doEvents();
        // A failed or abandoned handshake mostly left "" or "'ERROR'", which Open_Connect refuses
        // without a message; a connection string the server gave before the conversation broke
        // off (Closed$: before SUCCESS:) is used all the same.
        if (Open_Connect() != 1)
            return StartupOutcome::End;
        showLogin(env);
        return StartupOutcome::ShowLogin;
    }

    ui().doEvents();
    gConnectString = Get_ConnectString();
    // An unknown database kind gives an empty connection string, which Open_Connect refuses
    // without a message.
    if (Open_Connect() != 1)
        return StartupOutcome::End;

    gAppTitle = ProductTitle();
    showLogin(env);
    return StartupOutcome::ShowLogin;
}

}  // namespace ztgl
