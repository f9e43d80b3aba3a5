// ztgl-admin init-demo [--network] DIR: a complete program folder with demo data, for the
// single-user edition or, with --network, for the network edition served by ztgl-server-sim.
#include <QDir>
#include <algorithm>

#include "AdminCommand.h"
#include "demo/DemoFolder.h"

namespace ztgl::admin {
namespace {

// A command line a POSIX shell reads back as these arguments.
QString shellLine(const QStringList& args) {
    QStringList quoted;
    for (const QString& a : args) {
        const bool plain = !a.isEmpty() && std::all_of(a.begin(), a.end(), [](QChar c) {
            return c.isLetterOrNumber() || QStringLiteral("-_./:=+,@").contains(c);
        });
        quoted << (plain
                       ? a
                       : QLatin1Char('\'') + QString(a).replace(QLatin1String("'"), QLatin1String("'\\''")) +
                             QLatin1Char('\''));
    }
    return quoted.join(QLatin1Char(' '));
}

int runInitDemo(AdminContext& ctx) {
    QStringList args = ctx.args;
    const bool network = args.removeAll(QStringLiteral("--network")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return ExitUsage;
    const QString dir = args.first();
    const auto edition = network ? DemoFolder::Edition::Network : DemoFolder::Edition::SingleUser;
    QString error;
    if (!DemoFolder::build(dir, &error, &WriteDemoTemplate, edition)) {
        ctx.err << error << Qt::endl;
        return ExitFailed;
    }
    const QString path = QDir(dir).absolutePath();
    ctx.out << QStringLiteral("演示程序文件夹已建好：") << path << Qt::endl
            << QStringLiteral("初始用户代码：admin  登录密码：空") << Qt::endl;
    if (network) {
        const QString kxpub = QDir::toNativeSeparators(QDir(path).filePath(QStringLiteral("KXPUB.MDB")));
        ctx.out << QStringLiteral("网络版：先启动充当服务器的 ztgl-server-sim：") << Qt::endl
                << QStringLiteral("  ztgl-server-sim ") << shellLine(DemoFolder::serverSimArguments(kxpub))
                << Qt::endl;
    }
    return ExitOk;
}

const AdminCommand reg("init-demo", "init-demo [--network] DIR", &runInitDemo);

}  // namespace
}  // namespace ztgl::admin
