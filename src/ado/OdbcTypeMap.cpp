#include "ado/OdbcTypeMap.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDateTime>

#include "ado/DataType.h"

namespace ado {
namespace {

// SQL Server's own ODBC types (Microsoft's driver header; FreeTDS reports the same numbers).
constexpr int kSsVariant = -150;
constexpr int kSsXml = -152;
constexpr int kSsTime2 = -154;
constexpr int kSsTimestampOffset = -155;

// Longest text or binary column that is not a "max" or long column.
constexpr qint64 kLongestShort = 8000;

bool isShort(qint64 size) {
    return size > 0 && size <= kLongestShort;
}

// money is decimal(19,4) and smallmoney decimal(10,4) to ODBC; the drivers report no other trace
// of them, so a decimal column of exactly these shapes is taken for money.
bool isMoney(qint64 precision, int scale) {
    return scale == 4 && (precision == 19 || precision == 10);
}

QMetaType metaTypeOf(int adoType) {
    switch (adoType) {
        case adSmallInt:
        case adInteger:
        case adUnsignedTinyInt:
            return QMetaType(QMetaType::Int);
        case adBigInt:
            return QMetaType(QMetaType::LongLong);
        case adBoolean:
            return QMetaType(QMetaType::Bool);
        case adSingle:
        case adDouble:
        case adCurrency:
            return QMetaType(QMetaType::Double);
        case adDate:
            return QMetaType(QMetaType::QDateTime);
        case adVarBinary:
        case adLongVarBinary:
            return QMetaType(QMetaType::QByteArray);
        case adVariant:
            return QMetaType();
        default:
            return QMetaType(QMetaType::QString);
    }
}

}  // namespace

FieldInfo OdbcTypeMap::fieldInfo(const QString& name, int sqlType, qint64 size, int scale) {
    FieldInfo f{name, adVariant, size};
    switch (sqlType) {
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            f.type = isShort(size) ? adVarWChar : adLongVarWChar;
            break;
        case SQL_LONGVARCHAR:
        case SQL_WLONGVARCHAR:
        case kSsXml:
            f.type = adLongVarWChar;
            break;
        case SQL_INTEGER:
            f = {name, adInteger, 4};
            break;
        case SQL_SMALLINT:
            f = {name, adSmallInt, 2};
            break;
        case SQL_TINYINT:
            f = {name, adUnsignedTinyInt, 1};
            break;
        case SQL_BIGINT:
            f = {name, adBigInt, 8};
            break;
        case SQL_BIT:
            f = {name, adBoolean, 2};
            break;
        case SQL_FLOAT:
        case SQL_DOUBLE:
            f = {name, adDouble, 8};
            break;
        case SQL_REAL:
            f = {name, adSingle, 4};
            break;
        case SQL_DECIMAL:
        case SQL_NUMERIC:
            f.type = isMoney(size, scale) ? adCurrency : adNumeric;
            if (f.type == adCurrency)
                f.definedSize = 8;
            break;
        case SQL_DATETIME:
        case SQL_TIMESTAMP:
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIME:
        case SQL_TYPE_TIMESTAMP:
        case kSsTime2:
        case kSsTimestampOffset:
            f = {name, adDate, 8};
            break;
        case SQL_GUID:
            f = {name, adGUID, 16};
            break;
        case SQL_BINARY:
        case SQL_VARBINARY:
            f.type = isShort(size) ? adVarBinary : adLongVarBinary;
            break;
        case SQL_LONGVARBINARY:
            f.type = adLongVarBinary;
            break;
        case kSsVariant:
        default:
            f.type = adVariant;
            break;
    }
    return f;
}

QVariant OdbcTypeMap::value(const QVariant& fetched, const FieldInfo& field, int scale) {
    const QMetaType type = metaTypeOf(field.type);
    if (fetched.isNull() || !fetched.isValid())
        return type.isValid() ? QVariant(type) : QVariant();
    switch (field.type) {
        case adSmallInt:
        case adInteger:
        case adUnsignedTinyInt:
            return fetched.toInt();
        case adBigInt:
            return fetched.toLongLong();
        case adBoolean:
            return fetched.toBool();
        case adSingle:
        case adDouble:
        case adCurrency:
            return fetched.toDouble();
        case adNumeric: {
            // Fetched as text so that no digit is lost on the way.
            if (scale == 0) {
                bool ok = false;
                const qlonglong whole = fetched.toString().toLongLong(&ok);
                if (ok)
                    return whole;
            }
            return fetched.toDouble();
        }
        case adDate: {
            if (fetched.typeId() == QMetaType::QDate)
                return QDateTime(fetched.toDate(), QTime(0, 0));
            if (fetched.typeId() == QMetaType::QTime)
                return QDateTime(QDate(1899, 12, 30), fetched.toTime());
            return fetched.toDateTime();
        }
        case adGUID: {
            QString g = fetched.toString().toUpper();
            if (!g.startsWith(QLatin1Char('{')))
                g = QLatin1Char('{') + g + QLatin1Char('}');
            return g;
        }
        case adVarBinary:
        case adLongVarBinary:
            return fetched.toByteArray();
        case adVariant:
            return fetched;
        default:
            return fetched.toString();
    }
}

}  // namespace ado
