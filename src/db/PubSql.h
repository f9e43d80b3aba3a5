#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace ado {
class Recordset;
}

namespace ztgl {

// The seven values of section DBCONNECT.
struct DBProfile {
    QString Provider, Password, PersistSecurityInfo, UserID, DBName, DataSource, NetworkLibrary;
};
extern DBProfile gDBProfile;

// --- Shared connection and connection strings ---
QString Get_ConnectString();
QString Build_ConnectString(const QString& kind, const DBProfile& profile);
// 1 when gConn is open, 0 otherwise ("Open_Connect():" + error text on failure).
int Open_Connect();
// Runs sql on gConn into rs (client-side, every row fetched). Throws on failure: the caller's
// own error trap reports it.
void Open_Recordset(ado::Recordset& rs, const QString& sql);
// Closes rs when open; ignores every error.
void Close_Recordset(ado::Recordset& rs);
// Closes and releases gConn; ignores every error.
void Close_Connect();
// Connection string of the account-set database `name` beside the manager's database.
// Throws RuntimeError 5 for a SQL Server base without ";" after the catalog value.
QString Get_ZtConnectString(const QString& name, const QString& base);

// --- SQL dialect rules and literals ---
// Upper-cases sql, rewrites TRUE/FALSE literals and runs it on gConn; sql receives the
// rewritten text. Failures are reported ("ExecuteNonQuerySql():") and swallowed.
void ExecuteNonQuerySql(QString& sql);
// Every value written into a statement. Types: null/invalid → "null"; integers, floats →
// number text; bool → 1/0; QDateTime/QDate → date literal ("null" for 1899-12-30 00:00:00);
// QString → quoted text (trimmed, ' doubled) or LIKE forms; anything else → "".
QString GetSqlVal(const QVariant& value, bool isLike = false,
                  const QString& wildcard = QStringLiteral("[Drop]"),
                  const QString& mode = QStringLiteral("[Drop]"));
QString Get_LikeStr(const QString& text);
QString Get_DateStr(const QDateTime& date, int mode);
qint32 Get_UniqV(const QString& table, const QString& field);
QString Get_ServerTime();

// The date-time zero of the database world: 1899-12-30 00:00:00.
QDateTime ZeroDateTime();

}  // namespace ztgl
