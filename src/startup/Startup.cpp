#include "startup/Startup.h"

#include <QFileInfo>
#include <memory>

#include "db/PubSql.h"
#include "process/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/SingleInstance.h"
#include "process/Globals.h"
#include "process/ProductSettings.h"
#include "process/UiPort.h"

namespace ztgl {
namespace {

// The instance this process holds, kept until the process ends. A second Main of the same
// process (and key) keeps it, so it passes the test.
struct HeldInstance {
    QString key;
    std::unique_ptr<SingleInstance> instance;
};

bool acquireInstance(const QString& key) {
    static HeldInstance held;
    if (!held.instance || held.key != key) {
        held.instance.reset();
        held.instance = std::make_unique<SingleInstance>(key);
        held.key = key;
    }
    return held.instance->acquire();
}

void setTitles() {
    gAppTitle = ProductTitle();
    gTitle = ProgramTitle(gAppTitle);
}

}  // namespace

StartupEnvironment StartupEnvironment::current() {
    return {ProgramFolder(), QStringLiteral("ztgl")};
}

QString NetworkEditionUnavailableText() {
    return QStringLiteral(
        "本程序只提供单机版，网络版暂不可用。\r\n"
        "如需单机使用，请在配置文件 kxconfig.ini 的 [BASESETUP] 中设置 ISWLB=0。");
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
        MsgBox(NetworkEditionUnavailableText(), MsgButtons::Ok, MsgIcon::Information,
               QStringLiteral("提示信息"));
        return StartupOutcome::End;
    }

    ui().doEvents();
    gConnectString = Get_ConnectString();
    // An unknown database kind gives an empty connection string, which Open_Connect refuses
    // without a message.
    if (Open_Connect() != 1)
        return StartupOutcome::End;

    setTitles();
    return StartupOutcome::ShowLogin;
}

}  // namespace ztgl
