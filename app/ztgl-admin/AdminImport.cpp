// ztgl-admin import: brings an Access installation over, converting the program folder's Jet files into the
// program's own format (see migration/JetImport.h). Progress on stdout, the reason for stopping on stderr.
// What it did goes into the record of changes once the manager's database is in the program's format.
#include <QDir>
#include <QFileInfo>

#include "AdminCommand.h"
#include "ado/DatabaseFormat.h"
#include "migration/JetImport.h"
#include "process/Globals.h"

namespace ztgl::admin {
namespace {

int runImport(AdminContext& ctx) {
    if (!ctx.args.isEmpty())
        return ExitUsage;
    JetImport import(ctx.dir, [&ctx](const QString& line, bool problem) {
        (problem ? ctx.err : ctx.out) << line << Qt::endl;
    });
    const bool done = import.run();
    if (!import.outcomes().isEmpty()) {
        // The record lives in the manager's database: while that is still Jet's, nothing can be written.
        const QDir dir(ctx.dir);
        const QString manager = dir.filePath(QStringLiteral("KXPUB.MDB"));
        QString why;
        if (!QFileInfo::exists(manager))
            why = QStringLiteral("程序文件夹中没有管理库 KXPUB.MDB。");
        else if (ado::DatabaseFormat::of(manager) != ado::DatabaseFormat::Embedded)
            why = QStringLiteral("管理库 KXPUB.MDB 仍是 Access（Jet）格式。");
        else if (!openManagerDatabase(ctx))
            why = QStringLiteral("无法打开管理库。");
        else
            import.record(&why);
        if (!why.isEmpty())
            ctx.err << QStringLiteral("这次转换没有写入修改记录：") << why << Qt::endl;
    }
    return done ? ExitOk : ExitFailed;
}

const AdminCommand reg("import", "import", &runImport);

}  // namespace
}  // namespace ztgl::admin
