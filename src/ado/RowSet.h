#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

namespace ado {

// Metadata of one result column.
struct FieldInfo {
    QString name;
    int type = 0;             // DataTypeEnum
    qint64 definedSize = 0;   // characters for text, bytes otherwise
};

// A fetched result: what a client-side cursor holds once a query has run.
// Values are typed by the column's type (QDateTime for dates, bool for yes/no, numbers,
// QString for text); a Null value is a null QVariant of that type or an invalid QVariant.
struct RowSet {
    QVector<FieldInfo> fields;
    QVector<QVector<QVariant>> rows;
};

}  // namespace ado
