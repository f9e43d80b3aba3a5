// Statements and queries of the dialect on the shared connection: ExecuteNonQuerySql, Get_UniqV,
// Get_ServerTime. SQL Server through the scripted engine (statements recorded exactly), Access on
// the embedded engine.
#include "DbFixture.h"
#include "JetTestDb.h"
#include "ScriptedServer.h"
#include "ado/Connection.h"
#include "ado/Recordset.h"

namespace ztgl::test {
namespace {

// A scripted engine of the kind, installed as the manager's database and opened as gConn.
class ScriptedDialectTest : public DbFixture {
protected:
    // Any earlier engine goes first: its connection talks to it, and its removal uninstalls it.
    void open(ado::EngineKind kind = ado::EngineKind::SqlServer) {
        Close_Connect();
        server.reset();
        server = std::make_unique<ScriptedServer>(kind);
        if (kind == ado::EngineKind::Jet) {
            gDBType = kAccess;
            gConnectString = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=KXPUB.MDB");
        } else {
            gDBType = kSqlServer;
            gConnectString = QStringLiteral("Provider=SQLOLEDB;Initial Catalog=MAIN;Data Source=SRV");
        }
        ASSERT_EQ(Open_Connect(), 1);
    }
    void TearDown() override {
        DbFixture::TearDown();
        server.reset();
    }
    std::unique_ptr<ScriptedServer> server;
};

struct RewriteCase {
    const char* name;
    QString in, out;
};
void PrintTo(const RewriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ExecuteNonQuerySqlTest : public ScriptedDialectTest,
                               public ::testing::WithParamInterface<RewriteCase> {};

TEST_P(ExecuteNonQuerySqlTest, RunsTheRewrittenStatement) {
    open();
    QString sql = GetParam().in;
    ExecuteNonQuerySql(sql);
    EXPECT_EQ(sql, GetParam().out) << "the caller's text holds the rewritten statement";
    EXPECT_EQ(server->executed(), QStringList{GetParam().out});
    expectNoMessages();
}

INSTANTIATE_TEST_SUITE_P(
    Rewrites, ExecuteNonQuerySqlTest,
    ::testing::Values(
        RewriteCase{"Booleans", QStringLiteral("update t set a=true,b=false where c = true"),
                    QStringLiteral("UPDATE T SET A=1,B=0 WHERE C = 1")},
        RewriteCase{"TextIsCapitalisedToo", QStringLiteral("update t set n='abc'"),
                    QStringLiteral("UPDATE T SET N='ABC'")},
        RewriteCase{"PurelyTextual", QStringLiteral("insert into t (istrue, x) values (1, 2)"),
                    QStringLiteral("INSERT INTO T (IS1, X) VALUES (1, 2)")},
        RewriteCase{"ValuesList", QStringLiteral("insert into t values (1,true,false,'x')"),
                    QStringLiteral("INSERT INTO T VALUES (1,1,0,'X')")},
        RewriteCase{"LeadingTrueComma", QStringLiteral("values (true, false)"),
                    QStringLiteral("VALUES (1, FALSE)")},
        RewriteCase{"TrueThenFalse", QStringLiteral("x in (TRUE,FALSE)"), QStringLiteral("X IN (1,0)")},
        RewriteCase{"EqualsBlank", QStringLiteral("where a= false and b =true"),
                    QStringLiteral("WHERE A= 0 AND B =1")},
        RewriteCase{"OtherOperatorsNotRewritten", QStringLiteral("where a<>true and b<>false"),
                    QStringLiteral("WHERE A<>TRUE AND B<>FALSE")},
        RewriteCase{"ParenthesesNotRewritten", QStringLiteral("where (true)"),
                    QStringLiteral("WHERE (TRUE)")},
        RewriteCase{"TwoBlanksNotRewritten", QStringLiteral("where a =  true"),
                    QStringLiteral("WHERE A =  TRUE")},
        RewriteCase{"ChineseKept", QStringLiteral("update ZTML set ZTMC='北京分公司' where id='1'"),
                    QStringLiteral("UPDATE ZTML SET ZTMC='北京分公司' WHERE ID='1'")},
        RewriteCase{"OneToOneCapitalsOnly", QStringLiteral("update t set n='straße'"),
                    QStringLiteral("UPDATE T SET N='STRAßE'")},
        RewriteCase{"BlanksKept", QStringLiteral("  delete from t  "), QStringLiteral("  DELETE FROM T  ")}),
    [](const auto& info) { return std::string(info.param.name); });

class DialectQueries : public ScriptedDialectTest {};

TEST_F(DialectQueries, EmptyStatementRunsNothing) {
    open();
    const int before = server->calls.size();
    QString sql;
    ExecuteNonQuerySql(sql);
    EXPECT_EQ(server->calls.size(), before);
    expectNoMessages();
}

TEST_F(DialectQueries, FailingStatementIsReportedAndSwallowed) {
    open();
    server->failOn(QStringLiteral("^UPDATE"), -2147217900, QStringLiteral("第 1 行: '=' 附近有语法错误。"));
    QString sql = QStringLiteral("update t set = true");
    ExecuteNonQuerySql(sql);
    EXPECT_EQ(sql, QStringLiteral("UPDATE T SET = 1"));
    expectOneReport(QStringLiteral("ExecuteNonQuerySql():第 1 行: '=' 附近有语法错误。"));
}

TEST_F(DialectQueries, StatementWithoutConnectionIsReported) {
    QString sql = QStringLiteral("delete from t");
    ExecuteNonQuerySql(sql);
    expectOneReport(QStringLiteral("ExecuteNonQuerySql():对象变量或 With 块变量未设置"));
}

TEST_F(DialectQueries, UniqVOnSqlServerConvertsToInt) {
    open();
    server->onQuery(QStringLiteral("ls_bm"), ScriptedServer::rows({QStringLiteral("ls_bm")}, {{41}}));
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 42);
    EXPECT_EQ(server->queries(),
              QStringList{QStringLiteral("select max(convert(int,ID)) as ls_bm from ZTML")});
    expectNoMessages();
}

TEST_F(DialectQueries, UniqVOnAccessUsesClng) {
    open(ado::EngineKind::Jet);
    server->onQuery(QStringLiteral("ls_bm"),
                    ScriptedServer::rows({QStringLiteral("ls_bm")}, {{QStringLiteral("9")}}));
    EXPECT_EQ(Get_UniqV(QStringLiteral("Users"), QStringLiteral("Id")), 10);
    EXPECT_EQ(server->queries(), QStringList{QStringLiteral("select max(clng(Id)) as ls_bm from Users")});
}

TEST_F(DialectQueries, UniqVComparesTheKindWithoutCase) {
    open();
    server->onQuery(QStringLiteral("ls_bm"), ScriptedServer::rows({QStringLiteral("ls_bm")}, {{7}}));
    gDBType = QStringLiteral("[MICROSOFT SQL SERVER]");
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 8);
    gDBType = QStringLiteral("[microsoft access]");
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 8);
    EXPECT_EQ(server->queries(),
              (QStringList{QStringLiteral("select max(convert(int,ID)) as ls_bm from ZTML"),
                           QStringLiteral("select max(clng(ID)) as ls_bm from ZTML")}));
    expectNoMessages();
}

