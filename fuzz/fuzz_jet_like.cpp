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

// The rules: "%" any run, "_" any one character, "[…]" one character of a set ("a-z" a range,
// "!" first negates, "[]" matches the empty text), a "[" without "]" stands for itself, the escape
// character makes the next one literal; letters without regard to case.
struct Item {
    enum Kind { Run, One, Set, Empty } kind;
    QVector<QPair<uint, uint>> ranges;
    bool negated = false;
};

QVector<Item> parse(const QVector<uint>& p, uint escape) {
    QVector<Item> items;
    for (int i = 0; i < p.size(); ++i) {
        if (escape && p[i] == escape && i + 1 < p.size()) {
            ++i;
            items.append({Item::Set, {{p[i], p[i]}}, false});
            continue;
        }
        if (p[i] == '%') {
            items.append({Item::Run, {}, false});
            continue;
        }
        if (p[i] == '_') {
            items.append({Item::One, {}, false});
            continue;
        }
        const int close = p[i] == '[' ? int(p.indexOf(']', i + 1)) : -1;
        if (close < 0) {
            items.append({Item::Set, {{p[i], p[i]}}, false});
            continue;
        }
        Item set{Item::Set, {}, false};
        int j = i + 1;
        if (j < close && p[j] == '!') {
            set.negated = true;
            ++j;
        }
        for (; j < close; ++j) {
            if (j + 2 < close && p[j + 1] == '-') {
                set.ranges.append({qMin(p[j], p[j + 2]), qMax(p[j], p[j + 2])});
                j += 2;
            } else {
                set.ranges.append({p[j], p[j]});
            }
        }
        if (set.ranges.isEmpty() && !set.negated)
            set.kind = Item::Empty;
        items.append(set);
        i = close;
    }
    return items;
}

bool inSet(const Item& item, uint c) {
    bool in = false;
    for (const auto& r : item.ranges)
        in = in || (c >= r.first && c <= r.second);
    return in != item.negated;
}

// can[i][j]: items from i on match the text from j on.
bool plainMatch(const QString& text, const QString& pattern, QChar escape) {
    const QVector<uint> t = text.toCaseFolded().toUcs4();
    const QVector<Item> p = parse(pattern.toCaseFolded().toUcs4(), escape.toCaseFolded().unicode());
    QVector<QVector<char>> can(p.size() + 1, QVector<char>(t.size() + 1, 0));
    can[p.size()][t.size()] = 1;
    for (int i = p.size() - 1; i >= 0; --i)
        for (int j = t.size(); j >= 0; --j) {
            switch (p[i].kind) {
                case Item::Run:
                    can[i][j] = can[i + 1][j] || (j < t.size() && can[i][j + 1]);
                    break;
                case Item::Empty:
                    can[i][j] = can[i + 1][j];
                    break;
                case Item::One:
                    can[i][j] = j < t.size() && can[i + 1][j + 1];
                    break;
                case Item::Set:
                    can[i][j] = j < t.size() && inSet(p[i], t[j]) && can[i + 1][j + 1];
                    break;
            }
        }
    return can[0][0];
}

QString escaped(QString s) {
    s.replace(QLatin1Char('['), QStringLiteral("[[]"));
    s.replace(QLatin1Char('_'), QStringLiteral("[_]"));
    s.replace(QLatin1Char('%'), QStringLiteral("[%]"));
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 512)  // the matcher of the rules takes time and memory of text times pattern
        return 0;
    const QList<QByteArray> parts = fuzz::bytesOf(data, size).split('\0');
    const QString text = QString::fromUtf8(parts.value(0));
    const QString pattern = QString::fromUtf8(parts.value(1));
    const QString escapeText = QString::fromUtf8(parts.value(2));
    const QChar escape = escapeText.isEmpty() ? QChar() : escapeText.front();

    FUZZ_CHECK(JetLike::match(text, pattern, escape) == plainMatch(text, pattern, escape),
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
