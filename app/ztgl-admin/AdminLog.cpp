// ztgl-admin log [--set ID] [--since DATE]: the record of changes, oldest first, one tab-separated
// line per change: time, operator, workstation, action, set Id, set name, outcome, detail.
#include <QRegularExpression>

#include "AdminCommand.h"
#include "audit/ChangeLog.h"
#include "db/PubSql.h"
#include "process/UiPort.h"

namespace ztgl::admin {
namespace {

// Tabs and line breaks inside a value become blanks, so every change stays one line.
QString field(QString value) {
    static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]"));
    return value.replace(breaks, QStringLiteral(" "));
}

int runLog(AdminContext& ctx) {
    QStringList args = ctx.args;
    bool bad = false;
    QString setId, sinceText;
    takeOption(args, QStringLiteral("--set"), setId, bad);
    QDate since;
    if (takeOption(args, QStringLiteral("--since"), sinceText, bad)) {
        since = QDate::fromString(sinceText, QStringLiteral("yyyy-MM-dd"));
        if (!since.isValid()) {
            ctx.err << QStringLiteral("日期“") << sinceText
                    << QStringLiteral("”应写成 yyyy-MM-dd，例如 2024-03-05。") << Qt::endl;
            bad = true;
        }
    }
    if (bad || !args.isEmpty())
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;
    int rc = ExitOk;
    try {
        for (const ChangeEntry& e : ChangeLog::Read(setId.trimmed(), since))
            ctx.out << QStringList{e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                   field(e.operatorName),
                                   field(e.workstation),
                                   e.action,
                                   field(e.setId),
                                   field(e.setName),
                                   e.outcome,
                                   field(e.detail)}
                           .join(QLatin1Char('\t'))
                    << Qt::endl;
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("ReadChangeLog():"), e);
        rc = ExitFailed;
    }
    Close_Connect();
    return rc;
}

const AdminCommand reg("log", "log [--set ID] [--since DATE]", &runLog);

}  // namespace
}  // namespace ztgl::admin
