#include "ado/JetLike.h"

#include <QVector>

namespace ado {
namespace {

struct Element {
    enum Kind { AnyRun, AnyOne, Literal, Set } kind;
    char32_t ch = 0;                            // Literal
    QVector<QPair<char32_t, char32_t>> ranges;  // Set
    bool negated = false;                       // Set

    bool matches(char32_t c) const {
        switch (kind) {
            case AnyOne:
                return true;
            case Literal:
                return c == ch;
            case Set: {
                bool in = false;
                for (const auto& r : ranges)
                    if (c >= r.first && c <= r.second)
                        in = true;
                return in != negated;
            }
            case AnyRun:
                break;
        }
        return false;
    }
};

QVector<Element> compile(const QVector<uint>& p, uint escape) {
    QVector<Element> out;
    for (int i = 0; i < p.size(); ++i) {
        const uint c = p[i];
        if (escape != 0 && c == escape && i + 1 < p.size()) {
            out.append({Element::Literal, p[++i], {}, false});
        } else if (c == '%') {
            if (out.isEmpty() || out.last().kind != Element::AnyRun)
                out.append({Element::AnyRun, 0, {}, false});
        } else if (c == '_') {
            out.append({Element::AnyOne, 0, {}, false});
        } else if (c == '[' && p.indexOf(']', i + 1) > i) {
            const int close = p.indexOf(']', i + 1);
            Element set{Element::Set, 0, {}, false};
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
            // "[]" matches nothing at all: it takes no character and is left out.
            if (!set.ranges.isEmpty() || set.negated)
                out.append(set);
            i = close;
        } else {
            out.append({Element::Literal, c, {}, false});
        }
    }
    return out;
}

}  // namespace

bool JetLike::match(const QString& text, const QString& pattern, QChar escape) {
    const QVector<uint> t = text.toCaseFolded().toUcs4();
    const QVector<Element> p = compile(pattern.toCaseFolded().toUcs4(), escape.toCaseFolded().unicode());
    // Greedy match with one back-tracking point: the last "%" seen. Every other element takes exactly one
    // character, so moving that point forward one character at a time finds a match when there is one.
    int ti = 0, pi = 0, starP = -1, starT = 0;
    while (ti < t.size()) {
        if (pi < p.size() && p[pi].kind == Element::AnyRun) {
            starP = pi++;
            starT = ti;
        } else if (pi < p.size() && p[pi].matches(t[ti])) {
            ++pi;
            ++ti;
        } else if (starP >= 0) {
            pi = starP + 1;
            ti = ++starT;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi].kind == Element::AnyRun)
        ++pi;
    return pi == p.size();
}

}  // namespace ado