TEST_F(DialectQueries, UniqVIsOneForNullOrNoRow) {
    open();
    server->onQuery(QStringLiteral("from Empty"),
                    ScriptedServer::rows({QStringLiteral("ls_bm")}, {{QVariant()}}));
    server->onQuery(QStringLiteral("from NoRow"), ScriptedServer::rows({QStringLiteral("ls_bm")}, {}));
    EXPECT_EQ(Get_UniqV(QStringLiteral("Empty"), QStringLiteral("ID")), 1);
    EXPECT_EQ(Get_UniqV(QStringLiteral("NoRow"), QStringLiteral("ID")), 1);
    expectNoMessages();
}

TEST_F(DialectQueries, UniqVWithUnknownKindRunsNothingAndReports) {
    open();
    gDBType = QStringLiteral("[Microsoft Oracle]");
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 0);
    EXPECT_TRUE(server->queries().isEmpty());
    expectOneReport(QStringLiteral("Get_UniqV():对象关闭时，不允许操作。"));
}

TEST_F(DialectQueries, UniqVReportsAFailingQuery) {
    open();
    server->failOn(QStringLiteral("ls_bm"), 245,
                   QStringLiteral("将 varchar 值 'A1' 转换为数据类型为 int 的列时发生语法错误。"));
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 0);
    expectOneReport(
        QStringLiteral("Get_UniqV():将 varchar 值 'A1' 转换为数据类型为 int 的列时发生语法错误。"));
}

