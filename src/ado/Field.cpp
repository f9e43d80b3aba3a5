#include "ado/Field.h"

#include <QDateTime>

namespace ado {

QString Field::text() const {
    if (isNull()) return QString();
    switch (m_value.typeId()) {
        case QMetaType::QDateTime: {
            const QDateTime dt = m_value.toDateTime();
            if (dt.time() == QTime(0, 0)) return dt.date().toString(QStringLiteral("yyyy-MM-dd"));
            return dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        case QMetaType::QDate: return m_value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
        case QMetaType::QTime: return m_value.toTime().toString(QStringLiteral("HH:mm:ss"));
        case QMetaType::Bool: return m_value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::Double:
        case QMetaType::Float: return QString::number(m_value.toDouble(), 'g', 15);
        default: return m_value.toString();
    }
}

}  // namespace ado
