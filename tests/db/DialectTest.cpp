// The SQL dialect helpers: literals (GetSqlVal, Get_LikeStr, Get_DateStr) in both dialects, and the
// statements and queries on the shared connection (ExecuteNonQuerySql, Get_UniqV, Get_ServerTime)
// through the scripted engine, statements recorded exactly.
#include <QStringList>

#include "DbFixture.h"
#include "ScriptedServer.h"
#include "ado/Connection.h"

using namespace Qt::StringLiterals;

namespace ztgl::test {
namespace {

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s, ms));
}

const QDateTime kMarch5 = at(2024, 3, 5, 14, 7, 9);
const QDateTime kDayZeroTime = at(1899, 12, 30, 14, 7, 9);
const QString kOther = u"[microsoft access]"_s;  // a kind neither dialect knows
using Rows = QVector<QVector<QVariant>>;

class DialectTest : public DbFixture {
protected:
    // A fresh scripted SQL Server as the manager's database, opened as gConn.
    void open() {
        Close_Connect();
        server.reset();
        server = std::make_unique<ScriptedServer>();
        gDBType = kSqlServer;
        gConnectString = u"Provider=SQLOLEDB;Initial Catalog=MAIN;Data Source=SRV"_s;
        ASSERT_EQ(Open_Connect(), 1);
        port.messages.clear();
    }
    void TearDown() override {
        DbFixture::TearDown();
        server.reset();
    }
    static void expectLocalClock(const QString& result) {
        const QDateTime t = QDateTime::fromString(result, u"yyyy-MM-dd HH:mm:ss"_s);
        ASSERT_TRUE(t.isValid()) << result.toStdString();
        EXPECT_LE(qAbs(t.secsTo(QDateTime::currentDateTime())), 60);
    }
    std::unique_ptr<ScriptedServer> server;
};

TEST_F(DialectTest, PlainLiteralsAreTheSameInBothDialects) {
    // clang-format off
    const struct { QVariant value; const char* expected; } cases[] = {
        {QVariant(), "null"}, {42, "42"}, {QVariant::fromValue<short>(-32768), "-32768"}, {QVariant::fromValue<uchar>(255), "255"},
        {4000000000u, "4000000000"}, {Q_INT64_C(1234567890123), "1234567890123"}, {1.5, "1.5"}, {100.0, "100"}, {0.1, "0.1"}, {-0.0, "0"},
        {123456789012345.0, "123456789012345"}, {1e20, "1E+20"}, {1e-5, "1E-05"}, {0.0001, "0.0001"}, {0.1f, "0.1"}, {true, "1"}, {false, "0"},
        {u" O'Brien "_s, "'O''Brien'"}, {u"\ta b\t "_s, "'\ta b\t'"} /* only blanks are trimmed */, {u""_s, "''"}, {u" 北京商贸 "_s, "'北京商贸'"},
        {u"50%_[a]"_s, "'50%_[a]'"}, {u"''"_s, "''''''"}, {QByteArray("abc"), ""} /* types with no literal */, {QStringList{u"a"_s}, ""},
    };
    // clang-format on
    for (const QString& kind : {kAccess, kSqlServer}) {
        gDBType = kind;
        for (const auto& c : cases)
            EXPECT_EQ(GetSqlVal(c.value, false, u"[Drop]"_s, u"[Drop]"_s), u(c.expected))
                << kind.toStdString() << " " << c.expected;
    }
    // Null of any type, the date-time zero (1899-12-30 00:00:00) in every form, and no date at all.
    for (const QVariant& v :
         {QVariant(QMetaType::fromType<QString>()), QVariant(QMetaType::fromType<QDateTime>()),
          QVariant(at(1899, 12, 30)), QVariant(QDate(1899, 12, 30)), QVariant(QTime(0, 0)),
          QVariant(QDateTime()), QVariant(ZeroDateTime())})
        EXPECT_EQ(GetSqlVal(v), u"null"_s) << v.typeName();
    // The defaults give a plain literal; wildcard and mode only count for LIKE.
    EXPECT_EQ(GetSqlVal(u" it's "_s), u"'it''s'"_s);
    EXPECT_EQ(GetSqlVal(u"a%"_s, false, u"%"_s, u"Both"_s), u"'a%'"_s);
    expectNoMessages();
}

