#include "catalogue/PermissionUpgrade.h"

#include <QStringList>

#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "audit/ChangeLog.h"
#include "db/PubSql.h"
#include "db/Transaction.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl {
namespace {

const QString kInsertLimit =
    QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values (");
const QString kInsertGrant = QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','");

// The ten statements that bring one set up to date, in their order: the group "其它权限" and its
// four rights, then the grants to the default user.
QStringList upgradeStatements() {
    static const QStringList limits = {
        QStringLiteral("'10','其它权限','FuncQiTa',1,2,'',10)"),
        QStringLiteral("'1001','使用往来单位','frmSYWLDW',1,2,'',1001)"),
        QStringLiteral("'100101','供应商','frmSYWLDWGYS',1,2,'',100101)"),
        QStringLiteral("'100102','客户','frmSYWLDWKH',1,2,'',100102)"),
        QStringLiteral("'100103','供应商+客户','frmSYWLDWGYS+KH',1,2,'',100103)"),
    };
    static const QStringList rights = {
        QStringLiteral("FuncQiTa"),    QStringLiteral("frmSYWLDW"),       QStringLiteral("frmSYWLDWGYS"),
        QStringLiteral("frmSYWLDWKH"), QStringLiteral("frmSYWLDWGYS+KH"),
    };
    QStringList out;
    for (const QString& values : limits)
        out << kInsertLimit + values;
    for (const QString& right : rights)
        out << kInsertGrant + right + QStringLiteral("')");
    return out;
}

// The ten statements of one set run in one transaction: a failure leaves the set as it was (no
// marker row), so a later run tries it again instead of skipping a half-upgraded set.
void upgradeOne(ado::Connection& conn) {
    InTransaction(conn, [&conn] {
        for (const QString& sql : upgradeStatements())
            conn.Execute(sql);
    });
}

}  // namespace

UpgradeResult DateBaseModifyByZavrin() {
    bool upgraded = false;
    ado::Recordset sets;
    ChangeLog::Entry record{ChangeLog::Upgrade, QString(), QString(), QString()};
    try {
        // One connection for the account-set databases, reused for every set.
        ado::Connection conn;
        sets.Open(QStringLiteral("select * from ZTML "), SharedConn());
        while (!sets.Eof()) {
            const QString name = sets.Fields(QStringLiteral("ZTLJ")).text();
            record = {ChangeLog::Upgrade, sets.Fields(QStringLiteral("Id")).text(),
                      sets.Fields(QStringLiteral("ZTMC")).text(), QStringLiteral("数据库 ") + name};
            conn.setConnectionString(Get_ZtConnectString(name, gConnectString));
            conn.setConnectionTimeout(120);
            if (conn.State() == ado::adStateOpen)
                conn.Close();
            conn.Open();
            ado::Recordset marker;
            marker.Open(QStringLiteral("select * from BaseLimits where ID='10'"), conn);
            if (marker.Eof()) {
                upgradeOne(conn);
                ChangeLog::Append(record, true);
                upgraded = true;
            }
            Close_Recordset(marker);
            conn.Close();
            sets.MoveNext();
        }
        Close_Recordset(sets);
    } catch (const std::exception& e) {
        Close_Recordset(sets);
        MsgBox(QStringLiteral("DateBaseModifyByZavrin()::升级数据库失败。") + errorText(e), MsgButtons::Ok,
               MsgIcon::Information, gAppTitle);
        ChangeLog::Failed(record, QStringLiteral("升级数据库失败。") + errorText(e));
        return UpgradeResult::Failed;
    }
    if (upgraded) {
        MsgBox(QStringLiteral("已经成功升级数据库！"), MsgButtons::Ok, MsgIcon::Information, gAppTitle);
        return UpgradeResult::Upgraded;
    }
    MsgBox(QStringLiteral("数据库已经被升级，无需再次升级！"), MsgButtons::Ok, MsgIcon::Information,
           gAppTitle);
    return UpgradeResult::AlreadyUpgraded;
}

UpgradeResult ConfirmPermissionUpgrade() {
    if (MsgBox(QStringLiteral("升级数据库将为每一个帐套补充“其它权限”及往来单位的使用权限，确定要升级吗？"),
               MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("提示信息")) != MsgAnswer::Yes)
        return UpgradeResult::Refused;
    return DateBaseModifyByZavrin();
}

void RunPermissionUpgrade() {
    ConfirmPermissionUpgrade();
}

}  // namespace ztgl
