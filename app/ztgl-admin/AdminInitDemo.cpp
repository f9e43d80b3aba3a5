// ztgl-admin init-demo DIR: a complete program folder with demo data (single-user edition).
#include <QDir>

#include "AdminCommand.h"
#include "demo/DemoFolder.h"

namespace ztgl::admin {
namespace {

int runInitDemo(AdminContext& ctx) {
    if (ctx.args.size() != 1 || ctx.args.first().startsWith(QLatin1String("--")))
        return ExitUsage;
    const QString dir = ctx.args.first();
    QString error;
    if (!DemoFolder::build(dir, &error)) {
        ctx.err << error << Qt::endl;
        return ExitFailed;
    }
    ctx.out << QStringLiteral("演示程序文件夹已建好：") << QDir(dir).absolutePath() << Qt::endl
            << QStringLiteral("初始用户代码：admin  登录密码：空") << Qt::endl;
    return ExitOk;
}

const AdminCommand reg("init-demo", "init-demo DIR", &runInitDemo);

}  // namespace
}  // namespace ztgl::admin
