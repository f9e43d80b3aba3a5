#include "ado/JetFunctions.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <functional>

#include "ado/JetDate.h"
#include "ado/JetError.h"
#include "ado/JetLike.h"
#include "ado/JetValue.h"
#include "platform/RuntimeError.h"

namespace ado {

using ztgl::RuntimeError;

namespace {

double textToNumber(const QString& raw) {
    const QString text = raw.trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return -1;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return 0;
    static const QRegularExpression hex(QStringLiteral("^&[Hh]([0-9A-Fa-f]{1,8})$"));
    const QRegularExpressionMatch h = hex.match(text);
    if (h.hasMatch())
        return double(qint32(h.captured(1).toUInt(nullptr, 16)));
    static const QRegularExpression grouped(QStringLiteral(R"(^[+-]?\d{1,3}(,\d{3})+(\.\d*)?$)"));
    QString plain = text;
    if (grouped.match(text).hasMatch())
        plain.remove(QLatin1Char(','));
    static const QRegularExpression number(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
    if (!number.match(plain).hasMatch())
        throw JetError::typeMismatch();
    const double d = plain.toDouble();
    if (!std::isfinite(d))
        throw JetError::overflow();
    return d;
}

QVariant roundedInteger(const QVariant& value, double low, double high) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    if (value.typeId() == QMetaType::LongLong) {
        const qlonglong n = value.toLongLong();
        if (n < low || n > high)
            throw JetError::overflow();
        return QVariant(n);
    }
    const double r = JetFunctions::roundHalfEven(JetFunctions::toNumber(value));
    if (r < low || r > high)
        throw JetError::overflow();
    return QVariant(qlonglong(r));
}

QString textOf(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::Double: {
            const double d = value.toDouble();
            if (d == std::trunc(d) && std::fabs(d) < 1e15)
                return QString::number(qlonglong(d));
            return QString::number(d, 'g', 15);
        }
        case QMetaType::QByteArray:
            return QString::fromUtf8(value.toByteArray());
        default:
            return value.toString();
    }
}

using Body = std::function<QVariant(const QVector<QVariant>&)>;

// One engine callback for every function: the arguments as stored values, the body's result, or the
// body's error in the form JetError reads back.
void call(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const Body& body = *static_cast<const Body*>(sqlite3_user_data(ctx));
    QVector<QVariant> args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i)
        args.append(JetValue::read(argv[i]));
    try {
        JetValue::setResult(ctx, body(args));
    } catch (const RuntimeError& e) {
        const QByteArray msg = JetError::encodeForEngine(e).toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

void destroyBody(void* p) {
    delete static_cast<Body*>(p);
}

void add(sqlite3* db, const char* name, int argc, bool deterministic, Body body) {
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS | (deterministic ? SQLITE_DETERMINISTIC : 0);
    const int rc = sqlite3_create_function_v2(db, name, argc, flags, new Body(std::move(body)), &call,
                                              nullptr, nullptr, &destroyBody);
    if (rc != SQLITE_OK)
        throw RuntimeError(RuntimeError::DatabaseError,
                           QStringLiteral("无法在数据库引擎中登记函数 %1：%2")
                               .arg(QString::fromLatin1(name), QString::fromUtf8(sqlite3_errmsg(db))));
}

QVariant like(const QVector<QVariant>& a) {
    // The engine calls like(pattern, text [, escape]).
    if (a[0].isNull() || a[1].isNull() || !a[0].isValid() || !a[1].isValid())
        return QVariant();
    QChar escape;
    if (a.size() > 2) {
        const QString e = textOf(a[2]);
        if (e.size() != 1)
            throw JetError::syntax(QStringLiteral("ESCAPE 子句必须是一个字符。"));
        escape = e[0];
    }
    return QVariant(JetLike::match(textOf(a[1]), textOf(a[0]), escape));
}

}  // namespace

double JetFunctions::roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

double JetFunctions::toNumber(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::Double:
        case QMetaType::Bool:
            return value.toDouble();
        case QMetaType::QString:
            return textToNumber(value.toString());
        default:
            throw JetError::typeMismatch();
    }
}

QVariant JetFunctions::clng(const QVariant& value) {
    return roundedInteger(value, -2147483648.0, 2147483647.0);
}

QVariant JetFunctions::cint(const QVariant& value) {
    return roundedInteger(value, -32768.0, 32767.0);
}

QVariant JetFunctions::cdbl(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    return QVariant(toNumber(value));
}

QVariant JetFunctions::cstr(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    return QVariant(textOf(value));
}

QVariant JetFunctions::ucase(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    return QVariant(textOf(value).toUpper());
}

QVariant JetFunctions::lcase(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    return QVariant(textOf(value).toLower());
}

QVariant JetFunctions::len(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    return QVariant(qlonglong(textOf(value).size()));
}

QVariant JetFunctions::iif(const QVariant& condition, const QVariant& whenTrue, const QVariant& whenFalse) {
    if (!condition.isValid() || condition.isNull())
        return whenFalse;
    return toNumber(condition) != 0 ? whenTrue : whenFalse;
}

QVariant JetFunctions::nz(const QVariant& value, const QVariant& whenNull) {
    if (!value.isValid() || value.isNull())
        return whenNull.isValid() ? whenNull : QVariant(QString());
    return value;
}

QString JetFunctions::now() {
    return JetDate::toStorage(QDateTime::currentDateTime());
}

QString JetFunctions::date() {
    return JetDate::toStorage(QDateTime(QDate::currentDate(), QTime(0, 0)));
}

void JetFunctions::registerAll(sqlite3* db) {
    add(db, "clng", 1, true, [](const QVector<QVariant>& a) { return clng(a[0]); });
    add(db, "cint", 1, true, [](const QVector<QVariant>& a) { return cint(a[0]); });
    add(db, "cdbl", 1, true, [](const QVector<QVariant>& a) { return cdbl(a[0]); });
    add(db, "cstr", 1, true, [](const QVector<QVariant>& a) { return cstr(a[0]); });
    add(db, "ucase", 1, true, [](const QVector<QVariant>& a) { return ucase(a[0]); });
    add(db, "lcase", 1, true, [](const QVector<QVariant>& a) { return lcase(a[0]); });
    add(db, "len", 1, true, [](const QVector<QVariant>& a) { return len(a[0]); });
    add(db, "iif", 3, true, [](const QVector<QVariant>& a) { return iif(a[0], a[1], a[2]); });
    add(db, "nz", 1, true, [](const QVector<QVariant>& a) { return nz(a[0], QVariant()); });
    add(db, "nz", 2, true, [](const QVector<QVariant>& a) { return nz(a[0], a[1]); });
    add(db, "now", 0, false, [](const QVector<QVariant>&) { return QVariant(now()); });
    // Only date() without arguments is Jet's; the engine's date(value, modifiers…) stays as it is.
    add(db, "date", 0, false, [](const QVector<QVariant>&) { return QVariant(date()); });
    add(db, "like", 2, true, &like);
    add(db, "like", 3, true, &like);
}

}  // namespace ado