// mode -1: through GetSqlVal; otherwise Get_DateStr with that mode.
TEST_F(DialectTest, DatesUseTheDelimiterOfTheKindAndTheMode) {
    // clang-format off
    const struct { QString kind; QVariant date; int mode; const char* expected; } cases[] = {
        {kSqlServer, kMarch5, -1, "'2024-03-05 14:07:09'"}, {kAccess, kMarch5, -1, "#2024-03-05 14:07:09#"},
        {kAccess, QDate(2024, 3, 5), -1, "#2024-03-05 00:00:00#"}, {kAccess, QTime(8, 30, 5), -1, "#08:30:05#"},
        {kSqlServer, at(2024, 12, 31, 23, 59, 59, 999), -1, "'2024-12-31 23:59:59'"}, {kSqlServer, at(1900, 1, 1), -1, "'1900-01-01'"},
        {kOther, kMarch5, -1, ""}, {QString(), QDate(1899, 12, 30), -1, "null"},
        {kAccess, at(2024, 3, 5), 1, "#2024-03#"}, {kAccess, kMarch5, 2, "#2024-03-05#"}, {kAccess, kMarch5, 3, "#14:07:09#"},
        {kAccess, kMarch5, 0, "#2024-03-05 14:07:09#"}, {kSqlServer, kMarch5, 1, "'2024-03'"}, {kSqlServer, kMarch5, 2, "'2024-03-05'"},
        {kSqlServer, at(2024, 3, 5, 0, 0, 1), 3, "'00:00:01'"}, {kSqlServer, at(1901, 1, 1), 0, "'1901-01-01 00:00:00'"},
        {kAccess, at(1900, 12, 31), 0, "#1900-12-31#"}, {kAccess, at(1900, 1, 1, 8, 30), 0, "#1900-01-01 08:30:00#"},
        {kAccess, kDayZeroTime, 0, "#14:07:09#"}, {kSqlServer, at(1899, 12, 30), 0, "'00:00:00'"}, {kAccess, kDayZeroTime, 2, "#1899-12-30#"},
        {u"[Microsoft SQL Server] "_s, kMarch5, 0, ""}, {QString(), kMarch5, 2, ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        gDBType = c.kind;
        const QString got = c.mode < 0 ? GetSqlVal(c.date) : Get_DateStr(c.date.toDateTime(), c.mode);
        EXPECT_EQ(got, u(c.expected)) << c.kind.toStdString() << " " << c.mode << " " << c.expected;
    }
    expectNoMessages();
    gDBType = kAccess;
    EXPECT_EQ(Get_DateStr(QDateTime(), 0), QString());
    expectOneReport(u"Get_DateStr():类型不匹配"_s);
}

TEST_F(DialectTest, LikePatternsAndTheirEscapes) {
    // clang-format off
    const struct { const char *value, *wildcard, *mode, *expected; } cases[] = {
        {"50%_a", "%", "Both", " like '%50[%][_]a%'"}, {"a[b", "[drop]", "Both", "'a[[]b'"}, {" x ", "[Drop]", "Start", "'x'"},
        {" 北京 ", "%", "Start", " like '%北京'"}, {"abc", "%", "End", " like 'abc%'"}, {"abc", "%", "bOTH", " like '%abc%'"},
        {"abc", "*", "START", " like '*abc'"}, {"abc", "%_", "End", " like 'abc%_'"}, {"abc", "%", "Middle", "'abc'"},
        {"it's", "%", "Both", " like '%it''s%'"}, {"  ", "%", "Both", " like '%%'"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(GetSqlVal(u(c.value), true, u(c.wildcard), u(c.mode)), u(c.expected)) << c.expected;
    // LIKE only applies to text.
    EXPECT_EQ(GetSqlVal(QVariant(5), true, u"%"_s, u"Both"_s), u"5"_s);
    EXPECT_EQ(GetSqlVal(QVariant(), true, u"%"_s, u"Both"_s), u"null"_s);
    // clang-format off
    const struct { const char *in, *out; } escapes[] = {{"  a'b[c]_d%e  ", "a''b[[]c][_]d[%]e"}, {"]", "]"}, {"[_%]", "[[][_][%]]"}, {"\tx\t", "\tx\t"}, {"", ""}};
    // clang-format on
    for (const auto& e : escapes)
        EXPECT_EQ(Get_LikeStr(u(e.in)), u(e.out)) << e.in;
    expectNoMessages();
}

TEST_F(DialectTest, ExecuteNonQuerySqlRunsTheRewrittenStatement) {
    open();
    // clang-format off
    const struct { const char *in, *out; } cases[] = {
        {"update t set a=true,b=false where c = true", "UPDATE T SET A=1,B=0 WHERE C = 1"}, {"update t set n='abc'", "UPDATE T SET N='ABC'"},
        {"insert into t (istrue, x) values (1, 2)", "INSERT INTO T (IS1, X) VALUES (1, 2)"},
        {"insert into t values (1,true,false,'x')", "INSERT INTO T VALUES (1,1,0,'X')"}, {"x in (TRUE,FALSE)", "X IN (1,0)"},
        {"where a= false and b =true", "WHERE A= 0 AND B =1"}, {"where a<>true and b<>false", "WHERE A<>TRUE AND B<>FALSE"},
        {"where (true)", "WHERE (TRUE)"}, {"where a =  true", "WHERE A =  TRUE"},
        {"update ZTML set ZTMC='北京分公司' where id='1'", "UPDATE ZTML SET ZTMC='北京分公司' WHERE ID='1'"},
        {"update t set n='straße'", "UPDATE T SET N='STRAßE'"} /* one-to-one capitals only */, {"  delete from t  ", "  DELETE FROM T  "},
    };
    // clang-format on
    QStringList expected;
    for (const auto& c : cases) {
        QString sql = u(c.in);
        ExecuteNonQuerySql(sql);
        EXPECT_EQ(sql, u(c.out)) << "the caller's text holds the rewritten statement";
        expected << u(c.out);
    }
    QString empty;
    ExecuteNonQuerySql(empty);  // runs nothing
    EXPECT_EQ(server->executed(), expected);
    expectNoMessages();

    server->failOn(u"^UPDATE"_s, -2147217900, u"第 1 行: '=' 附近有语法错误。"_s);
    QString sql = u"update t set = true"_s;
    ExecuteNonQuerySql(sql);
    EXPECT_EQ(sql, u"UPDATE T SET = 1"_s);
    expectOneReport(u"ExecuteNonQuerySql():第 1 行: '=' 附近有语法错误。"_s);
}

TEST_F(DialectTest, UniqVAsksForTheNumericMaximumInTheKindsDialect) {
    const char* convert = "select max(convert(int,ID)) as ls_bm from ZTML";
    const char* clng = "select max(clng(ID)) as ls_bm from ZTML";
    // clang-format off
    const struct { QString kind; Rows rows; int result; const char *query, *report; } cases[] = {  // rows: the answer to ls_bm
        {kSqlServer, {{41}}, 42, convert, ""}, {kAccess, {{u"9"_s}}, 10, clng, ""},
        {u"[MICROSOFT SQL SERVER]"_s, {{7}}, 8, convert, ""} /* the kind without regard to case */, {kOther, {{7}}, 8, clng, ""},
        {kSqlServer, {{QVariant()}}, 1, convert, ""} /* empty table */, {kSqlServer, {}, 1, convert, ""},
        {kSqlServer, {{2147483646}}, 2147483647, convert, ""}, {kSqlServer, {{2147483647}}, 0, convert, "Get_UniqV():溢出"},
        {u"[Microsoft Oracle]"_s, {{1}}, 0, nullptr, "Get_UniqV():对象关闭时，不允许操作。"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind.toStdString() + " " + std::to_string(c.result));
        open();
        server->onQuery(u"ls_bm"_s, ScriptedServer::rows({u"ls_bm"_s}, c.rows));
        gDBType = c.kind;
        EXPECT_EQ(Get_UniqV(u"ZTML"_s, u"ID"_s), c.result);
        EXPECT_EQ(server->queries(), c.query ? QStringList{u(c.query)} : QStringList());
        if (*c.report)
            expectOneReport(u(c.report));
        else
            expectNoMessages();
    }
    open();
    server->failOn(u"ls_bm"_s, 245, u"将 varchar 值 'A1' 转换为数据类型为 int 的列时发生语法错误。"_s);
    EXPECT_EQ(Get_UniqV(u"ZTML"_s, u"ID"_s), 0);
    expectOneReport(u"Get_UniqV():将 varchar 值 'A1' 转换为数据类型为 int 的列时发生语法错误。"_s);
}

TEST_F(DialectTest, ServerTimeAsksTheServerAndFallsBackToTheLocalClockSilently) {
    // clang-format off
    const struct { QString kind; QVariant sj; const char *expected, *query; } cases[] = {
        {kSqlServer, at(2024, 3, 5, 14, 7, 9, 250), "2024-03-05 14:07:09", "select getdate() as sj"},
        {kAccess, at(2023, 12, 31, 23, 59, 59), "2023-12-31 23:59:59", "select now() as sj"},
        {kSqlServer, u"2024-02-29 08:00:01.123"_s, "2024-02-29 08:00:01", "select getdate() as sj"},
        {kOther, kMarch5, "2024-03-05 14:07:09", "select getdate() as sj"},
    };
    // clang-format on
    for (const auto& c : cases) {
        open();
        server->onQuery(u" as sj"_s, ScriptedServer::rows({u"sj"_s}, {{c.sj}}));
        gDBType = c.kind;
        EXPECT_EQ(Get_ServerTime(), u(c.expected));
        EXPECT_EQ(server->queries(), QStringList{u(c.query)});
    }
    open();
    server->failOn(u"getdate"_s);
    expectLocalClock(Get_ServerTime());
    for (const Rows& answer : {Rows{{QVariant()}}, Rows{}, Rows{{u"bald"_s}}}) {
        open();
        server->onQuery(u"getdate"_s, ScriptedServer::rows({u"sj"_s}, answer));
        expectLocalClock(Get_ServerTime());
    }
    expectNoMessages();
}

}  // namespace
}  // namespace ztgl::test