TEST_F(DialectQueries, UniqVWithoutConnectionReports) {
    gDBType = kSqlServer;
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 0);
    expectOneReport(QStringLiteral("Get_UniqV():对象变量或 With 块变量未设置"));
}

TEST_F(DialectQueries, UniqVPastTheLargestKeyOverflows) {
    open();
    server->onQuery(QStringLiteral("ls_bm"), ScriptedServer::rows({QStringLiteral("ls_bm")}, {{2147483647}}));
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 0);
    expectOneReport(QStringLiteral("Get_UniqV():溢出"));
}

TEST_F(DialectQueries, UniqVBelowTheLargestKeyIsFine) {
    open();
    server->onQuery(QStringLiteral("ls_bm"), ScriptedServer::rows({QStringLiteral("ls_bm")}, {{2147483646}}));
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 2147483647);
    expectNoMessages();
}

TEST_F(DialectQueries, ServerTimeOnSqlServer) {
    open();
    server->onQuery(
        QStringLiteral("getdate"),
        ScriptedServer::rows({QStringLiteral("sj")}, {{QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9, 250))}}));
    EXPECT_EQ(Get_ServerTime(), QStringLiteral("2024-03-05 14:07:09"));
    EXPECT_EQ(server->queries(), QStringList{QStringLiteral("select getdate() as sj")});
}

TEST_F(DialectQueries, ServerTimeOnAccess) {
    open(ado::EngineKind::Jet);
    server->onQuery(
        QStringLiteral("now"),
        ScriptedServer::rows({QStringLiteral("sj")}, {{QDateTime(QDate(2023, 12, 31), QTime(23, 59, 59))}}));
    EXPECT_EQ(Get_ServerTime(), QStringLiteral("2023-12-31 23:59:59"));
    EXPECT_EQ(server->queries(), QStringList{QStringLiteral("select now() as sj")});
}

TEST_F(DialectQueries, ServerTimeGivenAsText) {
    open();
    server->onQuery(
        QStringLiteral("getdate"),
        ScriptedServer::rows({QStringLiteral("sj")}, {{QStringLiteral("2024-02-29 08:00:01.123")}}));
    EXPECT_EQ(Get_ServerTime(), QStringLiteral("2024-02-29 08:00:01"));
}

TEST_F(DialectQueries, UnknownKindAsksLikeSqlServer) {
    open();
    gDBType = QStringLiteral("[microsoft access]");
    Get_ServerTime();
    EXPECT_EQ(server->queries(), QStringList{QStringLiteral("select getdate() as sj")});
}

// Whatever goes wrong, the local clock answers and nothing is shown.
TEST_F(DialectQueries, ServerTimeFallsBackToTheLocalClock) {
    const auto expectLocal = [](const QString& result) {
        const QDateTime t = QDateTime::fromString(result, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        ASSERT_TRUE(t.isValid()) << result.toStdString();
        const QDateTime now = QDateTime::currentDateTime();
        EXPECT_LE(t, now);
        EXPECT_GE(t, now.addSecs(-60));
    };
    expectLocal(Get_ServerTime());  // no connection
    open();
    server->failOn(QStringLiteral("getdate"));
    expectLocal(Get_ServerTime());  // failing query
    open();
    server->onQuery(QStringLiteral("getdate"), ScriptedServer::rows({QStringLiteral("sj")}, {{QVariant()}}));
    expectLocal(Get_ServerTime());  // Null
    open();
    server->onQuery(QStringLiteral("getdate"), ScriptedServer::rows({QStringLiteral("sj")}, {}));
    expectLocal(Get_ServerTime());  // no row
    open();
    server->onQuery(QStringLiteral("getdate"),
                    ScriptedServer::rows({QStringLiteral("sj")}, {{QStringLiteral("bald")}}));
    expectLocal(Get_ServerTime());  // no date
    expectNoMessages();
}

// The same procedures on the embedded engine, as the Access kind runs them.
class JetDialectTest : public DbFixture {};

TEST_F(JetDialectTest, UniqVTakesTheNumericMaximumOfTextKeys) {
    JetTestDb db({QStringLiteral("CREATE TABLE ZTML (ID TEXT(10), ZTMC TEXT(50))"),
                  QStringLiteral("INSERT INTO ZTML VALUES ('1', 'a')"),
                  QStringLiteral("INSERT INTO ZTML VALUES ('2', 'b')"),
                  QStringLiteral("INSERT INTO ZTML VALUES ('10', 'c')")},
                 JetTestDb::Use::OpenShared);
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 11);
    expectNoMessages();
}

