// ztgl-admin retire ID: retires a disabled set after a checked backup (the question is answered by
// --yes).
#include "AdminCommand.h"
#include "ConsoleProgress.h"
#include "db/PubSql.h"
#include "safekeeping/SafekeepingCommands.h"

namespace ztgl::admin {
namespace {

int runRetire(AdminContext& ctx) {
    if (ctx.args.size() != 1 || ctx.args.first().startsWith(QLatin1String("--")))
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;
    SafekeepingCommands commands;
    ConsoleProgress::showOnTerminal(commands.progress(), ctx.err);
    const bool retired = commands.Retire(ctx.args.first());
    Close_Connect();
    return retired ? ExitOk : ExitFailed;
}

const AdminCommand reg("retire", "retire ID [--yes]", &runRetire);

}  // namespace
}  // namespace ztgl::admin
