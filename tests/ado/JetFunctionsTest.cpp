#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDateTime>
#include <cmath>

#include "JetTestDatabase.h"
#include "ado/Connection.h"
#include "ado/JetFunctions.h"
#include "ado/Recordset.h"
#include "platform/RuntimeError.h"

using ado::JetFunctions;
using ztgl::RuntimeError;

namespace {

int errorNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(JetFunctions, ClngRoundsHalvesToEven) {
    const struct {
        QVariant in;
        qlonglong out;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {-2.6, -3},
        {qlonglong(7), 7},
        {QStringLiteral(" 12 "), 12},
        {QStringLiteral("10"), 10},
        {QStringLiteral("2.5"), 2},
        {QStringLiteral("-3.5"), -4},
        {QStringLiteral("1,234"), 1234},
        {QStringLiteral("1e3"), 1000},
        {QStringLiteral("&H1F"), 31},
        {QStringLiteral("True"), -1},
        {2147483647.4, 2147483647},
        {-2147483648.0, -2147483648LL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JetFunctions::clng(c.in).toLongLong(), c.out) << c.in.toString().toStdString();
}

TEST(JetFunctions, ClngOfNullIsNullAndBadValuesAreErrors) {
    EXPECT_FALSE(JetFunctions::clng(QVariant()).isValid());
    for (const QVariant& bad :
         {QVariant(QStringLiteral("abc")), QVariant(QString()), QVariant(QStringLiteral("1 2")),
          QVariant(QStringLiteral("2024-03-05")), QVariant(QByteArray("x"))})
        EXPECT_EQ(errorNumber([&] { JetFunctions::clng(bad); }), 3464) << bad.toString().toStdString();
    for (const QVariant& big : {QVariant(2147483647.5), QVariant(qlonglong(2147483648LL)),
                                QVariant(-2147483648.6), QVariant(QStringLiteral("1e300"))})
        EXPECT_EQ(errorNumber([&] { JetFunctions::clng(big); }), RuntimeError::Overflow)
            << big.toString().toStdString();
}

TEST(JetFunctions, CintHasTheRangeOfA16BitInteger) {
    EXPECT_EQ(JetFunctions::cint(32767.4).toLongLong(), 32767);
    EXPECT_EQ(JetFunctions::cint(-32768.0).toLongLong(), -32768);
    EXPECT_EQ(JetFunctions::cint(6.5).toLongLong(), 6);
    EXPECT_EQ(errorNumber([] { JetFunctions::cint(32767.5); }), RuntimeError::Overflow);
}

TEST(JetFunctions, TextAndOtherConversions) {
    EXPECT_DOUBLE_EQ(JetFunctions::cdbl(QStringLiteral(" 1.25 ")).toDouble(), 1.25);
    EXPECT_FALSE(JetFunctions::cdbl(QVariant()).isValid());
    EXPECT_EQ(JetFunctions::cstr(qlonglong(42)).toString(), QStringLiteral("42"));
    EXPECT_EQ(JetFunctions::cstr(2.0).toString(), QStringLiteral("2"));
    EXPECT_EQ(JetFunctions::cstr(0.1).toString(), QStringLiteral("0.1"));
    EXPECT_EQ(JetFunctions::ucase(QStringLiteral("abc中")).toString(), QStringLiteral("ABC中"));
    EXPECT_EQ(JetFunctions::lcase(QStringLiteral("ABC")).toString(), QStringLiteral("abc"));
    EXPECT_EQ(JetFunctions::len(QStringLiteral("帐套ab")).toLongLong(), 4);
    EXPECT_FALSE(JetFunctions::len(QVariant()).isValid());
    EXPECT_EQ(JetFunctions::iif(qlonglong(1), QStringLiteral("y"), QStringLiteral("n")).toString(),
              QStringLiteral("y"));
    EXPECT_EQ(JetFunctions::iif(qlonglong(0), QStringLiteral("y"), QStringLiteral("n")).toString(),
              QStringLiteral("n"));
    EXPECT_EQ(JetFunctions::iif(QVariant(), QStringLiteral("y"), QStringLiteral("n")).toString(),
              QStringLiteral("n"));
    EXPECT_EQ(errorNumber([] { JetFunctions::iif(QStringLiteral("x"), 1, 2); }), 3464);
    EXPECT_EQ(JetFunctions::nz(QVariant(), qlonglong(0)).toLongLong(), 0);
    EXPECT_EQ(JetFunctions::nz(QVariant(), QVariant()).toString(), QString());
    EXPECT_EQ(JetFunctions::nz(QStringLiteral("v"), qlonglong(0)).toString(), QStringLiteral("v"));
}

TEST(JetFunctions, NowAndDateAreStoredDateTexts) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime now = QDateTime::fromString(JetFunctions::now(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(now.isValid());
    EXPECT_LE(before.secsTo(now), 3);
    EXPECT_GE(before.secsTo(now), 0);
    EXPECT_EQ(JetFunctions::date(),
              QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00"));
}

TEST(JetFunctions, WorkInsideStatements) {
    ztgl::test::JetTestDatabase db;
    ado::Connection conn;
    conn.setConnectionString(db.connectionString());
    conn.Open();
    const struct {
        const char* sql;
        const char* text;  // Field::text() of the only value
    } cases[] = {
        {"select clng(2.5)", "2"},
        {"select clng('3.5')", "4"},
        {"select cint(-2.5)", "-2"},
        {"select cdbl('1.5') * 2", "3"},
        {"select cstr(12) || 'x'", "12x"},
        {"select ucase('abc') || lcase('DEF')", "ABCdef"},
        {"select len('帐套')", "2"},
        {"select iif(1 = 1, 'yes', 'no')", "yes"},
        {"select nz(null, 'empty')", "empty"},
        {"select nz(null)", ""},
        {"select clng(null) is null", "1"},
        {"select trim('  a b  ')", "a b"},
        {"select 'ABC' like 'a%'", "1"},
        {"select 'a_c' like 'a!_c' escape '!'", "1"},
        {"select date('2024-03-05', '+1 day')", "2024-03-06"},  // the engine's own date() stays
        {"SELECT CLNG(IIF(1=1, '7', '8')) + 1", "8"},
    };
    for (const auto& c : cases) {
        ado::Recordset rs;
        rs.Open(QString::fromUtf8(c.sql), conn);
        ASSERT_FALSE(rs.Eof()) << c.sql;
        EXPECT_EQ(rs.Fields(0).text(), QString::fromUtf8(c.text)) << c.sql;
    }
}
