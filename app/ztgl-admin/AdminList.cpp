// ztgl-admin list / disable / enable / upgrade: the list window's commands without a screen.
#include <QRegularExpression>

#include "AdminCommand.h"
#include "catalogue/AccountSetList.h"
#include "catalogue/PermissionUpgrade.h"
#include "db/PubSql.h"

namespace ztgl::admin {
namespace {

using Col = AccountSetList::Column;

// One set per line: Id, name, status, database name, creation date, tab-separated. Tabs and line
// breaks inside a value become blanks so that every set stays one line of five fields.
QString setLine(const ListGrid& grid, int row) {
    static const QRegularExpression breaks(QStringLiteral("[\\t\\r\\n]"));
    QStringList fields;
    for (int col : {Col::ColId, Col::ColName, Col::ColStatus, Col::ColDatabase, Col::ColCreated})
        fields << grid.TextMatrix(row, col).replace(breaks, QStringLiteral(" "));
    return fields.join(QLatin1Char('\t'));
}

// Opens the manager's database and fills the list as the window does at load.
bool loadList(AdminContext& ctx, AccountSetList& list) {
    if (!openManagerDatabase(ctx))
        return false;
    list.loadLayout();
    return list.SetMSFlexGrid1Date();
}

int runList(AdminContext& ctx) {
    if (!ctx.args.isEmpty())
        return ExitUsage;
    AccountSetList list;
    const bool ok = loadList(ctx, list);
    if (ok)
        for (int r = 1; r < list.grid().Rows(); ++r)
            ctx.out << setLine(list.grid(), r) << Qt::endl;
    Close_Connect();
    return ok ? ExitOk : ExitFailed;
}

// Selects the set as a click on its row would, then runs the window's command on it.
int setFlag(AdminContext& ctx, bool enable) {
    if (ctx.args.size() != 1)
        return ExitUsage;
    const QString id = ctx.args.first().trimmed();
    AccountSetList list;
    if (!loadList(ctx, list)) {
        Close_Connect();
        return ExitFailed;
    }
    int row = 0;
    for (int r = 1; r < list.grid().Rows() && row == 0; ++r)
        if (list.grid().TextMatrix(r, Col::ColId).trimmed() == id)
            row = r;
    int rc = ExitFailed;
    if (row == 0) {
        ctx.err << QStringLiteral("没有编号为“") << id << QStringLiteral("”的帐套。") << Qt::endl;
    } else {
        list.moveTo(row);
        list.MSFlexGrid1_Click();
        switch (list.SetUserFlag(enable)) {
            case AccountSetList::FlagResult::Written:
                ctx.out << setLine(list.grid(), row) << Qt::endl;
                rc = ExitOk;
                break;
            case AccountSetList::FlagResult::NoSet:
                ctx.err << QStringLiteral("帐套编号“") << id << QStringLiteral("”不是数字，")
                        << (enable ? QStringLiteral("启") : QStringLiteral("停"))
                        << QStringLiteral("用的命令不处理这样的帐套。") << Qt::endl;
                break;
            case AccountSetList::FlagResult::Refused:
            case AccountSetList::FlagResult::Failed:
                break;  // the question or the error was shown
        }
    }
    Close_Connect();
    return rc;
}

int runDisable(AdminContext& ctx) {
    return setFlag(ctx, false);
}
int runEnable(AdminContext& ctx) {
    return setFlag(ctx, true);
}

int runUpgrade(AdminContext& ctx) {
    if (!ctx.args.isEmpty())
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;
    const UpgradeResult result = ConfirmPermissionUpgrade();
    Close_Connect();
    return result == UpgradeResult::Upgraded || result == UpgradeResult::AlreadyUpgraded ? ExitOk
                                                                                         : ExitFailed;
}

const AdminCommand regList("list", "list", &runList);
const AdminCommand regDisable("disable", "disable ID [--yes]", &runDisable);
const AdminCommand regEnable("enable", "enable ID [--yes]", &runEnable);
const AdminCommand regUpgrade("upgrade", "upgrade [--yes]", &runUpgrade);

}  // namespace
}  // namespace ztgl::admin
