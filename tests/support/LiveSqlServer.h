#pragma once

#include <QString>

#include "ado/ConnectionString.h"

namespace ztgl::test {

// The OLE DB connection string of the real SQL Server named by ZTGL_TEST_SQLSERVER_ODBC (an ODBC
// connection string: "SERVER=host[,port];UID=…;PWD=…[;Port=…][;DATABASE=…]"), on `catalog`, or on
// the variable's DATABASE when `catalog` is empty (tempdb when it names none). "" when unset.
inline QString LiveSqlServerConnectString(const QString& catalog = QString()) {
    const QString odbc = qEnvironmentVariable("ZTGL_TEST_SQLSERVER_ODBC");
    if (odbc.isEmpty()) return QString();
    const ado::ConnectionString given(odbc);
    QString server = given.value(QStringLiteral("SERVER"));
    if (!given.value(QStringLiteral("Port")).isEmpty())
        server += QLatin1Char(',') + given.value(QStringLiteral("Port"));
    QString database = catalog.isEmpty() ? given.value(QStringLiteral("DATABASE")) : catalog;
    if (database.isEmpty()) database = QStringLiteral("tempdb");
    return QStringLiteral(
               "Provider=SQLOLEDB;Password=%1;Persist Security Info=False;User ID=%2;Initial Catalog=%3;"
               "Data Source=%4")
        .arg(given.value(QStringLiteral("PWD")), given.value(QStringLiteral("UID")), database, server);
}

}  // namespace ztgl::test
