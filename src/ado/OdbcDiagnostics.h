#pragma once

#include <QString>

class QSqlError;

namespace ado {

// The operator-facing text of an ODBC failure. The drivers prefix every diagnostic record with
// their vendor tags ("[unixODBC][FreeTDS][SQL Server]…") and Qt appends its own summary
// ("QODBC: Unable to connect"); what is worth reading is the records' own texts.
class OdbcDiagnostics {
public:
    // The records of `databaseText` without their tags, repeats and the bare "Unable to connect
    // to data source" that only restates a more precise record, one per line; Qt's summary
    // (without "QODBC: ") when there are no records.
    static QString text(const QString& databaseText, const QString& driverText);
    static QString text(const QSqlError& error);
};

}  // namespace ado
