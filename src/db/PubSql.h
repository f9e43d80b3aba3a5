#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace ado {
class Connection;
class Recordset;
}  // namespace ado

namespace ztgl {

// The seven values of section DBCONNECT.
struct DBProfile {
    QString Provider, Password, PersistSecurityInfo, UserID, DBName, DataSource, NetworkLibrary;
};
extern DBProfile gDBProfile;

// --- Shared connection and connection strings ---

// Reads DBCONNECT from gIniFile into gDBProfile, sets gDBType and builds the connection string.
QString Get_ConnectString();
// Access or SQL Server connection string of the profile; "" for any other kind.
QString Build_ConnectString(const QString& kind, const DBProfile& profile);
// Opens a new gConn on gConnectString (time-out 120 s): 1 when open, 0 otherwise.
// "" and "'ERROR'" (blanks around ignored) are refused silently; an open that fails is reported
// ("Open_Connect():" + error text) and leaves gConn holding the closed connection.
int Open_Connect();
// Replaces rs by a new client-side recordset bound to gConn, then opens it with sql (every row
// fetched). Binding is its own: a missing gConn (error 91) or a closed one (3709) is reported as
// "Open_Recordset():" + the error text. The open is the caller's: it throws, 3709 when the binding
// failed, or the engine's error as it comes, for the caller's own trap and label.
void Open_Recordset(ado::Recordset& rs, const QString& sql);
// gConn for a procedure that runs its statement on the shared connection itself rather than
// through Open_Recordset: RuntimeError 91 when there is none, for the caller's own trap.
ado::Connection& SharedConn();
// Closes rs when open and resets it; ignores every error.
void Close_Recordset(ado::Recordset& rs);
// Closes and releases gConn; ignores every error.
void Close_Connect();
// Connection string of the account-set database `name` beside the manager's database.
// Access: "KXPUB.MDB" (capitals only) becomes name + ".MDB". Otherwise the value of the
// "Initial Catalog=" item (key found without regard to case) becomes name; throws
// RuntimeError 5 when no ";" follows the old value. A base without that item gets
// ";Initial Catalog=" + name appended, so that the set's database is always named.
QString Get_ZtConnectString(const QString& name, const QString& base);

// --- SQL dialect rules and literals ---

// Upper-cases sql, rewrites TRUE/FALSE literals and runs it on gConn; sql receives the
// rewritten text. Failures are reported ("ExecuteNonQuerySql():") and swallowed.
void ExecuteNonQuerySql(QString& sql);
// Every value written into a statement, by type:
// - null or invalid → "null";
// - integers → their digits; floats → the shortest text that reads back as the same value, with
//   "." as decimal point (1.5, 100, 0.1) and an exponent only below 0.0001 or from 10^15 on
//   (1E-05, 1E+20);
// - bool → "1" / "0";
// - QDateTime, QDate, QTime (on day zero) → Get_DateStr(value, 0), "null" for 1899-12-30 00:00:00;
// - QString → quoted text (blanks trimmed, ' doubled) or the LIKE forms;
// - anything else → "".
QString GetSqlVal(const QVariant& value, bool isLike = false,
                  const QString& wildcard = QStringLiteral("[Drop]"),
                  const QString& mode = QStringLiteral("[Drop]"));
// Text for a LIKE pattern: trimmed, ' doubled, [ _ % bracketed.
QString Get_LikeStr(const QString& text);
// Date literal of the current kind: mode 1 year-month, 2 date, 3 time, other the whole value.
QString Get_DateStr(const QDateTime& date, int mode);
// Next free integer key of table.field (numeric maximum + 1; 1 for an empty table); 0 after
// a reported failure ("Get_UniqV():").
qint32 Get_UniqV(const QString& table, const QString& field);
// The database server's clock as "yyyy-MM-dd HH:mm:ss"; the local clock when it cannot be read.
QString Get_ServerTime();

// The date-time zero of the database world: 1899-12-30 00:00:00.
QDateTime ZeroDateTime();

// Text without the blanks (spaces) at both ends; tabs and line ends are kept, as the
// program's own trimming has always done.
QString TrimBlanks(const QString& text);

}  // namespace ztgl
