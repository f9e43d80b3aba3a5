#include "ado/JetValue.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

namespace ado {

QVariant JetValue::read(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_value_int64(value)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_value_double(value));
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
            return QVariant(QString::fromUtf8(text, sqlite3_value_bytes(value)));
        }
        case SQLITE_BLOB: {
            const auto* data = static_cast<const char*>(sqlite3_value_blob(value));
            return QVariant(QByteArray(data, sqlite3_value_bytes(value)));
        }
        default:
            return QVariant();
    }
}

void JetValue::setResult(sqlite3_context* ctx, const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        sqlite3_result_null(ctx);
        return;
    }
    switch (value.typeId()) {
        case QMetaType::Bool:
            sqlite3_result_int(ctx, value.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::UChar:
            sqlite3_result_int64(ctx, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            sqlite3_result_double(ctx, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            sqlite3_result_blob(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            break;
        }
    }
}

}  // namespace ado
