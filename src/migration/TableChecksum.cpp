#include "migration/TableChecksum.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <algorithm>
#include <cstring>

namespace ztgl {
namespace {

// A kind letter and a length before every value, so that no two rows run together alike.
void put(QCryptographicHash& h, char kind, const QByteArray& bytes) {
    h.addData(QByteArrayView(&kind, 1));
    const QByteArray length = QByteArray::number(bytes.size()) + ':';
    h.addData(length);
    h.addData(bytes);
}

void putValue(QCryptographicHash& h, const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return put(h, 'N', QByteArray());
    switch (v.typeId()) {
        case QMetaType::Bool:
            return put(h, 'B', v.toBool() ? "1" : "0");
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            return put(h, 'I', QByteArray::number(v.toLongLong()));
        case QMetaType::Double:
        case QMetaType::Float: {
            // Zero has two signs in the bytes of a double, one in arithmetic.
            const double d = v.toDouble() == 0 ? 0.0 : v.toDouble();
            QByteArray bits(sizeof d, Qt::Uninitialized);
            std::memcpy(bits.data(), &d, sizeof d);
            return put(h, 'D', bits);
        }
        case QMetaType::QDateTime: {
            const QDateTime dt = v.toDateTime();
            return put(h, 'T',
                       QByteArray::number(dt.date().toJulianDay()) + ' ' +
                           QByteArray::number(dt.time().msecsSinceStartOfDay()));
        }
        case QMetaType::QString: {
            const QString s = v.toString();
            return put(h, 'S', QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2));
        }
        case QMetaType::QByteArray:
            return put(h, 'X', v.toByteArray());
        default:
            return put(h, '?', v.toString().toUtf8());
    }
}

}  // namespace

void TableChecksum::add(const QVector<QVariant>& row) {
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const QVariant& v : row)
        putValue(h, v);
    m_rows.append(h.result());
}

QByteArray TableChecksum::result() const {
    QVector<QByteArray> sorted = m_rows;
    std::sort(sorted.begin(), sorted.end());
    QCryptographicHash h(QCryptographicHash::Sha256);
    for (const QByteArray& r : sorted)
        h.addData(r);
    return h.result().toHex();
}

}  // namespace ztgl
