// The SQL dialect shared by Access and SQL Server: literals, LIKE patterns, dates, next keys, the
// server's clock and the rewriting of boolean literals.
#include <charconv>
#include <cmath>
#include <limits>

#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl {

namespace {

const QString kDrop = QStringLiteral("[Drop]");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
// Day zero of the database world: a time of day alone is stored on it.
const QDate kDayZero(1899, 12, 30);

// Capital letters one code point at a time (simple case mapping), so that the statement keeps
// its length and characters without a one-to-one capital (such as "ß") stay as they are.
QString upperCase(const QString& text) {
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const QChar c = out.at(i);
        if (c.isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate()) {
            const char32_t u = QChar::toUpper(QChar::surrogateToUcs4(c, out.at(i + 1)));
            out[i] = QChar(QChar::highSurrogate(u));
            out[++i] = QChar(QChar::lowSurrogate(u));
        } else {
            out[i] = c.toUpper();
        }
    }
    return out;
}

// Shortest text that reads back as the same value, with "." as the decimal point: plain digits
// for magnitudes from 0.0001 to below 10^15 (1.5, 100, 0.1), an exponent otherwise (1E+20).
template <typename Float>
QString floatText(Float v) {
    if (v == 0)
        return QStringLiteral("0");
    const Float magnitude = std::abs(v);
    const bool plain = magnitude >= Float(1e-4) && magnitude < Float(1e15);
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v,
                                 plain ? std::chars_format::fixed : std::chars_format::scientific);
    const QString text = QString::fromLatin1(buf, r.ptr - buf);
    return plain ? text : text.toUpper();
}

bool isZeroDateTime(const QDateTime& dt) {
    return dt.date() == kDayZero && dt.time() == QTime(0, 0);
}

QString dateLiteral(const QDateTime& dt) {
    return (!dt.isValid() || isZeroDateTime(dt)) ? QStringLiteral("null") : Get_DateStr(dt, 0);
}

QString textLiteral(const QString& value, bool isLike, const QString& wildcard, const QString& mode) {
    if (!isLike) {
        QString text = TrimBlanks(value);
        return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    }
    const QString e = Get_LikeStr(TrimBlanks(value));
    const auto is = [](const QString& a, const char* b) {
        return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
    };
    if (wildcard.compare(kDrop, Qt::CaseInsensitive) == 0)
        return QLatin1Char('\'') + e + QLatin1Char('\'');
    if (is(mode, "Start"))
        return QStringLiteral(" like '") + wildcard + e + QLatin1Char('\'');
    if (is(mode, "End"))
        return QStringLiteral(" like '") + e + wildcard + QLatin1Char('\'');
    if (is(mode, "Both"))
        return QStringLiteral(" like '") + wildcard + e + wildcard + QLatin1Char('\'');
    return QLatin1Char('\'') + e + QLatin1Char('\'');
}

QString sqlValue(const QVariant& value, bool isLike, const QString& wildcard, const QString& mode) {
    if (!value.isValid() || value.isNull())
        return QStringLiteral("null");
    switch (value.typeId()) {
        case QMetaType::Short:
        case QMetaType::Int:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::SChar:
        case QMetaType::Char:
            return QString::number(value.toLongLong());
        case QMetaType::UShort:
        case QMetaType::UInt:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::UChar:
            return QString::number(value.toULongLong());
        case QMetaType::Float:
            return floatText(value.toFloat());
        case QMetaType::Double:
            return floatText(value.toDouble());
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case QMetaType::QDateTime:
            return dateLiteral(value.toDateTime());
        case QMetaType::QDate:
            return dateLiteral(QDateTime(value.toDate(), QTime(0, 0)));
        // A time of day is a date-time on day zero.
        case QMetaType::QTime:
            return dateLiteral(QDateTime(kDayZero, value.toTime()));
        case QMetaType::QString:
            return textLiteral(value.toString(), isLike, wildcard, mode);
        default:
            return QString();
    }
}

qint32 nextKey(const QString& table, const QString& field) {
    QString sql;
    if (gDBType.compare(kSqlServer, Qt::CaseInsensitive) == 0)
        sql = QStringLiteral("select max(convert(int,") + field + QStringLiteral(")) as ls_bm from ") + table;
    else if (gDBType.compare(kAccess, Qt::CaseInsensitive) == 0)
        sql = QStringLiteral("select max(clng(") + field + QStringLiteral(")) as ls_bm from ") + table;
    else  // no query for an unknown kind: reading its result fails on the closed recordset
        throw RuntimeError(3704, QStringLiteral("对象关闭时，不允许操作。"));

    ado::Recordset rs;
    rs.Open(sql, SharedConn());
    qint32 next = 1;
    if (!rs.Eof() && !rs.Fields(QStringLiteral("ls_bm")).isNull()) {
        bool ok = false;
        const qlonglong max = rs.Fields(QStringLiteral("ls_bm")).Value().toLongLong(&ok);
        if (!ok)
            throw RuntimeError(RuntimeError::TypeMismatch);
        if (max >= std::numeric_limits<qint32>::max() || max < std::numeric_limits<qint32>::min())
            throw RuntimeError(RuntimeError::Overflow);
        next = qint32(max) + 1;
    }
    Close_Recordset(rs);
    return next;
}

