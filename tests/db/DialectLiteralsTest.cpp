// Values as SQL literals in both dialects: GetSqlVal, Get_LikeStr, Get_DateStr.
#include <QPointF>
#include <QStringList>

#include "DbFixture.h"

namespace ztgl::test {
namespace {

const QDateTime kMarch5(QDate(2024, 3, 5), QTime(14, 7, 9));

class DialectLiterals : public DbFixture {};

struct LiteralCase {
    const char* name;
    QVariant value;
    QString expected;
};
void PrintTo(const LiteralCase& c, std::ostream* os) {
    *os << c.name;
}

// Plain literals (isLike false), the same in both dialects.
class PlainLiteralTest : public DbFixture, public ::testing::WithParamInterface<LiteralCase> {};

TEST_P(PlainLiteralTest, RendersTheValue) {
    for (const QString& kind : {kAccess, kSqlServer}) {
        gDBType = kind;
        EXPECT_EQ(GetSqlVal(GetParam().value, false, QStringLiteral("[Drop]"), QStringLiteral("[Drop]")),
                  GetParam().expected)
            << kind.toStdString();
    }
    expectNoMessages();
}

INSTANTIATE_TEST_SUITE_P(
    Types, PlainLiteralTest,
    ::testing::Values(
        LiteralCase{"Empty", QVariant(), QStringLiteral("null")},
        LiteralCase{"NullText", QVariant(QMetaType::fromType<QString>()), QStringLiteral("null")},
        LiteralCase{"NullNumber", QVariant(QMetaType::fromType<int>()), QStringLiteral("null")},
        LiteralCase{"NullDate", QVariant(QMetaType::fromType<QDateTime>()), QStringLiteral("null")},
        LiteralCase{"Int", QVariant(42), QStringLiteral("42")},
        LiteralCase{"NegativeInt", QVariant(-7), QStringLiteral("-7")},
        LiteralCase{"Short", QVariant::fromValue<short>(-32768), QStringLiteral("-32768")},
        LiteralCase{"Byte", QVariant::fromValue<uchar>(255), QStringLiteral("255")},
        LiteralCase{"UInt", QVariant(4000000000u), QStringLiteral("4000000000")},
        LiteralCase{"LongLong", QVariant(Q_INT64_C(1234567890123)), QStringLiteral("1234567890123")},
        LiteralCase{"DoubleHalf", QVariant(1.5), QStringLiteral("1.5")},
        LiteralCase{"DoubleWhole", QVariant(100.0), QStringLiteral("100")},
        LiteralCase{"DoubleTenth", QVariant(0.1), QStringLiteral("0.1")},
        LiteralCase{"DoubleNegative", QVariant(-2.25), QStringLiteral("-2.25")},
        LiteralCase{"DoubleZero", QVariant(0.0), QStringLiteral("0")},
        LiteralCase{"DoubleMinusZero", QVariant(-0.0), QStringLiteral("0")},
        LiteralCase{"DoubleMoney", QVariant(12345.6789), QStringLiteral("12345.6789")},
        LiteralCase{"DoubleLarge", QVariant(123456789012345.0), QStringLiteral("123456789012345")},
        LiteralCase{"DoubleHuge", QVariant(1e20), QStringLiteral("1E+20")},
        LiteralCase{"DoubleTiny", QVariant(1e-5), QStringLiteral("1E-05")},
        LiteralCase{"DoubleSmallPlain", QVariant(0.0001), QStringLiteral("0.0001")},
        LiteralCase{"FloatTenth", QVariant(0.1f), QStringLiteral("0.1")},
        LiteralCase{"FloatHalf", QVariant(2.5f), QStringLiteral("2.5")},
        LiteralCase{"True", QVariant(true), QStringLiteral("1")},
        LiteralCase{"False", QVariant(false), QStringLiteral("0")},
        LiteralCase{"ZeroDateTime", QVariant(QDateTime(QDate(1899, 12, 30), QTime(0, 0))),
                    QStringLiteral("null")},
        LiteralCase{"ZeroDate", QVariant(QDate(1899, 12, 30)), QStringLiteral("null")},
        LiteralCase{"Midnight", QVariant(QTime(0, 0)), QStringLiteral("null")},
        LiteralCase{"InvalidDateTime", QVariant(QDateTime()), QStringLiteral("null")},
        LiteralCase{"TextTrimmedQuotesDoubled", QVariant(QStringLiteral(" O'Brien ")),
                    QStringLiteral("'O''Brien'")},
        LiteralCase{"TextOnlyBlanksAreTrimmed", QVariant(QStringLiteral("\ta b\t ")),
                    QStringLiteral("'\ta b\t'")},
        LiteralCase{"TextEmpty", QVariant(QStringLiteral("")), QStringLiteral("''")},
        LiteralCase{"TextBlank", QVariant(QStringLiteral("   ")), QStringLiteral("''")},
        LiteralCase{"TextChinese", QVariant(QStringLiteral(" 北京商贸 ")), QStringLiteral("'北京商贸'")},
        LiteralCase{"TextWildcardsKept", QVariant(QStringLiteral("50%_[a]")), QStringLiteral("'50%_[a]'")},
        LiteralCase{"TextTwoQuotes", QVariant(QStringLiteral("''")), QStringLiteral("''''''")},
        LiteralCase{"ByteArrayIsOther", QVariant(QByteArray("abc")), QString()},
        LiteralCase{"PointIsOther", QVariant(QPointF(1, 2)), QString()},
        LiteralCase{"ListIsOther", QVariant(QStringList{QStringLiteral("a")}), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialectLiterals, GetSqlValDefaultsArePlainLiterals) {
    EXPECT_EQ(GetSqlVal(QStringLiteral(" it's ")), QStringLiteral("'it''s'"));
    EXPECT_EQ(GetSqlVal(QStringLiteral("a%"), false, QStringLiteral("%"), QStringLiteral("Both")),
              QStringLiteral("'a%'"))
        << "wildcard and mode only count for LIKE";
}

struct DateCase {
    const char* name;
    QString kind;
    QVariant value;
    QString expected;
};
void PrintTo(const DateCase& c, std::ostream* os) {
    *os << c.name;
}

class DateLiteralTest : public DbFixture, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DateLiteralTest, UsesTheDelimiterOfTheKind) {
    gDBType = GetParam().kind;
    EXPECT_EQ(GetSqlVal(GetParam().value), GetParam().expected);
    expectNoMessages();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DateLiteralTest,
    ::testing::Values(
        DateCase{"SqlServer", kSqlServer, QVariant(kMarch5), QStringLiteral("'2024-03-05 14:07:09'")},
        DateCase{"Access", kAccess, QVariant(kMarch5), QStringLiteral("#2024-03-05 14:07:09#")},
        DateCase{"AccessDateOnly", kAccess, QVariant(QDate(2024, 3, 5)),
                 QStringLiteral("#2024-03-05 00:00:00#")},
        DateCase{"AccessTimeOfDay", kAccess, QVariant(QTime(8, 30, 5)), QStringLiteral("#08:30:05#")},
        DateCase{"SqlServerMillisecondsDropped", kSqlServer,
                 QVariant(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59, 999))),
                 QStringLiteral("'2024-12-31 23:59:59'")},
        DateCase{"SqlServerOld", kSqlServer, QVariant(QDateTime(QDate(1900, 1, 1), QTime(0, 0))),
                 QStringLiteral("'1900-01-01'")},
        DateCase{"UnknownKind", QStringLiteral("[microsoft access]"), QVariant(kMarch5), QString()},
        DateCase{"UnknownKindZeroIsStillNull", QString(), QVariant(QDate(1899, 12, 30)),
                 QStringLiteral("null")}),
    [](const auto& info) { return std::string(info.param.name); });

struct LikeCase {
    const char* name;
    QString value, wildcard, mode, expected;
};
void PrintTo(const LikeCase& c, std::ostream* os) {
    *os << c.name;
}

class LikeLiteralTest : public DbFixture, public ::testing::WithParamInterface<LikeCase> {};

TEST_P(LikeLiteralTest, BuildsThePattern) {
    const LikeCase& c = GetParam();
    EXPECT_EQ(GetSqlVal(c.value, true, c.wildcard, c.mode), c.expected);
    expectNoMessages();
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LikeLiteralTest,
    ::testing::Values(LikeCase{"Both", QStringLiteral("50%_a"), QStringLiteral("%"), QStringLiteral("Both"),
                               QStringLiteral(" like '%50[%][_]a%'")},
                      LikeCase{"DropInSmallLetters", QStringLiteral("a[b"), QStringLiteral("[drop]"),
                               QStringLiteral("Both"), QStringLiteral("'a[[]b'")},
                      LikeCase{"DropBeatsMode", QStringLiteral(" x "), QStringLiteral("[Drop]"),
                               QStringLiteral("Start"), QStringLiteral("'x'")},
                      LikeCase{"Start", QStringLiteral(" 北京 "), QStringLiteral("%"),
                               QStringLiteral("Start"), QStringLiteral(" like '%北京'")},
                      LikeCase{"End", QStringLiteral("abc"), QStringLiteral("%"), QStringLiteral("End"),
                               QStringLiteral(" like 'abc%'")},
                      LikeCase{"ModeInOtherCase", QStringLiteral("abc"), QStringLiteral("%"),
                               QStringLiteral("bOTH"), QStringLiteral(" like '%abc%'")},
                      LikeCase{"ModeStartCapitals", QStringLiteral("abc"), QStringLiteral("*"),
                               QStringLiteral("START"), QStringLiteral(" like '*abc'")},
                      LikeCase{"WildcardOfSeveralCharacters", QStringLiteral("abc"), QStringLiteral("%_"),
                               QStringLiteral("End"), QStringLiteral(" like 'abc%_'")},
                      LikeCase{"OtherMode", QStringLiteral("abc"), QStringLiteral("%"),
                               QStringLiteral("Middle"), QStringLiteral("'abc'")},
                      LikeCase{"EmptyMode", QStringLiteral("abc"), QStringLiteral("%"), QString(),
                               QStringLiteral("'abc'")},
                      LikeCase{"QuoteDoubledOnce", QStringLiteral("it's"), QStringLiteral("%"),
                               QStringLiteral("Both"), QStringLiteral(" like '%it''s%'")},
                      LikeCase{"EmptyValue", QStringLiteral("  "), QStringLiteral("%"),
                               QStringLiteral("Both"), QStringLiteral(" like '%%'")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialectLiterals, LikeOnlyAppliesToText) {
    EXPECT_EQ(GetSqlVal(QVariant(5), true, QStringLiteral("%"), QStringLiteral("Both")), QStringLiteral("5"));
    EXPECT_EQ(GetSqlVal(QVariant(), true, QStringLiteral("%"), QStringLiteral("Both")),
              QStringLiteral("null"));
}

TEST_F(DialectLiterals, GetLikeStrEscapesInOrder) {
    const struct {
        QString in, out;
    } rows[] = {
        {QStringLiteral("  a'b[c]_d%e  "), QStringLiteral("a''b[[]c][_]d[%]e")},
        {QStringLiteral("_"), QStringLiteral("[_]")},
        {QStringLiteral("%"), QStringLiteral("[%]")},
        {QStringLiteral("["), QStringLiteral("[[]")},
        {QStringLiteral("]"), QStringLiteral("]")},
        {QStringLiteral("[_%]"), QStringLiteral("[[][_][%]]")},
        {QStringLiteral("\tx\t"), QStringLiteral("\tx\t")},
        {QString(), QString()},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Get_LikeStr(r.in), r.out) << r.in.toStdString();
}

struct DateStrCase {
    const char* name;
    QString kind;
    QDateTime date;
    int mode;
    QString expected;
};
void PrintTo(const DateStrCase& c, std::ostream* os) {
    *os << c.name;
}

class DateStrTest : public DbFixture, public ::testing::WithParamInterface<DateStrCase> {};

TEST_P(DateStrTest, FormatsByMode) {
    gDBType = GetParam().kind;
    EXPECT_EQ(Get_DateStr(GetParam().date, GetParam().mode), GetParam().expected);
    expectNoMessages();
}

const QDateTime kDayZeroTime(QDate(1899, 12, 30), QTime(14, 7, 9));

INSTANTIATE_TEST_SUITE_P(
    Modes, DateStrTest,
    ::testing::Values(
        DateStrCase{"AccessYearMonth", kAccess, QDateTime(QDate(2024, 3, 5), QTime(0, 0)), 1,
                    QStringLiteral("#2024-03#")},
        DateStrCase{"AccessDate", kAccess, kMarch5, 2, QStringLiteral("#2024-03-05#")},
        DateStrCase{"AccessTime", kAccess, kMarch5, 3, QStringLiteral("#14:07:09#")},
        DateStrCase{"AccessWhole", kAccess, kMarch5, 0, QStringLiteral("#2024-03-05 14:07:09#")},
        DateStrCase{"AccessOtherMode", kAccess, kMarch5, 9, QStringLiteral("#2024-03-05 14:07:09#")},
        DateStrCase{"AccessNegativeMode", kAccess, kMarch5, -1, QStringLiteral("#2024-03-05 14:07:09#")},
        DateStrCase{"SqlServerYearMonth", kSqlServer, kMarch5, 1, QStringLiteral("'2024-03'")},
        DateStrCase{"SqlServerDate", kSqlServer, kMarch5, 2, QStringLiteral("'2024-03-05'")},
        DateStrCase{"SqlServerTime", kSqlServer, QDateTime(QDate(2024, 3, 5), QTime(0, 0, 1)), 3,
                    QStringLiteral("'00:00:01'")},
        DateStrCase{"SqlServerMidnightKeepsTime", kSqlServer, QDateTime(QDate(2024, 3, 5), QTime(0, 0)), 0,
                    QStringLiteral("'2024-03-05 00:00:00'")},
        DateStrCase{"Year1901IsLong", kSqlServer, QDateTime(QDate(1901, 1, 1), QTime(0, 0)), 0,
                    QStringLiteral("'1901-01-01 00:00:00'")},
        DateStrCase{"Year1900DateAlone", kAccess, QDateTime(QDate(1900, 12, 31), QTime(0, 0)), 0,
                    QStringLiteral("#1900-12-31#")},
        DateStrCase{"Year1900WithTime", kAccess, QDateTime(QDate(1900, 1, 1), QTime(8, 30)), 0,
                    QStringLiteral("#1900-01-01 08:30:00#")},
        DateStrCase{"DayZeroTimeAlone", kAccess, kDayZeroTime, 0, QStringLiteral("#14:07:09#")},
        DateStrCase{"DayZeroMidnight", kSqlServer, QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0,
                    QStringLiteral("'00:00:00'")},
        DateStrCase{"DayZeroAsDate", kAccess, kDayZeroTime, 2, QStringLiteral("#1899-12-30#")},
        DateStrCase{"DayZeroAsTime", kAccess, kDayZeroTime, 3, QStringLiteral("#14:07:09#")},
        DateStrCase{"UnknownKind", QStringLiteral("[Microsoft SQL Server] "), kMarch5, 0, QString()},
        DateStrCase{"EmptyKind", QString(), kMarch5, 2, QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialectLiterals, GetDateStrReportsAnInvalidDate) {
    gDBType = kAccess;
    EXPECT_EQ(Get_DateStr(QDateTime(), 0), QString());
    expectOneReport(QStringLiteral("Get_DateStr():类型不匹配"));
}

TEST_F(DialectLiterals, ZeroDateTimeIsDayZeroAtMidnight) {
    EXPECT_EQ(ZeroDateTime().date(), QDate(1899, 12, 30));
    EXPECT_EQ(ZeroDateTime().time(), QTime(0, 0));
    EXPECT_EQ(GetSqlVal(ZeroDateTime()), QStringLiteral("null"));
}

}  // namespace
}  // namespace ztgl::test
