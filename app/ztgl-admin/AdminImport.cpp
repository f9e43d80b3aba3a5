// ztgl-admin import: brings an Access installation over, converting the program folder's Jet files into the
// program's own format (see migration/JetImport.h). Progress on stdout, the reason for stopping on stderr.
#include "AdminCommand.h"
#include "migration/JetImport.h"

namespace ztgl::admin {
namespace {

int runImport(AdminContext& ctx) {
    if (!ctx.args.isEmpty())
        return ExitUsage;
    JetImport import(ctx.dir, [&ctx](const QString& line, bool problem) {
        (problem ? ctx.err : ctx.out) << line << Qt::endl;
    });
    return import.run() ? ExitOk : ExitFailed;
}

const AdminCommand reg("import", "import", &runImport);

}  // namespace
}  // namespace ztgl::admin
