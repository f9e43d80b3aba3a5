#pragma once

#include <QString>
#include <QVector>

namespace ado {

struct JetToken {
    enum Kind { Word, Name, Text, Number, Symbol };
    Kind kind;
    QString text;  // a Name without its quotes or brackets; a Text as written, quotes included
    int start;     // position in the statement
    int end;       // position just past the token
    bool is(const char* word) const {
        return kind == Word && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(char c) const { return kind == Symbol && text.size() == 1 && text[0] == QLatin1Char(c); }
    bool isName() const { return kind == Word || kind == Name; }
};

// Splits a statement into tokens, skipping blanks and comments. Used where a statement's structure
// matters (table definitions), never to change what is inside quotes.
class JetLexer {
public:
    static QVector<JetToken> tokenize(const QString& sql);
    // Index of the ")" that closes the "(" at `open`; -1 when it is not closed.
    static int closingParen(const QVector<JetToken>& tokens, int open);
    // The ranges [first, last) of the items between the "(" at `open` and its ")", split at top-level commas.
    static QVector<QPair<int, int>> items(const QVector<JetToken>& tokens, int open);
};

}  // namespace ado