// The server's answer as a date-time: engines hand it back typed, or as text.
QDateTime serverTimeValue(const QVariant& v) {
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    const QString text = v.toString().trimmed();
    for (const char* format :
         {"yyyy-MM-dd HH:mm:ss.zzz", "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd'T'HH:mm:ss", "yyyy-MM-dd"}) {
        const QDateTime dt = QDateTime::fromString(text, QLatin1String(format));
        if (dt.isValid())
            return dt;
    }
    return QDateTime();
}

}  // namespace

QDateTime ZeroDateTime() {
    return QDateTime(kDayZero, QTime(0, 0));
}

void ExecuteNonQuerySql(QString& sql) {
    if (sql.isEmpty())
        return;
    try {
        sql = upperCase(sql);
        static const char* const kRewrites[][2] = {
            {",TRUE", ",1"},  {"TRUE,", "1,"},  {"= TRUE", "= 1"},  {"=TRUE", "=1"},
            {",FALSE", ",0"}, {"FALSE,", "0,"}, {"= FALSE", "= 0"}, {"=FALSE", "=0"},
        };
        for (const auto& r : kRewrites)
            sql.replace(QLatin1String(r[0]), QLatin1String(r[1]), Qt::CaseSensitive);
        SharedConn().Execute(sql);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("ExecuteNonQuerySql():"), e);
    }
}

QString GetSqlVal(const QVariant& value, bool isLike, const QString& wildcard, const QString& mode) {
    try {
        return sqlValue(value, isLike, wildcard, mode);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("GetSqlVal():"), e);
        return QString();
    }
}

QString Get_LikeStr(const QString& text) {
    QString s = TrimBlanks(text);
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    s.replace(QLatin1Char('['), QStringLiteral("[[]"));
    s.replace(QLatin1Char('_'), QStringLiteral("[_]"));
    s.replace(QLatin1Char('%'), QStringLiteral("[%]"));
    return s;
}

// Dates up to 1900 keep the short default forms: a date alone when the time is zero, a time
// alone on day zero (always "HH:mm:ss", so midnight on day zero reads 00:00:00).
QString Get_DateStr(const QDateTime& date, int mode) {
    try {
        if (!date.isValid())
            throw RuntimeError(RuntimeError::TypeMismatch);
        QString text;
        if (date.date().year() > 1900)
            text = date.toString(kDateTimeFormat);
        else if (date.date() == kDayZero)
            text = date.toString(QStringLiteral("HH:mm:ss"));
        else if (date.time() == QTime(0, 0))
            text = date.toString(QStringLiteral("yyyy-MM-dd"));
        else
            text = date.toString(kDateTimeFormat);

        QString d;
        if (gDBType == kSqlServer)
            d = QStringLiteral("'");
        else if (gDBType == kAccess)
            d = QStringLiteral("#");
        else
            return QString();

        switch (mode) {
            case 1:
                return d + date.toString(QStringLiteral("yyyy-MM")) + d;
            case 2:
                return d + date.toString(QStringLiteral("yyyy-MM-dd")) + d;
            case 3:
                return d + date.toString(QStringLiteral("HH:mm:ss")) + d;
            default:
                return d + text + d;
        }
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Get_DateStr():"), e);
        return QString();
    }
}

qint32 Get_UniqV(const QString& table, const QString& field) {
    try {
        return nextKey(table, field);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Get_UniqV():"), e);
        return 0;
    }
}

QString Get_ServerTime() {
    QString result = QDateTime::currentDateTime().toString(kDateTimeFormat);
    try {
        const QString sql = gDBType == kAccess ? QStringLiteral("select now() as sj")
                                               : QStringLiteral("select getdate() as sj");
        ado::Recordset rs;
        rs.Open(sql, SharedConn());
        if (!rs.Eof() && !rs.Fields(QStringLiteral("sj")).isNull()) {
            const QDateTime server = serverTimeValue(rs.Fields(QStringLiteral("sj")).Value());
            if (server.isValid())
                result = server.toString(kDateTimeFormat);
        }
        Close_Recordset(rs);
    } catch (...) {
        // the local clock stands in for a server that cannot tell its time
    }
    return result;
}

}  // namespace ztgl
