#pragma once

#include <QString>
#include <memory>

#include "process/OperatorInfo.h"

namespace ado {
class Connection;
}

namespace ztgl {

// Process-wide values, set during start-up and login and kept until the program ends.
// One copy each, no locking: the program has one thread.

extern QString gAppPath;        // program folder, always ending in the native separator
extern QString gIniFile;        // gAppPath + "kxconfig.ini"
extern bool gIsNetwork;         // true in the network edition
extern QString gServerIP;       // fixed 20 characters (see FixedText)
extern QString gServerPort;     // fixed 5 characters
extern bool gPreLoginOK;
extern QString gConnectString;  // manager's database; "" or "'ERROR'" mean none
extern QString gDBType;         // "[Microsoft Access]" or "[Microsoft SQL Server]"
extern QString gManagerDBName;  // announced by the server; empty in the single-user edition
extern QString gTitle;          // "Zavrin行业管理软件之" + product title + "-帐套管理"
extern QString gAppTitle;       // application title: the product title
extern OperatorInfo gOperator;  // the logged-in operator

// The shared connection to the manager's database; null while closed. It is defined with the
// procedures that open and close it (db/SharedConnection.cpp).
extern std::unique_ptr<ado::Connection> gConn;

// The two database kinds, exactly as every dialect decision compares them.
inline const QString kAccess = QStringLiteral("[Microsoft Access]");
inline const QString kSqlServer = QStringLiteral("[Microsoft SQL Server]");

// A fixed-length text of `width` characters: longer values cut, shorter padded with blanks.
QString FixedText(const QString& value, int width);

// Back to the values at program start (tests): ResetProcessValues() the values above but gConn,
// ResetGlobals() all of them, the shared connection and the connection profile included
// (db/SharedConnection.cpp).
void ResetProcessValues();
void ResetGlobals();

}  // namespace ztgl
