#include <QDir>
#include <QFileInfo>

#include "AdminCommand.h"
#include "db/PubSql.h"
#include "process/IniFile.h"
#include "platform/ProgramFolder.h"
#include "process/Globals.h"

namespace ztgl::admin {

bool openManagerDatabase(AdminContext& ctx) {
    const QFileInfo folder(ctx.dir);
    if (!folder.isDir()) {
        ctx.err << QStringLiteral("程序文件夹不存在：") << ctx.dir << Qt::endl;
        return false;
    }
    gAppPath = WithTrailingSeparator(QDir::toNativeSeparators(folder.absoluteFilePath()));
    gIniFile = gAppPath + QStringLiteral("kxconfig.ini");
    if (!QFileInfo::exists(gIniFile)) {
        ctx.err << QStringLiteral("配置文件丢失,请运行主程序重新配置!") << Qt::endl;
        return false;
    }
    gIsNetwork = Read_Ini(QStringLiteral("BASESETUP"), QStringLiteral("ISWLB"), gIniFile) != QLatin1String("0");
    if (gIsNetwork) {
        ctx.err << QStringLiteral("kxconfig.ini 是网络版的配置（BASESETUP/ISWLB 不是 0），ztgl-admin 只用于单机版。")
                << Qt::endl;
        return false;
    }
    gConnectString = Get_ConnectString();
    if (gConnectString.isEmpty()) {
        ctx.err << QStringLiteral("未知的数据库类型：“") << gDBType
                << QStringLiteral("”（DBCONNECT/DBTYPE 应为 [Microsoft Access] 或 [Microsoft SQL Server]）。")
                << Qt::endl;
        return false;
    }
    return Open_Connect() == 1;
}

}  // namespace ztgl::admin
