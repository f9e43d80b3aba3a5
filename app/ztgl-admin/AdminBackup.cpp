// ztgl-admin backup ID|--all [--keep N]: the Company menu's backups without a screen, for cron or a
// systemd timer. Prints the path of each backup made, one per line.
#include <QDir>

#include "AdminCommand.h"
#include "ConsoleProgress.h"
#include "db/PubSql.h"
#include "safekeeping/SafekeepingCommands.h"

namespace ztgl::admin {
namespace {

int runBackup(AdminContext& ctx) {
    QStringList args = ctx.args;
    bool bad = false;
    QString keepText;
    int keep = 0;
    if (takeOption(args, QStringLiteral("--keep"), keepText, bad)) {
        keep = keepText.toInt(&bad);
        bad = !bad || keep < 1;
    }
    const bool all = args.removeAll(QStringLiteral("--all")) > 0;
    if (bad || args.size() != (all ? 0 : 1) || (!all && args.first().startsWith(QLatin1String("--"))))
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;

    SafekeepingCommands commands;
    ConsoleProgress::showOnTerminal(commands.progress(), ctx.err);
    int failed = 0;
    QStringList files;
    if (all) {
        files = commands.BackupAll(keep, &failed);
    } else {
        files << commands.BackupSet(args.first(), keep);
        files.removeAll(QString());
        failed = files.isEmpty() ? 1 : 0;
    }
    for (const QString& file : files)
        ctx.out << QDir::toNativeSeparators(file) << Qt::endl;
    Close_Connect();
    return failed == 0 ? ExitOk : ExitFailed;
}

const AdminCommand reg("backup", "backup ID|--all [--keep N]", &runBackup);

}  // namespace
}  // namespace ztgl::admin
