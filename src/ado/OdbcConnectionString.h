#pragma once

#include <QString>

#include "ado/ConnectionString.h"

namespace ado {

// Turns the OLE DB connection string of a SQL Server provider (SQLOLEDB, SQLNCLI*, MSOLEDBSQL*)
// into the ODBC connection string of an installed driver:
// "DRIVER={driver};SERVER=…;DATABASE=<Initial Catalog>;UID=<User ID>;PWD=<Password>;…".
class OdbcConnectionString {
public:
    // TDS protocol version asked of FreeTDS: the one current SQL Server versions (2012 and later) speak.
    static const char* const kFreeTdsVersion;

    static QString translate(const ConnectionString& oleDb, const QString& driver);

    // True for the FreeTDS driver, which needs the port apart and the client character set.
    static bool isFreeTds(const QString& driver);

    // Seconds to wait for the login: the string's own "Connect Timeout" when it has a valid one,
    // otherwise `fallback`. Zero or less, which would wait for ever, gives 15 (ADO's default).
    static int loginTimeout(const ConnectionString& oleDb, int fallback);

    // A value as ODBC needs it: in braces (closing braces doubled) when it holds characters that
    // would end or confuse the item.
    static QString quoteValue(const QString& value);
};

}  // namespace ado
