#pragma once

#include <QString>
#include <QStringList>

namespace ado {

// Which ODBC driver carries the SQL Server connections: the one the environment variable
// ZTGL_ODBC_DRIVER names, otherwise the first installed of Microsoft's current drivers and FreeTDS.
class OdbcDriverChoice {
public:
    // Drivers in order of preference.
    static QStringList preferred();

    // The unixODBC driver list: $ODBCSYSINI/odbcinst.ini (or the file $ODBCINSTINI names),
    // /etc/odbcinst.ini without them.
    static QString odbcinstPath();

    // Names of the drivers registered in an odbcinst.ini (its sections but [ODBC]); empty when
    // the file is missing.
    static QStringList installedDrivers(const QString& odbcinstIni);

    // The override when not empty, else the first preferred driver that is installed (names without
    // regard to case), else "".
    static QString choose(const QStringList& installed, const QString& override);

    // The choice for this process; throws RuntimeError 3706 naming what was looked for when none.
    static QString current();
};

}  // namespace ado
