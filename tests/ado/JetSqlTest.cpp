// The embedded engine's reading of Jet statements: the rewriting of dates, texts and "&" (JetSql), LIKE
// patterns (JetLike), declared and stored types (JetTypes) and Jet's functions (JetFunctions).
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDateTime>

#include "JetTestDatabase.h"
#include "RuntimeErrorOf.h"
#include "ado/DataType.h"
#include "ado/JetFunctions.h"
#include "ado/JetLike.h"
#include "ado/JetSql.h"
#include "ado/JetTypes.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;
using namespace ado;

using ztgl::RuntimeError;
using ztgl::test::errorOf;

namespace {

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TEST(JetSqlRewrite, DatesDoubleQuotedTextsAndAmpersandsBecomeTheEngines) {
    // clang-format off
    const struct { const char *in, *out; } cases[] = {
        {"select * from T where D = #2024-03-05 14:07:09#", "select * from T where D = '2024-03-05 14:07:09'"},
        {"where D >= #2024-03-05#", "where D >= '2024-03-05 00:00:00'"}, {"where D like #2024-03#", "where D like '2024-03-01 00:00:00'"},
        {"values(#3/5/2024#)", "values('2024-03-05 00:00:00')"}, {"values(#3/5/24 2:07:09 PM#)", "values('2024-03-05 14:07:09')"},
        {"values(#12:00:00 AM#)", "values('1899-12-30 00:00:00')"}, {"values(#14:07:09#)", "values('1899-12-30 14:07:09')"},
        {"values(#2024/3/5 8:05#)", "values('2024-03-05 08:05:00')"},
        {"between #2024-01-01# and #2024-12-31 23:59:59#", "between '2024-01-01 00:00:00' and '2024-12-31 23:59:59'"},
        // Not a date literal: inside quotes and names nothing changes.
        {"values('#1#', [a#b], `c#d`)", "values('#1#', [a#b], `c#d`)"}, {"values('it''s #x#')", "values('it''s #x#')"}, {"no literals", "no literals"},
        // Double-quoted text becomes single-quoted text.
        {R"(where A = "abc")", R"(where A = 'abc')"}, {R"(where A = "it's")", R"(where A = 'it''s')"},
        {R"(where A = "say ""hi""")", R"(where A = 'say "hi"')"}, {R"(where A = '"quoted"')", R"(where A = '"quoted"')"},
        {R"(DEFAULT "中文")", R"(DEFAULT '中文')"}, {R"(where A = "")", R"(where A = '')"},
        {"select A & '-' & B from T where C = 'x&y'", "select A || '-' || B from T where C = 'x&y'"},
        // Unclosed quotes are left for the engine to report.
        {"select 'abc #1# from T", "select 'abc #1# from T"}, {"select [abc from T", "select [abc from T"},
        {"select \"abc from T", "select \"abc from T"}, {"", ""},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(JetSql::rewrite(s(c.in)), s(c.out)) << c.in;
    for (const char* bad :
         {"#2024-02-30#", "#2024-13-01#", "#yesterday#", "#25:00#", "#13:00 PM#", "#2024-03-05"}) {
        const RuntimeError e = errorOf([&] { JetSql::rewrite(u"select * from T where D = "_s + s(bad)); });
        EXPECT_EQ(e.number(), 3075) << bad;
        EXPECT_EQ(e.description(), u"查询表达式“%1”中日期的语法错误。"_s.arg(s(bad)));
    }
}

TEST(JetLike, MatchesJetPatterns) {
    // clang-format off
    const struct { const char *pattern, *matching, *other; char escape = 0; } cases[] = {  // texts separated by "|"
        {"abc", "abc", ""}, {"ABC", "abc", ""}, {"a%", "ABC", ""}, {"%c", "abc", ""}, {"%b%", "abc", ""}, {"%d%", "", "abc"},
        {"a_c", "abc", "ac|abbc"}, {"", "", "a"}, {"a%b%c", "aXbXc", "aXbXd"}, {"%iss%ppi", "mississippi", ""}, {"m%s%s%s%s%s%", "", "mississippi"},
        // Escaped wildcards as GetSqlVal writes them.
        {"50[%][_]a", "50%_a", "50xya"}, {"a[[]b", "a[b", "ab"}, {"%50[%]%", "50% off", ""},
        // Sets, ranges and negated sets; an unclosed "[" stands for itself.
        {"[abc]", "b|B", "d"}, {"[a-z]", "m|M", "5"}, {"[!a-z]", "5", "x"}, {"a[-]", "a-", ""}, {"[ab", "[ab", "xab"},
        // Chinese text; full-width letters fold too.
        {"帐套%", "帐套管理", "管理帐套"}, {"%管_", "帐套管理", ""}, {"ａ", "Ａ", ""},
        // An escape character makes the next one literal.
        {"100\\%", "100%", "1000", '\\'}, {"a!_b", "a_b", "axb", '!'},
    };
    // clang-format on
    for (const auto& c : cases)
        for (const bool match : {true, false})
            for (const QString& text :
                 s(match ? c.matching : c.other).split(QLatin1Char('|'), Qt::SkipEmptyParts))
                EXPECT_EQ(JetLike::match(text, s(c.pattern), QLatin1Char(c.escape)), match)
                    << text.toStdString() << " like " << c.pattern;
    // The empty text.
    EXPECT_TRUE(JetLike::match(QString(), u"%"_s));
    EXPECT_TRUE(JetLike::match(QString(), QString()));
    EXPECT_FALSE(JetLike::match(QString(), u"_"_s));
    // Back-tracking only to the last "%" keeps long texts quick; a naive matcher would not finish.
    const QString text = QString(2000, QLatin1Char('a'));
    EXPECT_FALSE(JetLike::match(text, u"%a%a%a%a%a%a%a%a%a%a%b"_s));
    EXPECT_TRUE(JetLike::match(text + QLatin1Char('b'), u"%a%a%a%a%a%a%a%a%a%a%b"_s));
}

TEST(JetTypes, DeclaredTypesGiveAdoCodesAndExpressionsAreTypedByTheirValue) {
    // clang-format off
    const struct { int type; qint64 size; bool autoIncrement; const char* declared; } cases[] = {  // declared: separated by "|"
        {adVarWChar, 10, false, "TEXT(10)|text (10)"}, {adVarWChar, 255, false, "VARCHAR(255)|TEXT"}, {adWChar, 4, false, "CHAR(4)"},
        {adLongVarWChar, 536870910, false, "MEMO|MEMO TEXT|LONGTEXT"}, {adInteger, 4, false, "LONG|INTEGER"}, {adSmallInt, 2, false, "SHORT|SMALLINT"},
        {adUnsignedTinyInt, 1, false, "BYTE"}, {adSingle, 4, false, "SINGLE|REAL"}, {adDouble, 8, false, "DOUBLE|FLOAT"},
        {adCurrency, 8, false, "CURRENCY|MONEY"}, {adDate, 8, false, "DATETIME|DATE"}, {adBoolean, 2, false, "BIT|YESNO"},
        {adGUID, 16, false, "GUID"}, {adNumeric, 16, false, "DECIMAL(18,4)|NUMERIC"}, {adLongVarBinary, 1073741823, false, "LONGBINARY|OLEOBJECT"},
        {adInteger, 4, true, "COUNTER|AUTOINCREMENT|AUTOINCREMENT(100, 5)"},
        // Names Jet does not know follow the engine's affinity rules.
        {adInteger, 4, false, "MEDIUMINT"}, {adVarWChar, 255, false, "NATIVE CHARACTER(70)|CLOB"}, {adDouble, 8, false, "WHATEVER"}, {0, 0, false, ""},
    };
    // clang-format on
    for (const auto& c : cases)
        for (const QString& declared : s(c.declared).split(QLatin1Char('|'))) {
            const JetColumnType t = JetTypes::fromDeclared(declared);
            EXPECT_EQ(t.type, c.type) << declared.toStdString();
            EXPECT_EQ(t.definedSize, c.size) << declared.toStdString();
            EXPECT_EQ(t.autoIncrement, c.autoIncrement) << declared.toStdString();
        }
    // Only the full stored form counts as a date: a plain text that looks like a day stays text.
    // clang-format off
    const struct { QVariant value; int type; } values[] = {
        {qlonglong(10), adInteger}, {qlonglong(1) << 40, adBigInt}, {1.5, adDouble}, {u"2024-03-05 14:07:09"_s, adDate},
        {u"2024-03-05"_s, adVarWChar}, {u"2024-13-45 99:00:00"_s, adVarWChar}, {QByteArray("x"), adLongVarBinary}, {QVariant(), adVarWChar}};
    // clang-format on
    for (const auto& v : values)
        EXPECT_EQ(JetTypes::fromValue(v.value).type, v.type) << v.value.toString().toStdString();
    EXPECT_EQ(JetTypes::fromValue(u"abc"_s).definedSize, 255);
}

TEST(JetTypes, StoredValuesComeBackTyped) {
    const QDateTime dt(QDate(2024, 3, 5), QTime(14, 7, 9));
    // clang-format off
    const struct { int type; QVariant stored, field; } cases[] = {
        {adInteger, qlonglong(5), 5}, {adInteger, u" 12"_s, 12}, {adBigInt, qlonglong(1) << 40, qlonglong(1) << 40}, {adInteger, 3.0, 3},
        {adInteger, u"abc"_s, u"abc"_s}, /* kept as stored */ {adSmallInt, qlonglong(-2), -2}, {adDouble, qlonglong(2), 2.0}, {adCurrency, u"1.25"_s, 1.25},
        {adDate, u"2024-03-05 14:07:09"_s, dt}, {adDate, u"2024-03-05"_s, QDateTime(QDate(2024, 3, 5), QTime(0, 0))}, {adDate, u"2024-03-05T14:07:09"_s, dt},
        {adDate, u"14:07:09"_s, QDateTime(QDate(1899, 12, 30), QTime(14, 7, 9))}, {adDate, 45356.5, QDateTime(QDate(2024, 3, 5), QTime(12, 0))},
        {adDate, -1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))}, {adDate, u"not a date"_s, u"not a date"_s},
        {adBoolean, qlonglong(1), true}, {adBoolean, qlonglong(-1), true}, {adBoolean, qlonglong(0), false}, {adBoolean, u"True"_s, true}, {adBoolean, u"0"_s, false},
        {adVarWChar, qlonglong(7), u"7"_s}, {adVarWChar, u"中文"_s, u"中文"_s}, {adLongVarWChar, 1.5, u"1.5"_s},
        {adLongVarBinary, QByteArray("\x01\x02"), QByteArray("\x01\x02")},
    };
    // clang-format on
    for (const auto& c : cases) {
        const QVariant v = JetTypes::toFieldValue(c.type, c.stored);
        EXPECT_EQ(v.typeId(), c.field.typeId()) << c.type << " " << c.stored.toString().toStdString();
        EXPECT_EQ(v, c.field) << c.type << " " << c.stored.toString().toStdString();
    }
    EXPECT_FALSE(JetTypes::toFieldValue(adInteger, QVariant()).isValid());
    EXPECT_FALSE(JetTypes::toFieldValue(adDate, QVariant()).isValid());
}

TEST(JetFunctions, ClngRoundsHalvesToEvenNullIsNullAndBadValuesAndOverflowsAreErrors) {
    // clang-format off
    const struct { QVariantList in; qlonglong out; } cases[] = {
        {{0.5, -0.5}, 0}, {{1.5, 2.5, 2.4999, u"2.5"_s}, 2}, {{3.5}, 4}, {{-1.5, -2.5}, -2}, {{2.5001}, 3}, {{-2.6}, -3}, {{u"-3.5"_s}, -4},
        {{qlonglong(7)}, 7}, {{u" 12 "_s}, 12}, {{u"10"_s}, 10}, {{u"1,234"_s}, 1234}, {{u"1e3"_s}, 1000}, {{u"&H1F"_s}, 31}, {{u"True"_s}, -1},
        {{2147483647.4}, 2147483647}, {{-2147483648.0}, -2147483648LL},
    };
    // clang-format on
    for (const auto& c : cases)
        for (const QVariant& in : c.in)
            EXPECT_EQ(JetFunctions::clng(in).toLongLong(), c.out) << in.toString().toStdString();
    EXPECT_FALSE(JetFunctions::clng(QVariant()).isValid());
    for (const QVariant& bad : {QVariant(u"abc"_s), QVariant(QString()), QVariant(u"1 2"_s),
                                QVariant(u"2024-03-05"_s), QVariant(QByteArray("x"))})
        EXPECT_EQ(errorOf([&] { JetFunctions::clng(bad); }).number(), 3464) << bad.toString().toStdString();
    for (const QVariant& big : {QVariant(2147483647.5), QVariant(qlonglong(2147483648LL)),
                                QVariant(-2147483648.6), QVariant(u"1e300"_s)})
        EXPECT_EQ(errorOf([&] { JetFunctions::clng(big); }).number(), RuntimeError::Overflow)
            << big.toString().toStdString();
    // cint has the range of a 16-bit integer.
    EXPECT_EQ(JetFunctions::cint(32767.4).toLongLong(), 32767);
    EXPECT_EQ(JetFunctions::cint(-32768.0).toLongLong(), -32768);
    EXPECT_EQ(JetFunctions::cint(6.5).toLongLong(), 6);
    EXPECT_EQ(errorOf([] { JetFunctions::cint(32767.5); }).number(), RuntimeError::Overflow);
    // now() and date() are stored date texts.
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime now = QDateTime::fromString(JetFunctions::now(), u"yyyy-MM-dd HH:mm:ss"_s);
    ASSERT_TRUE(now.isValid());
    EXPECT_TRUE(before.secsTo(now) >= 0 && before.secsTo(now) <= 3);
    EXPECT_EQ(JetFunctions::date(), QDate::currentDate().toString(u"yyyy-MM-dd"_s) + u" 00:00:00"_s);
}

TEST(JetFunctions, WorkInsideStatements) {
    const ztgl::test::JetTestDatabase db;
    const auto value = [&](const char* sql) { return ztgl::test::queryRows(db.connectionString(), s(sql)); };
    // clang-format off
    const struct { const char *sql, *text; } cases[] = {  // text: the only value
        {"select clng(2.5)", "2"}, {"select clng('3.5')", "4"}, {"select cint(-2.5)", "-2"}, {"select cdbl('1.5') * 2", "3"},
        {"select cstr(12) || 'x'", "12x"}, {"select ucase('abc') || lcase('DEF')", "ABCdef"}, {"select len('帐套')", "2"},
        {"select iif(1 = 1, 'yes', 'no')", "yes"}, {"select nz(null, 'empty')", "empty"}, {"select nz(null)", ""},
        {"select clng(null) is null", "1"}, {"select trim('  a b  ')", "a b"}, {"select 'ABC' like 'a%'", "1"},
        {"select 'a_c' like 'a!_c' escape '!'", "1"}, {"select date('2024-03-05', '+1 day')", "2024-03-06"},  // the engine's own date() stays
        {"SELECT CLNG(IIF(1=1, '7', '8')) + 1", "8"}, {"select cdbl(' 1.25 ')", "1.25"}, {"select cdbl(null) is null", "1"},
        {"select cstr(2.0) || '|' || cstr(0.1)", "2|0.1"}, {"select ucase('abc中')", "ABC中"}, {"select len(null) is null", "1"},
        {"select iif(0, 'y', 'n') || iif(null, 'y', 'n')", "nn"}, {"select nz('v', 0)", "v"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(value(c.sql), QStringList{s(c.text)}) << c.sql;
    EXPECT_EQ(errorOf([&] { value("select iif('x', 1, 2)"); }).number(), 3464);
}
