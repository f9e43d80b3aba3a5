#include "audit/ChangeLog.h"

#include <QSysInfo>

#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "db/Transaction.h"
#include "platform/RuntimeError.h"
#include "platform/SystemAccount.h"
#include "process/Globals.h"

namespace ztgl {

const QString ChangeLog::kTable = QStringLiteral("CZRZ");
const QString ChangeLog::kSucceeded = QStringLiteral("成功");
const QString ChangeLog::kFailed = QStringLiteral("失败");

namespace {

// Column widths of CZRZ; longer values are cut to fit.
constexpr int kOperatorWidth = 30;
constexpr int kWorkstationWidth = 64;
constexpr int kSetIdWidth = 10;
constexpr int kSetNameWidth = 50;
constexpr int kDetailWidth = 255;

QString text(const QString& value, int width) {
    return GetSqlVal(value.left(width));
}

}  // namespace

QString ChangeLog::actionText(Action action) {
    switch (action) {
        case Create:
            return QStringLiteral("新增帐套");
        case Modify:
            return QStringLiteral("修改帐套");
        case Disable:
            return QStringLiteral("停用帐套");
        case Enable:
            return QStringLiteral("启用帐套");
        case Upgrade:
            return QStringLiteral("升级权限");
        case Password:
            return QStringLiteral("修改密码");
        case Backup:
            return QStringLiteral("备份帐套");
        case Restore:
            return QStringLiteral("恢复帐套");
        case Retire:
            return QStringLiteral("注销帐套");
        case Import:
            return QStringLiteral("导入帐套");
    }
    return QString();
}

QString ChangeLog::Actor() {
    if (gOperator.Id != QLatin1String("-1"))
        return gOperator.UserName;
    return QLatin1Char('[') + SystemAccountName() + QLatin1Char(']');
}

QString ChangeLog::Workstation() {
    return QSysInfo::machineHostName();
}

QString ChangeLog::CreateTableStatement() {
    if (gDBType == kSqlServer)
        return QStringLiteral(
            "CREATE TABLE CZRZ (Id int IDENTITY(1,1) NOT NULL PRIMARY KEY, CZSJ datetime NOT NULL, "
            "CZY nvarchar(30), GZZ nvarchar(64), CZLX nvarchar(10), ZTID nvarchar(10), ZTMC nvarchar(50), "
            "CZJG nvarchar(4), CZSM nvarchar(255))");
    return QStringLiteral(
        "CREATE TABLE CZRZ (Id COUNTER NOT NULL, CZSJ DATETIME NOT NULL, CZY TEXT(30), GZZ TEXT(64), "
        "CZLX TEXT(10), ZTID TEXT(10), ZTMC TEXT(50), CZJG TEXT(4), CZSM TEXT(255), "
        "CONSTRAINT PrimaryKey PRIMARY KEY (Id))");
}

QString ChangeLog::InsertStatement(const Entry& entry, bool succeeded) {
    const QString now = gDBType == kSqlServer ? QStringLiteral("getdate()") : QStringLiteral("now()");
    return QStringLiteral("insert into CZRZ(CZSJ,CZY,GZZ,CZLX,ZTID,ZTMC,CZJG,CZSM) values(") + now +
           QLatin1Char(',') + text(Actor(), kOperatorWidth) + QLatin1Char(',') +
           text(Workstation(), kWorkstationWidth) + QLatin1Char(',') + GetSqlVal(actionText(entry.action)) +
           QLatin1Char(',') + text(entry.setId, kSetIdWidth) + QLatin1Char(',') +
           text(entry.setName, kSetNameWidth) + QLatin1Char(',') +
           GetSqlVal(succeeded ? kSucceeded : kFailed) + QLatin1Char(',') + text(entry.detail, kDetailWidth) +
           QLatin1Char(')');
}

void ChangeLog::Ensure() {
    ado::Connection& conn = SharedConn();
    try {
        ado::Recordset probe;
        probe.Open(QStringLiteral("select * from CZRZ where Id=0"), conn);
        return;
    } catch (const std::exception&) {
        // missing: made below; any other trouble shows again when it is made
    }
    conn.Execute(CreateTableStatement());
}

void ChangeLog::Recorded(const Entry& entry, const std::function<void()>& change,
                         const std::function<bool()>& succeeded) {
    Ensure();
    ado::Connection& conn = SharedConn();
    InTransaction(conn, [&] {
        change();
        conn.Execute(InsertStatement(entry, !succeeded || succeeded()));
    });
}

bool ChangeLog::Append(const Entry& entry, bool succeeded, QString* error) {
    try {
        Ensure();
        SharedConn().Execute(InsertStatement(entry, succeeded));
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = errorText(e);
        return false;
    }
}

void ChangeLog::Failed(const Entry& entry, const QString& reason) {
    Entry failed = entry;
    failed.detail = reason;
    Append(failed, false);
}

QVector<ChangeEntry> ChangeLog::Read(const QString& setId, const QDate& since) {
    Ensure();
    QStringList where;
    if (!setId.isEmpty())
        where << QStringLiteral("ZTID=") + GetSqlVal(setId);
    if (since.isValid())
        where << QStringLiteral("CZSJ>=") + Get_DateStr(QDateTime(since, QTime(0, 0)), 2);
    QString sql = QStringLiteral("select * from CZRZ");
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
    sql += QStringLiteral(" order by Id");

    ado::Recordset rs;
    Open_Recordset(rs, sql);
    QVector<ChangeEntry> out;
    for (; !rs.Eof(); rs.MoveNext()) {
        ChangeEntry e;
        e.id = rs.Fields(QStringLiteral("Id")).Value().toLongLong();
        e.time = rs.Fields(QStringLiteral("CZSJ")).Value().toDateTime();
        e.operatorName = rs.Fields(QStringLiteral("CZY")).text();
        e.workstation = rs.Fields(QStringLiteral("GZZ")).text();
        e.action = rs.Fields(QStringLiteral("CZLX")).text();
        e.setId = rs.Fields(QStringLiteral("ZTID")).text();
        e.setName = rs.Fields(QStringLiteral("ZTMC")).text();
        e.outcome = rs.Fields(QStringLiteral("CZJG")).text();
        e.detail = rs.Fields(QStringLiteral("CZSM")).text();
        out << e;
    }
    Close_Recordset(rs);
    return out;
}

}  // namespace ztgl
