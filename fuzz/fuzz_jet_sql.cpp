// The embedded engine's reading of Jet statements before the engine sees them: the lexer, the
// rewriting of #…# dates, double-quoted texts and "&" (JetSql), table definitions (JetDdl) and
// the date forms (JetDate). Input: a statement, read as UTF-8 and as UTF-16. Oracles:
// - tokens lie in order inside the statement, words and numbers are the statement's own text,
//   every "(" found closed is closed by a ")" of the same depth;
// - the only refusal of the rewriting is a bad date (3075), and the rewriting is stable: a
//   rewritten statement rewrites to itself;
// - every date literal the rewriting accepts reads back from its stored form as the same moment
//   (to the second), and stored forms read as they are written.
#include <QDateTime>

#include "FuzzSupport.h"
#include "ado/JetDate.h"
#include "ado/JetDdl.h"
#include "ado/JetLexer.h"
#include "ado/JetSql.h"
#include "platform/RuntimeError.h"

using namespace ztgl;
using namespace ado;

namespace {

void checkTokens(const QString& sql) {
    const QVector<JetToken> tokens = JetLexer::tokenize(sql);
    int previousEnd = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const JetToken& t = tokens[i];
        FUZZ_CHECK(t.start >= previousEnd && t.start < t.end && t.end <= sql.size(),
                   "tokens in order, inside");
        previousEnd = t.end;
        if (t.kind == JetToken::Word || t.kind == JetToken::Number || t.kind == JetToken::Symbol ||
            t.kind == JetToken::Text)
            FUZZ_CHECK(t.text == sql.mid(t.start, t.end - t.start), "the token is the statement's text");
        if (!t.isSymbol('('))
            continue;
        const int close = JetLexer::closingParen(tokens, i);
        FUZZ_CHECK(close < 0 || (close > i && tokens[close].isSymbol(')')), "closed by a \")\"");
        for (const auto& [first, last] : JetLexer::items(tokens, i))
            FUZZ_CHECK(first > i && first <= last && last <= close, "items inside the parentheses");
    }
}

void checkDate(const QString& literal) {
    const QDateTime dt = JetDate::fromLiteral(literal);
    if (!dt.isValid())
        return;
    const QString stored = JetDate::toStorage(dt);
    const QDateTime toSecond = dt.addMSecs(-dt.time().msec());
    FUZZ_CHECK(JetDate::fromStorage(stored) == toSecond, "a stored date reads back");
    FUZZ_CHECK(JetDate::fromLiteral(stored) == toSecond, "a stored date is a literal of the same moment");
    FUZZ_CHECK(JetSql::rewrite(QLatin1Char('#') + literal + QLatin1Char('#')) ==
                   QLatin1Char('\'') + stored + QLatin1Char('\''),
               "a date literal becomes its stored form");
}

void checkRewrite(const QString& sql) {
    QString once;
    try {
        once = JetSql::rewrite(sql);
    } catch (const RuntimeError& e) {
        FUZZ_CHECK(e.number() == 3075, "only a bad date is refused");
        return;
    }
    FUZZ_CHECK(JetSql::rewrite(once) == once, "a rewritten statement rewrites to itself");
    // Table definitions: no oracle but the sanitizers (a definition the program did not write
    // need not survive a second rewriting, "COUNTER(1,1) X" loses its stray word "X" then).
    JetDdl::constraints(JetDdl::rewrite(once).sql);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::failOnMessages();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    for (const QString& sql : {QString::fromUtf8(bytes), fuzz::utf16Of(bytes)}) {
        checkTokens(sql);
        checkRewrite(sql);
        qsizetype open = sql.indexOf(QLatin1Char('#'));
        while (open >= 0) {
            const qsizetype close = sql.indexOf(QLatin1Char('#'), open + 1);
            if (close < 0)
                break;
            checkDate(sql.mid(open + 1, close - open - 1));
            open = sql.indexOf(QLatin1Char('#'), close + 1);
        }
        checkDate(sql);
        JetDate::fromStorage(sql);
    }
    return 0;
}
