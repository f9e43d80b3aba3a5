#pragma once

#include <QVariant>

#include "ado/RowSet.h"

namespace ado {

// What a SQL Server column looks like through ADO, from what the ODBC driver reports of it.
class OdbcTypeMap {
public:
    // `sqlType` is the ODBC SQL data type (SQL_WVARCHAR, SQL_INTEGER, …), `size` the column size
    // (characters for text, digits for decimals), `scale` the decimal digits.
    static FieldInfo fieldInfo(const QString& name, int sqlType, qint64 size, int scale);

    // A fetched value typed as ADO gives it for the column: text QString, whole numbers int or
    // qint64, bit bool, floating and money double, decimals qint64 without decimals and double
    // with, dates QDateTime, GUIDs "{…}" in capitals, binaries QByteArray. Null stays Null
    // (a null QVariant of the column's type).
    static QVariant value(const QVariant& fetched, const FieldInfo& field, int scale);
};

}  // namespace ado
