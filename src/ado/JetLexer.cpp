#include "ado/JetLexer.h"

namespace ado {
namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}

bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

// Position just past a run quoted by `close`, a doubled closing character staying inside.
int quotedEnd(const QString& s, int from, QChar close) {
    for (int i = from + 1; i < s.size(); ++i) {
        if (s[i] != close)
            continue;
        if (close != QLatin1Char(']') && i + 1 < s.size() && s[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return s.size();
}

}  // namespace

QVector<JetToken> JetLexer::tokenize(const QString& s) {
    QVector<JetToken> out;
    int i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('-') && i + 1 < s.size() && s[i + 1] == QLatin1Char('-')) {
            while (i < s.size() && s[i] != QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('/') && i + 1 < s.size() && s[i + 1] == QLatin1Char('*')) {
            const int close = s.indexOf(QStringLiteral("*/"), i + 2);
            i = close < 0 ? s.size() : close + 2;
        } else if (c == QLatin1Char('\'')) {
            const int end = quotedEnd(s, i, c);
            out.append({JetToken::Text, s.mid(i, end - i), i, end});
            i = end;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('[')) {
            const QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : c;
            const int end = quotedEnd(s, i, close);
            QString name = s.mid(i + 1, qMax(0, end - i - 2));
            if (close != QLatin1Char(']'))
                name.replace(QString(2, close), QString(close));
            out.append({JetToken::Name, name, i, end});
            i = end;
        } else if (isWordStart(c)) {
            int end = i + 1;
            while (end < s.size() && isWordPart(s[end]))
                ++end;
            out.append({JetToken::Word, s.mid(i, end - i), i, end});
            i = end;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < s.size() && s[i + 1].isDigit())) {
            int end = i;
            while (end < s.size() && (s[end].isDigit() || s[end] == QLatin1Char('.')))
                ++end;
            if (end < s.size() && (s[end] == QLatin1Char('e') || s[end] == QLatin1Char('E'))) {
                int k = end + 1;
                if (k < s.size() && (s[k] == QLatin1Char('+') || s[k] == QLatin1Char('-')))
                    ++k;
                if (k < s.size() && s[k].isDigit()) {
                    end = k;
                    while (end < s.size() && s[end].isDigit())
                        ++end;
                }
            }
            out.append({JetToken::Number, s.mid(i, end - i), i, end});
            i = end;
        } else {
            out.append({JetToken::Symbol, QString(c), i, i + 1});
            ++i;
        }
    }
    return out;
}

int JetLexer::closingParen(const QVector<JetToken>& tokens, int open) {
    int depth = 0;
    for (int i = open; i < tokens.size(); ++i) {
        if (tokens[i].isSymbol('('))
            ++depth;
        if (tokens[i].isSymbol(')') && --depth == 0)
            return i;
    }
    return -1;
}

QVector<QPair<int, int>> JetLexer::items(const QVector<JetToken>& tokens, int open) {
    QVector<QPair<int, int>> out;
    const int close = closingParen(tokens, open);
    if (close < 0)
        return out;
    int depth = 0, first = open + 1;
    for (int i = open + 1; i < close; ++i) {
        if (tokens[i].isSymbol('('))
            ++depth;
        if (tokens[i].isSymbol(')'))
            --depth;
        if (depth == 0 && tokens[i].isSymbol(',')) {
            out.append({first, i});
            first = i + 1;
        }
    }
    if (first < close)
        out.append({first, close});
    return out;
}

}  // namespace ado
