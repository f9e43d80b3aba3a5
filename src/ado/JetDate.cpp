#include "ado/JetDate.h"

#include <QRegularExpression>
#include <cmath>

namespace ado {
namespace {

const QString kTime =
    QStringLiteral(R"((\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,3})\d*)?)?(?:\s*([AaPp][Mm]))?)");

// Hours, minutes, seconds, milliseconds and AM/PM of a matched time starting at capture `first`.
QTime timeOf(const QRegularExpressionMatch& m, int first) {
    if (m.captured(first).isEmpty())
        return QTime(0, 0);
    int h = m.captured(first).toInt();
    const int min = m.captured(first + 1).toInt();
    const int s = m.captured(first + 2).toInt();
    const int ms = m.captured(first + 3).leftJustified(3, QLatin1Char('0')).toInt();
    const QString ampm = m.captured(first + 4).toUpper();
    if (!ampm.isEmpty()) {
        if (h < 1 || h > 12)
            return QTime();
        if (ampm == QLatin1String("PM") && h != 12)
            h += 12;
        if (ampm == QLatin1String("AM") && h == 12)
            h = 0;
    }
    return QTime(h, min, s, ms);
}

QDateTime combine(const QDate& d, const QTime& t) {
    if (!d.isValid() || !t.isValid())
        return QDateTime();
    return QDateTime(d, t);
}

QDateTime parse(const QString& raw, bool literal) {
    const QString text = raw.trimmed();
    // Year first: yyyy-MM-dd or yyyy/MM/dd with an optional time; yyyy-MM only in literals.
    static const QRegularExpression yearFirst(
        QStringLiteral(R"(^(\d{4})[-/](\d{1,2})(?:[-/](\d{1,2}))?(?:(?:T|\s+))") + kTime +
        QStringLiteral(")?$"));
    static const QRegularExpression monthFirst(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})(?:\s+)") +
                                               kTime + QStringLiteral(")?$"));
    static const QRegularExpression timeOnly(QStringLiteral("^") + kTime + QStringLiteral("$"));

    QRegularExpressionMatch m = yearFirst.match(text);
    if (m.hasMatch()) {
        if (m.captured(3).isEmpty() && (!literal || !m.captured(4).isEmpty()))
            return QDateTime();
        const int day = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
        return combine(QDate(m.captured(1).toInt(), m.captured(2).toInt(), day), timeOf(m, 4));
    }
    if (literal) {
        m = monthFirst.match(text);
        if (m.hasMatch()) {
            int year = m.captured(3).toInt();
            // Two-digit years as Windows reads them by default: 00-29 this century, 30-99 the last.
            if (m.captured(3).size() == 2)
                year += year < 30 ? 2000 : 1900;
            return combine(QDate(year, m.captured(1).toInt(), m.captured(2).toInt()), timeOf(m, 4));
        }
    }
    m = timeOnly.match(text);
    if (m.hasMatch())
        return combine(JetDate::dayZero(), timeOf(m, 1));
    return QDateTime();
}

}  // namespace

QString JetDate::toStorage(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime JetDate::fromStorage(const QString& text) {
    return parse(text, false);
}

QDateTime JetDate::fromLiteral(const QString& text) {
    return parse(text, true);
}

QDateTime JetDate::fromOleDate(double days) {
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return QDateTime();
    // The whole part counts days (also before day zero); the fraction is always a time after midnight.
    const double whole = std::trunc(days);
    const qint64 ms = qint64(std::llround(std::fabs(days - whole) * 86400000.0));
    return QDateTime(dayZero().addDays(qint64(whole)), QTime(0, 0)).addMSecs(ms);
}

}  // namespace ado
