#include <QDir>
#include <QFileInfo>

#include "AdminCommand.h"
#include "ConsoleUiPort.h"
#include "ReportedOrders.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "startup/Startup.h"

namespace ztgl::admin {

// The program's own start-up, without a screen: the same configuration rules, the same
// handshake with the suite's server in the network edition, the same messages. No test for a
// running copy (IT staff work beside a running program), no login dialog.
bool openManagerDatabase(AdminContext& ctx) {
    const QFileInfo folder(ctx.dir);
    if (!folder.isDir()) {
        ctx.err << QStringLiteral("程序文件夹不存在：") << ctx.dir << Qt::endl;
        return false;
    }
    ReportedOrders orders(ctx.err);
    StartupEnvironment env;
    env.programFolder = QDir::toNativeSeparators(folder.absoluteFilePath());
    env.orders = &orders;
    auto* port = dynamic_cast<ConsoleUiPort*>(&ui());
    const int linesBefore = port ? port->linesWritten() : 0;
    if (Main(env) == StartupOutcome::ShowLogin)
        return true;
    // Where the program ends without a word, the console still says why.
    if (port && port->linesWritten() == linesBefore) {
        if (gIsNetwork)
            ctx.err << QStringLiteral("没有从服务器得到管理库的连接，不能继续。") << Qt::endl;
        else
            ctx.err << QStringLiteral("kxconfig.ini 的 [DBCONNECT] 中 DBTYPE 是“") << gDBType
                    << QStringLiteral("”，不是 [Microsoft Access] 或 [Microsoft SQL Server]，不能继续。")
                    << Qt::endl;
    }
    return false;
}

}  // namespace ztgl::admin
