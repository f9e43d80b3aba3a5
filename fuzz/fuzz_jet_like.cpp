// Jet's LIKE on the embedded engine. Input: text, a NUL byte, pattern, optionally a NUL byte and an
// escape character (UTF-8). Oracles:
// - JetLike agrees with a plain matcher written from the rules alone (every way of matching tried);
// - a text matches itself escaped as the program escapes LIKE patterns ("[" "[[]", "_" "[_]",
//   "%" "[%]"), also with "%" on either side, and so does every piece of it between "%".
#include <QVector>

#include "FuzzSupport.h"
#include "ado/JetLike.h"

using namespace ztgl;
using ado::JetLike;

namespace {

// The rules, matched by trying every way: "%" any run, "_" any one character, "[…]" one character
// of a set ("a-z" a range either way round, "!" first negates, "[]" matches the empty text), a "["
// without "]" stands for itself, the escape character makes the next one literal; letters without
// regard to case.
class PlainMatcher {
public:
    PlainMatcher(const QString& text, const QString& pattern, QChar escape)
        : m_t(text.toCaseFolded().toUcs4()),
          m_p(pattern.toCaseFolded().toUcs4()),
          m_escape(escape.toCaseFolded().unicode()),
          m_memo((m_p.size() + 1) * (m_t.size() + 1), -1) {}

    bool matches() { return from(0, 0); }

private:
    // Whether the set between p[open] "[" and p[close] "]" holds c.
    bool setHolds(int open, int close, uint c) const {
        int j = open + 1;
        const bool negated = j < close && m_p[j] == '!';
        bool in = false;
        for (j += negated ? 1 : 0; j < close;) {
            const bool range = j + 2 < close && m_p[j + 1] == '-';
            const uint a = m_p[j], b = range ? m_p[j + 2] : a;
            in = in || (c >= qMin(a, b) && c <= qMax(a, b));
            j += range ? 3 : 1;
        }
        return in != negated;
    }

    bool from(int pi, int ti) {
        if (pi == m_p.size())
            return ti == m_t.size();
        char& memo = m_memo[pi * (m_t.size() + 1) + ti];
        if (memo < 0)
            memo = step(pi, ti) ? 1 : 0;
        return memo == 1;
    }

    bool step(int pi, int ti) {
        const bool more = ti < m_t.size();
        const uint c = m_p[pi];
        if (m_escape && c == m_escape && pi + 1 < m_p.size())
            return more && m_t[ti] == m_p[pi + 1] && from(pi + 2, ti + 1);
        if (c == '%')
            return from(pi + 1, ti) || (more && from(pi, ti + 1));
        if (c == '_')
            return more && from(pi + 1, ti + 1);
        const int close = c == '[' ? int(m_p.indexOf(']', pi + 1)) : -1;
        if (close == pi + 1)
            return from(close + 1, ti);
        if (close > 0)
            return more && setHolds(pi, close, m_t[ti]) && from(close + 1, ti + 1);
        return more && m_t[ti] == c && from(pi + 1, ti + 1);
    }

    const QVector<uint> m_t, m_p;
    const uint m_escape;
    QVector<char> m_memo;
};

QString escaped(QString s) {
    s.replace(QLatin1Char('['), QStringLiteral("[[]"));
    s.replace(QLatin1Char('_'), QStringLiteral("[_]"));
    s.replace(QLatin1Char('%'), QStringLiteral("[%]"));
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 512)  // the plain matcher takes time and memory of text times pattern
        return 0;
    const QList<QByteArray> parts = fuzz::bytesOf(data, size).split('\0');
    const QString text = QString::fromUtf8(parts.value(0));
    const QString pattern = QString::fromUtf8(parts.value(1));
    const QString escapeText = QString::fromUtf8(parts.value(2));
    const QChar escape = escapeText.isEmpty() ? QChar() : escapeText.front();

    FUZZ_CHECK(JetLike::match(text, pattern, escape) == PlainMatcher(text, pattern, escape).matches(),
               "JetLike agrees with the rules");
    FUZZ_CHECK(JetLike::match(text, escaped(text)), "a text matches itself escaped");
    const QVector<uint> chars = text.toUcs4();
    const QVector<uint> third = chars.mid(chars.size() / 3, chars.size() / 3);
    const QString middle =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(third.constData()), third.size());
    const QString percent = QStringLiteral("%");
    FUZZ_CHECK(JetLike::match(text, percent + escaped(middle) + percent), "a text contains its own middle");
    return 0;
}
