#include "ado/JetSql.h"

#include "ado/JetDate.h"
#include "ado/JetError.h"

namespace ado {
namespace {

// Index just past the end of a quoted run that opens at `from` and closes with `close`; a doubled
// closing character stays inside. Returns -1 when the run is not closed.
int skipQuoted(const QString& sql, int from, QChar close) {
    int i = from + 1;
    while (i < sql.size()) {
        if (sql[i] == close) {
            if (close != QLatin1Char(']') && i + 1 < sql.size() && sql[i + 1] == close) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return -1;
}

QString quotedText(const QString& text) {
    QString inner = text;
    inner.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

}  // namespace

QString JetSql::rewrite(const QString& sql) {
    QString out;
    out.reserve(sql.size() + 16);
    int i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const bool quote = c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`');
        if (quote || c == QLatin1Char('[')) {
            const int end = skipQuoted(sql, i, quote ? c : QLatin1Char(']'));
            if (end < 0) {
                out += QStringView(sql).mid(i);  // not closed: the engine reports it
                break;
            }
            if (c != QLatin1Char('"')) {
                out += QStringView(sql).mid(i, end - i);
                i = end;
                continue;
            }
            QString inner = sql.mid(i + 1, end - i - 2);
            inner.replace(QStringLiteral("\"\""), QStringLiteral("\""));
            out += quotedText(inner);
            i = end;
        } else if (c == QLatin1Char('#')) {
            const int close = sql.indexOf(QLatin1Char('#'), i + 1);
            if (close < 0)
                throw JetError::badDate(sql.mid(i));
            const QString literal = sql.mid(i, close - i + 1);
            const QDateTime dt = JetDate::fromLiteral(sql.mid(i + 1, close - i - 1));
            if (!dt.isValid())
                throw JetError::badDate(literal);
            out += quotedText(JetDate::toStorage(dt));
            i = close + 1;
        } else if (c == QLatin1Char('&')) {
            out += QStringLiteral("||");
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

}  // namespace ado
