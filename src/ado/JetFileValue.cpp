#include "ado/JetFileValue.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QtEndian>
#include <cstring>

#include "ado/JetDate.h"
#include "ado/JetError.h"
#include "platform/Codepage936.h"

namespace ado {
namespace {

QString utf16(const char* p, qsizetype bytes) {
    QString out(bytes / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = QChar(qFromLittleEndian<quint16>(p + 2 * i));
    return out;
}

QString compressed(const QByteArray& raw) {
    QString out;
    out.reserve(raw.size());
    bool oneByte = true;
    for (qsizetype i = 2; i < raw.size();) {
        const uchar b = uchar(raw[i]);
        if (b == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            out += QChar(b);
            ++i;
        } else {
            if (i + 1 >= raw.size())
                break;
            out += QChar(qFromLittleEndian<quint16>(raw.constData() + i));
            i += 2;
        }
    }
    return out;
}

QString codePage(const QByteArray& raw, int page) {
    if (page == 936)
        return ztgl::cp936::decode(raw);
    QStringDecoder decoder(QByteArray("windows-" + QByteArray::number(page == 0 ? 1252 : page)).constData());
    if (!decoder.isValid())
        return QString::fromLatin1(raw);
    return decoder.decode(raw);
}

QString guid(const uchar* b) {
    // Data1, Data2 and Data3 little-endian, Data4 as its bytes stand.
    return QStringLiteral("{%1-%2-%3-%4%5-%6%7%8%9%10%11}")
        .arg(qFromLittleEndian<quint32>(b), 8, 16, QLatin1Char('0'))
        .arg(qFromLittleEndian<quint16>(b + 4), 4, 16, QLatin1Char('0'))
        .arg(qFromLittleEndian<quint16>(b + 6), 4, 16, QLatin1Char('0'))
        .arg(b[8], 2, 16, QLatin1Char('0'))
        .arg(b[9], 2, 16, QLatin1Char('0'))
        .arg(b[10], 2, 16, QLatin1Char('0'))
        .arg(b[11], 2, 16, QLatin1Char('0'))
        .arg(b[12], 2, 16, QLatin1Char('0'))
        .arg(b[13], 2, 16, QLatin1Char('0'))
        .arg(b[14], 2, 16, QLatin1Char('0'))
        .arg(b[15], 2, 16, QLatin1Char('0'))
        .toUpper();
}

template <typename T>
T fixed(const QByteArray& raw) {
    return qFromLittleEndian<T>(raw.constData());
}

double ieee(const QByteArray& raw) {
    double d = 0;
    if (raw.size() == 4) {
        float f = 0;
        std::memcpy(&f, raw.constData(), 4);
        d = f;
    } else {
        std::memcpy(&d, raw.constData(), 8);
    }
    return d;
}

int sizeOf(int type) {
    switch (type) {
        case JetBool:
        case JetByte:
            return 1;
        case JetInt:
            return 2;
        case JetLong:
        case JetComplex:
        case JetFloat:
            return 4;
        case JetMoney:
        case JetDouble:
        case JetDateTime:
            return 8;
        case JetRepId:
            return 16;
        default:
            return -1;  // any length
    }
}

}  // namespace

QString JetFileValue::text(const QByteArray& raw, const JetFileHeader& header) {
    if (header.version == 0)
        return codePage(raw, header.codePage);
    if (raw.size() >= 2 && uchar(raw[0]) == 0xff && uchar(raw[1]) == 0xfe)
        return compressed(raw);
    return utf16(raw.constData(), raw.size());
}

QString JetFileValue::password(const JetFileHeader& header) {
    const QString all = header.version == 0 ? codePage(header.password, header.codePage)
                                            : utf16(header.password.constData(), header.password.size());
    return all.left(all.indexOf(QChar(0)));
}

QVariant JetFileValue::decode(const JetFileColumn& column, const QByteArray& raw, const JetFileHeader& header,
                              const QString& file) {
    if (raw.isNull())
        return QVariant();
    const int size = sizeOf(column.type);
    if (size > 0 && raw.size() != size)
        throw JetError::jetFileDamaged(file, QStringLiteral("字段“%1”的值长度不对").arg(column.name));
    switch (column.type) {
        case JetBool:
            return QVariant(raw[0] != 0);
        case JetByte:
            return QVariant(int(uchar(raw[0])));
        case JetInt:
            return QVariant(int(fixed<qint16>(raw)));
        case JetLong:
        case JetComplex:
            return QVariant(int(fixed<qint32>(raw)));
        case JetMoney:
            return QVariant(double(fixed<qint64>(raw)) / 10000.0);
        case JetFloat:
        case JetDouble:
            return QVariant(ieee(raw));
        case JetDateTime: {
            const QDateTime dt = JetDate::fromOleDate(ieee(raw));
            if (!dt.isValid())
                throw JetError::jetFileDamaged(file, QStringLiteral("字段“%1”的日期无效").arg(column.name));
            return QVariant(dt);
        }
        case JetText:
        case JetMemo:
            return QVariant(text(raw, header));
        case JetRepId:
            return QVariant(guid(reinterpret_cast<const uchar*>(raw.constData())));
        case JetNumeric:
            return QVariant(QString::fromLatin1(raw).toDouble());
        default:
            return QVariant(raw);  // binary, OLE object
    }
}

}  // namespace ado
