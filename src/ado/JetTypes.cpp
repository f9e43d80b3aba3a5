#include "ado/JetTypes.h"

#include <QDateTime>
#include <QHash>
#include <QRegularExpression>
#include <climits>
#include <cmath>

#include "ado/DataType.h"
#include "ado/JetDate.h"

namespace ado {
namespace {

constexpr qint64 kTextSize = 255;
// What ADO reports as the defined size of Jet's memo and OLE object columns.
constexpr qint64 kMemoSize = 536870910;
constexpr qint64 kLongBinarySize = 1073741823;

struct NamedType {
    int type;
    qint64 size;  // -1: the declared (n), or kTextSize without it
    bool autoIncrement;
};

const QHash<QString, NamedType>& jetNames() {
    static const QHash<QString, NamedType> names = {
        {QStringLiteral("TEXT"), {adVarWChar, -1, false}},
        {QStringLiteral("VARCHAR"), {adVarWChar, -1, false}},
        {QStringLiteral("NVARCHAR"), {adVarWChar, -1, false}},
        {QStringLiteral("STRING"), {adVarWChar, -1, false}},
        {QStringLiteral("ALPHANUMERIC"), {adVarWChar, -1, false}},
        {QStringLiteral("CHARACTER VARYING"), {adVarWChar, -1, false}},
        {QStringLiteral("CHAR"), {adWChar, -1, false}},
        {QStringLiteral("NCHAR"), {adWChar, -1, false}},
        {QStringLiteral("CHARACTER"), {adWChar, -1, false}},
        {QStringLiteral("MEMO"), {adLongVarWChar, kMemoSize, false}},
        {QStringLiteral("LONGTEXT"), {adLongVarWChar, kMemoSize, false}},
        {QStringLiteral("LONGCHAR"), {adLongVarWChar, kMemoSize, false}},
        {QStringLiteral("NOTE"), {adLongVarWChar, kMemoSize, false}},
        {QStringLiteral("NTEXT"), {adLongVarWChar, kMemoSize, false}},
        {QStringLiteral("LONG"), {adInteger, 4, false}},
        {QStringLiteral("INTEGER"), {adInteger, 4, false}},
        {QStringLiteral("INT"), {adInteger, 4, false}},
        {QStringLiteral("INTEGER4"), {adInteger, 4, false}},
        {QStringLiteral("COUNTER"), {adInteger, 4, true}},
        {QStringLiteral("AUTOINCREMENT"), {adInteger, 4, true}},
        {QStringLiteral("SHORT"), {adSmallInt, 2, false}},
        {QStringLiteral("SMALLINT"), {adSmallInt, 2, false}},
        {QStringLiteral("INTEGER2"), {adSmallInt, 2, false}},
        {QStringLiteral("BYTE"), {adUnsignedTinyInt, 1, false}},
        {QStringLiteral("TINYINT"), {adUnsignedTinyInt, 1, false}},
        {QStringLiteral("INTEGER1"), {adUnsignedTinyInt, 1, false}},
        {QStringLiteral("BIGINT"), {adBigInt, 8, false}},
        {QStringLiteral("SINGLE"), {adSingle, 4, false}},
        {QStringLiteral("REAL"), {adSingle, 4, false}},
        {QStringLiteral("FLOAT4"), {adSingle, 4, false}},
        {QStringLiteral("IEEESINGLE"), {adSingle, 4, false}},
        {QStringLiteral("DOUBLE"), {adDouble, 8, false}},
        {QStringLiteral("DOUBLE PRECISION"), {adDouble, 8, false}},
        {QStringLiteral("FLOAT"), {adDouble, 8, false}},
        {QStringLiteral("FLOAT8"), {adDouble, 8, false}},
        {QStringLiteral("IEEEDOUBLE"), {adDouble, 8, false}},
        {QStringLiteral("NUMBER"), {adDouble, 8, false}},
        {QStringLiteral("CURRENCY"), {adCurrency, 8, false}},
        {QStringLiteral("MONEY"), {adCurrency, 8, false}},
        {QStringLiteral("DATETIME"), {adDate, 8, false}},
        {QStringLiteral("DATE"), {adDate, 8, false}},
        {QStringLiteral("TIME"), {adDate, 8, false}},
        {QStringLiteral("TIMESTAMP"), {adDate, 8, false}},
        {QStringLiteral("BIT"), {adBoolean, 2, false}},
        {QStringLiteral("YESNO"), {adBoolean, 2, false}},
        {QStringLiteral("LOGICAL"), {adBoolean, 2, false}},
        {QStringLiteral("LOGICAL1"), {adBoolean, 2, false}},
        {QStringLiteral("BOOLEAN"), {adBoolean, 2, false}},
        {QStringLiteral("GUID"), {adGUID, 16, false}},
        {QStringLiteral("UNIQUEIDENTIFIER"), {adGUID, 16, false}},
        {QStringLiteral("DECIMAL"), {adNumeric, 16, false}},
        {QStringLiteral("NUMERIC"), {adNumeric, 16, false}},
        {QStringLiteral("DEC"), {adNumeric, 16, false}},
        {QStringLiteral("LONGBINARY"), {adLongVarBinary, kLongBinarySize, false}},
        {QStringLiteral("OLEOBJECT"), {adLongVarBinary, kLongBinarySize, false}},
        {QStringLiteral("GENERAL"), {adLongVarBinary, kLongBinarySize, false}},
        {QStringLiteral("IMAGE"), {adLongVarBinary, kLongBinarySize, false}},
        {QStringLiteral("BLOB"), {adLongVarBinary, kLongBinarySize, false}},
        {QStringLiteral("BINARY"), {adBinary, -1, false}},
        {QStringLiteral("VARBINARY"), {adVarBinary, -1, false}},
    };
    return names;
}

// The engine's own affinity rules for names Jet does not know.
JetColumnType byAffinity(const QString& name) {
    if (name.contains(QLatin1String("INT")))
        return {adInteger, 4, false};
    if (name.contains(QLatin1String("CHAR")) || name.contains(QLatin1String("CLOB")) ||
        name.contains(QLatin1String("TEXT")))
        return {adVarWChar, kTextSize, false};
    if (name.contains(QLatin1String("BLOB")))
        return {adLongVarBinary, kLongBinarySize, false};
    return {adDouble, 8, false};
}

bool isWholeNumberText(const QString& text, qlonglong* out) {
    bool ok = false;
    *out = text.trimmed().toLongLong(&ok);
    return ok;
}

QVariant toInteger(const QVariant& stored) {
    qlonglong n = 0;
    switch (stored.typeId()) {
        case QMetaType::LongLong:
            n = stored.toLongLong();
            break;
        case QMetaType::Double: {
            const double d = stored.toDouble();
            if (!std::isfinite(d) || std::fabs(d) > 9.0e18 || d != std::trunc(d))
                return stored;
            n = qlonglong(d);
            break;
        }
        case QMetaType::QString:
            if (!isWholeNumberText(stored.toString(), &n))
                return stored;
            break;
        default:
            return stored;
    }
    if (n >= INT_MIN && n <= INT_MAX)
        return QVariant(int(n));
    return QVariant(n);
}

QVariant toDouble(const QVariant& stored) {
    switch (stored.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Double:
            return QVariant(stored.toDouble());
        case QMetaType::QString: {
            bool ok = false;
            const double d = stored.toString().trimmed().toDouble(&ok);
            return ok ? QVariant(d) : stored;
        }
        default:
            return stored;
    }
}

QVariant toBoolean(const QVariant& stored) {
    switch (stored.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Double:
            return QVariant(stored.toDouble() != 0);
        case QMetaType::QString: {
            const QString t = stored.toString().trimmed().toLower();
            if (t == QLatin1String("true") || t == QLatin1String("yes") || t == QLatin1String("on"))
                return QVariant(true);
            if (t == QLatin1String("false") || t == QLatin1String("no") || t == QLatin1String("off"))
                return QVariant(false);
            bool ok = false;
            const double d = t.toDouble(&ok);
            return ok ? QVariant(d != 0) : stored;
        }
        default:
            return stored;
    }
}

QVariant toDate(const QVariant& stored) {
    QDateTime dt;
    switch (stored.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Double:
            dt = JetDate::fromOleDate(stored.toDouble());
            break;
        case QMetaType::QString:
            dt = JetDate::fromStorage(stored.toString());
            break;
        default:
            break;
    }
    return dt.isValid() ? QVariant(dt) : stored;
}

QVariant toText(const QVariant& stored) {
    switch (stored.typeId()) {
        case QMetaType::QString:
            return stored;
        case QMetaType::LongLong:
            return QVariant(QString::number(stored.toLongLong()));
        case QMetaType::Double:
            return QVariant(QString::number(stored.toDouble(), 'g', 15));
        case QMetaType::QByteArray:
            return QVariant(QString::fromUtf8(stored.toByteArray()));
        default:
            return stored;
    }
}

bool looksLikeDateTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}$)"));
    return re.match(text).hasMatch() && JetDate::fromStorage(text).isValid();
}

}  // namespace

