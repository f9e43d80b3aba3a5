// ztgl-admin restore FILE [--as-new]: restores a backup over its own set (after the question,
// answered by --yes) or as a new set.
#include "AdminCommand.h"
#include "ConsoleProgress.h"
#include "db/PubSql.h"
#include "safekeeping/SafekeepingCommands.h"

namespace ztgl::admin {
namespace {

int runRestore(AdminContext& ctx) {
    QStringList args = ctx.args;
    const bool asNew = args.removeAll(QStringLiteral("--as-new")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--")))
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;
    SafekeepingCommands commands;
    ConsoleProgress::showOnTerminal(commands.progress(), ctx.err);
    const bool restored = commands.Restore(args.first(), asNew);
    Close_Connect();
    return restored ? ExitOk : ExitFailed;
}

const AdminCommand reg("restore", "restore FILE [--as-new] [--yes]", &runRestore);

}  // namespace
}  // namespace ztgl::admin
