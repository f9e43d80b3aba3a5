#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "ado/JetLike.h"

using ado::JetLike;

TEST(JetLike, MatchesJetPatterns) {
    const struct {
        const char* text;
        const char* pattern;
        bool match;
    } cases[] = {
        {"abc", "abc", true},
        {"abc", "ABC", true},  // without regard to case
        {"ABC", "a%", true},
        {"abc", "%c", true},
        {"abc", "%b%", true},
        {"abc", "%d%", false},
        {"abc", "a_c", true},
        {"ac", "a_c", false},
        {"abbc", "a_c", false},
        {"", "%", true},
        {"", "", true},
        {"a", "", false},
        {"", "_", false},
        {"aXbXc", "a%b%c", true},
        {"aXbXd", "a%b%c", false},
        {"mississippi", "%iss%ppi", true},
        {"mississippi", "m%s%s%s%s%s%", false},
        // Escaped wildcards as GetSqlVal writes them.
        {"50%_a", "50[%][_]a", true},
        {"50xya", "50[%][_]a", false},
        {"a[b", "a[[]b", true},
        {"ab", "a[[]b", false},
        {"50% off", "%50[%]%", true},
        // Sets, ranges and negated sets.
        {"b", "[abc]", true},
        {"B", "[abc]", true},
        {"d", "[abc]", false},
        {"m", "[a-z]", true},
        {"M", "[a-z]", true},
        {"5", "[a-z]", false},
        {"5", "[!a-z]", true},
        {"x", "[!a-z]", false},
        {"a-", "a[-]", true},
        // An unclosed "[" stands for itself.
        {"[ab", "[ab", true},
        {"xab", "[ab", false},
        // Chinese text.
        {"帐套管理", "帐套%", true},
        {"帐套管理", "%管_", true},
        {"管理帐套", "帐套%", false},
        {"Ａ", "ａ", true},  // full-width letters fold too
    };
    for (const auto& c : cases)
        EXPECT_EQ(JetLike::match(QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)), c.match)
            << c.text << " like " << c.pattern;
}

TEST(JetLike, EscapeCharacterMakesTheNextOneLiteral) {
    EXPECT_TRUE(JetLike::match(QStringLiteral("100%"), QStringLiteral("100\\%"), QLatin1Char('\\')));
    EXPECT_FALSE(JetLike::match(QStringLiteral("1000"), QStringLiteral("100\\%"), QLatin1Char('\\')));
    EXPECT_TRUE(JetLike::match(QStringLiteral("a_b"), QStringLiteral("a!_b"), QLatin1Char('!')));
    EXPECT_FALSE(JetLike::match(QStringLiteral("axb"), QStringLiteral("a!_b"), QLatin1Char('!')));
}

TEST(JetLike, LongTextsWithManyWildcardsStayQuick) {
    // Back-tracking only to the last "%" keeps this linear in practice; a naive matcher would not finish.
    const QString text = QString(2000, QLatin1Char('a'));
    EXPECT_FALSE(JetLike::match(text, QStringLiteral("%a%a%a%a%a%a%a%a%a%a%b")));
    EXPECT_TRUE(JetLike::match(text + QLatin1Char('b'), QStringLiteral("%a%a%a%a%a%a%a%a%a%a%b")));
}