JetColumnType JetTypes::fromDeclared(const QString& declared) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_ ]*?)\s*(?:\(\s*(\d+)\s*(?:,\s*\d+\s*)?\))?\s*$)"));
    const QRegularExpressionMatch m = re.match(declared);
    if (!m.hasMatch()) {
        if (declared.trimmed().isEmpty())
            return {};
        return byAffinity(declared.toUpper());
    }
    const QString name = m.captured(1).toUpper().simplified();
    auto it = jetNames().constFind(name);
    // "MEMO TEXT": the first word is Jet's name, the second only the engine's storage hint.
    if (it == jetNames().constEnd())
        it = jetNames().constFind(name.section(QLatin1Char(' '), 0, 0));
    if (it == jetNames().constEnd())
        return byAffinity(name);
    JetColumnType t{it->type, it->size, it->autoIncrement};
    if (t.definedSize < 0)
        t.definedSize = m.captured(2).isEmpty() ? kTextSize : m.captured(2).toLongLong();
    return t;
}

JetColumnType JetTypes::fromValue(const QVariant& stored) {
    switch (stored.typeId()) {
        case QMetaType::LongLong: {
            const qlonglong n = stored.toLongLong();
            if (n >= INT_MIN && n <= INT_MAX)
                return {adInteger, 4, false};
            return {adBigInt, 8, false};
        }
        case QMetaType::Double:
            return {adDouble, 8, false};
        case QMetaType::QByteArray:
            return {adLongVarBinary, kLongBinarySize, false};
        case QMetaType::QString:
            if (looksLikeDateTime(stored.toString()))
                return {adDate, 8, false};
            return {adVarWChar, kTextSize, false};
        default:
            return {adVarWChar, kTextSize, false};
    }
}

QVariant JetTypes::toFieldValue(int type, const QVariant& stored) {
    if (stored.isNull() || !stored.isValid())
        return QVariant();
    switch (type) {
        case adSmallInt:
        case adInteger:
        case adUnsignedTinyInt:
        case adTinyInt:
        case adBigInt:
            return toInteger(stored);
        case adSingle:
        case adDouble:
        case adCurrency:
        case adNumeric:
        case adDecimal:
            return toDouble(stored);
        case adDate:
            return toDate(stored);
        case adBoolean:
            return toBoolean(stored);
        case adVarWChar:
        case adWChar:
        case adLongVarWChar:
        case adGUID:
            return toText(stored);
        default:
            return stored;
    }
}

bool JetTypes::isText(int type) {
    return type == adVarWChar || type == adWChar || type == adLongVarWChar;
}

}  // namespace ado