TEST_F(JetDialectTest, UniqVOfAnEmptyTableIsOne) {
    JetTestDb db({QStringLiteral("CREATE TABLE ZTML (ID TEXT(10))")}, JetTestDb::Use::OpenShared);
    EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 1);
    expectNoMessages();
}

TEST_F(JetDialectTest, UniqVOverNumberKeys) {
    JetTestDb db(
        {QStringLiteral("CREATE TABLE Users (Id LONG)"), QStringLiteral("INSERT INTO Users VALUES (0)"),
         QStringLiteral("INSERT INTO Users VALUES (99)")},
        JetTestDb::Use::OpenShared);
    EXPECT_EQ(Get_UniqV(QStringLiteral("Users"), QStringLiteral("Id")), 100);
}

TEST_F(JetDialectTest, UniqVOfAMissingTableIsReported) {
    JetTestDb db({}, JetTestDb::Use::OpenShared);
    EXPECT_EQ(Get_UniqV(QStringLiteral("NoSuchTable"), QStringLiteral("ID")), 0);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("Get_UniqV():")))
        << port.messages[0].text.toStdString();
    EXPECT_GT(port.messages[0].text.size(), QStringLiteral("Get_UniqV():").size());
}

TEST_F(JetDialectTest, ServerTimeIsTheEnginesClock) {
    JetTestDb db({}, JetTestDb::Use::OpenShared);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QDateTime t = QDateTime::fromString(Get_ServerTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(t.isValid());
    EXPECT_GE(t, before.addSecs(-60));
    EXPECT_LE(t, QDateTime::currentDateTime().addSecs(60));
}

// Statements built with GetSqlVal and run through ExecuteNonQuerySql keep their values.
TEST_F(JetDialectTest, LiteralsRoundTripThroughTheEngine) {
    JetTestDb db({QStringLiteral("CREATE TABLE T (ID LONG, N TEXT(50), F BIT, D DATETIME, M DOUBLE)")},
                 JetTestDb::Use::OpenShared);
    QString sql = QStringLiteral("insert into T (ID, N, F, D, M) values (") + GetSqlVal(7) +
                  QLatin1Char(',') + GetSqlVal(QStringLiteral(" o'neil 北京 ")) + QStringLiteral(",true,") +
                  GetSqlVal(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))) + QLatin1Char(',') +
                  GetSqlVal(1.5) + QLatin1Char(')');
    ExecuteNonQuerySql(sql);
    expectNoMessages();
    ado::Recordset rs;
    Open_Recordset(rs, QStringLiteral("select * from T where N = ") +
                           GetSqlVal(QStringLiteral("O'NEIL 北京")) + QStringLiteral(" and D = ") +
                           GetSqlVal(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields(QStringLiteral("ID")).Value().toInt(), 7);
    EXPECT_EQ(rs.Fields(QStringLiteral("N")).text(), QStringLiteral("O'NEIL 北京"));
    EXPECT_TRUE(rs.Fields(QStringLiteral("F")).Value().toBool());
    EXPECT_EQ(rs.Fields(QStringLiteral("M")).Value().toDouble(), 1.5);
    Close_Recordset(rs);
    Open_Recordset(rs,
                   QStringLiteral("select * from T where N") +
                       GetSqlVal(QStringLiteral("neil"), true, QStringLiteral("%"), QStringLiteral("Both")));
    EXPECT_EQ(rs.RecordCount(), 1) << "LIKE matches without regard to case";
    Open_Recordset(rs,
                   QStringLiteral("select * from T where N") +
                       GetSqlVal(QStringLiteral("'N"), true, QStringLiteral("%"), QStringLiteral("Start")));
    EXPECT_EQ(rs.RecordCount(), 0);
}

}  // namespace
}  // namespace ztgl::test
