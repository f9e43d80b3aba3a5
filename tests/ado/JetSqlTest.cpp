#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "ado/JetSql.h"
#include "platform/RuntimeError.h"

using ado::JetSql;

TEST(JetSqlRewrite, DateLiteralsBecomeStoredDateText) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"select * from T where D = #2024-03-05 14:07:09#",
         "select * from T where D = '2024-03-05 14:07:09'"},
        {"select * from T where D >= #2024-03-05#", "select * from T where D >= '2024-03-05 00:00:00'"},
        {"where D like #2024-03#", "where D like '2024-03-01 00:00:00'"},
        {"values(#3/5/2024#)", "values('2024-03-05 00:00:00')"},
        {"values(#3/5/24 2:07:09 PM#)", "values('2024-03-05 14:07:09')"},
        {"values(#12:00:00 AM#)", "values('1899-12-30 00:00:00')"},
        {"values(#14:07:09#)", "values('1899-12-30 14:07:09')"},
        {"values(#2024/3/5 8:05#)", "values('2024-03-05 08:05:00')"},
        {"between #2024-01-01# and #2024-12-31 23:59:59#",
         "between '2024-01-01 00:00:00' and '2024-12-31 23:59:59'"},
        // Not a date literal: inside quotes and names nothing changes.
        {"values('#1#', [a#b], `c#d`)", "values('#1#', [a#b], `c#d`)"},
        {"values('it''s #x#')", "values('it''s #x#')"},
        {"no literals at all", "no literals at all"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JetSql::rewrite(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(JetSqlRewrite, DoubleQuotedTextBecomesSingleQuotedText) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {R"(where A = "abc")", R"(where A = 'abc')"},
        {R"(where A = "it's")", R"(where A = 'it''s')"},
        {R"(where A = "say ""hi""")", R"(where A = 'say "hi"')"},
        {R"(where A = '"quoted"')", R"(where A = '"quoted"')"},
        {R"(DEFAULT "中文")", R"(DEFAULT '中文')"},
        {R"(where A = "")", R"(where A = '')"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JetSql::rewrite(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(JetSqlRewrite, AmpersandJoinsTexts) {
    EXPECT_EQ(JetSql::rewrite(QStringLiteral("select A & '-' & B from T where C = 'x&y'")),
              QStringLiteral("select A || '-' || B from T where C = 'x&y'"));
}

TEST(JetSqlRewrite, UnclosedQuotesAreLeftForTheEngineToReport) {
    EXPECT_EQ(JetSql::rewrite(QStringLiteral("select 'abc #1# from T")),
              QStringLiteral("select 'abc #1# from T"));
    EXPECT_EQ(JetSql::rewrite(QStringLiteral("select [abc from T")), QStringLiteral("select [abc from T"));
    EXPECT_EQ(JetSql::rewrite(QStringLiteral("select \"abc from T")), QStringLiteral("select \"abc from T"));
}

TEST(JetSqlRewrite, BadDateLiteralsAreErrors) {
    for (const char* bad :
         {"#2024-02-30#", "#2024-13-01#", "#yesterday#", "#25:00#", "#13:00 PM#", "#2024-03-05"}) {
        try {
            JetSql::rewrite(QStringLiteral("select * from T where D = ") + QString::fromUtf8(bad));
            ADD_FAILURE() << bad << " was accepted";
        } catch (const ztgl::RuntimeError& e) {
            EXPECT_EQ(e.number(), 3075) << bad;
            EXPECT_EQ(e.description(),
                      QStringLiteral("查询表达式“%1”中日期的语法错误。").arg(QString::fromUtf8(bad)));
        }
    }
}
