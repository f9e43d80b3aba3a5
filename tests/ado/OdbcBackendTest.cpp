#include <gtest/gtest.h>

#include "LiveSqlServer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTemporaryDir>

#include "ScopedEnvironment.h"
#include "ado/Connection.h"
#include "ado/DataType.h"
#include "ado/OdbcBackend.h"
#include "ado/OdbcDriverChoice.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

using ztgl::RuntimeError;
using ztgl::test::ScopedEnvironment;

namespace {

// Open attempts must end on their own; this only catches a hang.
constexpr qint64 kHangMs = 10000;

QStringList odbcConnectionNames() {
    return QSqlDatabase::connectionNames().filter(u"ztgl-odbc"_s);
}

// A failed open: its error, and no connection left behind.
RuntimeError openFails(const QString& connectionString, int timeout) {
    ado::Connection conn;
    conn.setConnectionString(connectionString);
    conn.setConnectionTimeout(timeout);
    try {
        conn.Open();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(conn.State(), ado::adStateClosed);
        EXPECT_TRUE(odbcConnectionNames().isEmpty());
        return e;
    }
    ADD_FAILURE() << "opened";
    return RuntimeError(0, QString());
}

class OdbcBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.unset("ZTGL_ODBC_DRIVER");
        try {
            driver = ado::OdbcDriverChoice::current();
        } catch (const RuntimeError&) {
            GTEST_SKIP() << "no SQL Server ODBC driver installed";
        }
    }
    ScopedEnvironment env;
    QString driver;
};

}  // namespace

TEST_F(OdbcBackendTest, ClosedPortAndSilentServerFailWithinTheLoginTimeoutAndClearly) {
    QElapsedTimer clock;
    clock.start();
    const RuntimeError e = openFails(
        u"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=x;"
        "Initial Catalog=KXPUB;Data Source=127.0.0.1,1"_s,
        2);
    EXPECT_LT(clock.elapsed(), kHangMs);
    EXPECT_EQ(e.number(), RuntimeError::DatabaseError);
    EXPECT_TRUE(e.description().startsWith(u"无法连接到 SQL Server 服务器“127.0.0.1,1”："_s))
        << e.description().toStdString();
    EXPECT_FALSE(e.description().contains(QLatin1String("QODBC")));
    EXPECT_FALSE(e.description().contains(QLatin1Char('[')));
    EXPECT_GT(e.description().size(), u"无法连接到 SQL Server 服务器“127.0.0.1,1”："_s.size());

    // A server that accepts the connection and never answers: the login time-out ends the wait.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    clock.restart();
    const RuntimeError timeout = openFails(
        u"Provider=SQLOLEDB;Data Source=127.0.0.1,%1;User ID=sa;Password=x"_s.arg(silent.serverPort()), 1);
    EXPECT_LT(clock.elapsed(), kHangMs);
    EXPECT_EQ(timeout.number(), RuntimeError::DatabaseError);
    EXPECT_TRUE(timeout.description().contains(QLatin1String("imeout")))
        << timeout.description().toStdString();
}

TEST_F(OdbcBackendTest, NothingButOpenWorksOnAClosedEngineAndNoCatalogIsOffered) {
    ado::OdbcBackend backend;
    for (auto call : std::initializer_list<std::function<void()>>{
             [&] { backend.execute(u"SELECT 1"_s); }, [&] { backend.query(u"SELECT 1"_s); },
             [&] { backend.beginTrans(); }, [&] { backend.commitTrans(); },
             [&] { backend.rollbackTrans(); }}) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 3704);
        }
    }
    backend.close();  // closing twice is harmless
    try {
        backend.readCatalog();
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 3251);
        EXPECT_EQ(e.description(), u"SQL Server 引擎不提供数据库目录（表、列和键的结构）。"_s);
    }
}

// One row of text, number, date and yes/no and one of Nulls, written on one connection and read on
// another: they come back typed as written. `n` is the prefix of a Unicode text literal.
void expectTypedRoundTrip(ado::Connection& writer, ado::Connection& reader, const QString& table,
                          const char* n) {
    writer.Execute(u"CREATE TABLE %1 (n nvarchar(40), i int, d datetime, b bit)"_s.arg(table));
    EXPECT_EQ(
        writer.Execute(u"INSERT INTO %1 VALUES (%2'帐套管理：总部', 42, '2024-05-06 07:08:09', 1)"_s.arg(
            table, QLatin1String(n))),
        1);
    writer.Execute(u"INSERT INTO %1 VALUES (NULL, NULL, NULL, NULL)"_s.arg(table));
    const ado::RowSet rs = reader.query(u"SELECT n, i, d, b FROM %1 ORDER BY i DESC"_s.arg(table));
    ASSERT_EQ(rs.fields.size(), 4);
    const int types[] = {ado::adVarWChar, ado::adInteger, ado::adDate, ado::adBoolean};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rs.fields[i].type, types[i]) << i;
    EXPECT_EQ(rs.fields[0].name, u"n"_s);
    EXPECT_EQ(rs.fields[0].definedSize, 40);
    ASSERT_EQ(rs.rows.size(), 2);
    EXPECT_EQ(rs.rows[0], (QVector<QVariant>{u"帐套管理：总部"_s, 42,
                                             QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), true}));
    for (const QVariant& v : rs.rows[1])
        EXPECT_TRUE(v.isNull());
}

// The engine's plumbing (own connection names, typed rows, transactions, failures) against a real
// ODBC driver that needs no server: SQLite's, when it is registered.
TEST(OdbcBackendOverSqlite, StatementsRowsTransactionsAndFailures) {
    if (!ado::OdbcDriverChoice::installedDrivers(ado::OdbcDriverChoice::odbcinstPath())
             .contains(u"SQLite3"_s))
        GTEST_SKIP() << "the SQLite3 ODBC driver is not registered";
    ScopedEnvironment env;
    env.set("ZTGL_ODBC_DRIVER", "SQLite3");
    QTemporaryDir dir;
    const QString cs = u"Provider=SQLOLEDB;Data Source=(local);Initial Catalog=%1;User ID=sa;Password="_s.arg(
        dir.filePath(u"probe.db"_s));
    ado::Connection a;
    ado::Connection b;
    a.setConnectionString(cs);
    b.setConnectionString(cs);
    a.Open();
    b.Open();
    EXPECT_EQ(odbcConnectionNames().size(), 2);
    expectTypedRoundTrip(a, b, u"t"_s, "");
    a.Execute(u"CREATE TABLE u (x double, m text)"_s);
    a.Execute(u"INSERT INTO u VALUES (1.5, '长文本')"_s);
    const ado::RowSet more = b.query(u"SELECT x, m FROM u"_s);
    EXPECT_EQ(more.fields[0].type, ado::adDouble);
    EXPECT_EQ(more.fields[1].type, ado::adLongVarWChar);
    EXPECT_EQ(more.rows.value(0), (QVector<QVariant>{1.5, u"长文本"_s}));

    a.BeginTrans();
    a.Execute(u"DELETE FROM t"_s);
    a.RollbackTrans();
    EXPECT_EQ(a.query(u"SELECT COUNT(*) FROM t"_s).rows[0][0].toInt(), 2);
    a.BeginTrans();
    a.Execute(u"DELETE FROM t WHERE i IS NULL"_s);
    a.CommitTrans();
    EXPECT_EQ(b.query(u"SELECT COUNT(*) FROM t"_s).rows[0][0].toInt(), 1);

    for (const char* bad : {"SELECT * FROM nosuch", "INSERT INTO nosuch VALUES (1)"}) {
        try {
            a.query(QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), -2147217900);
            EXPECT_EQ(e.description(), u"no such table: nosuch (1)"_s);
        }
    }
    a.Close();
    EXPECT_EQ(odbcConnectionNames().size(), 1);
    b.Close();
    EXPECT_TRUE(odbcConnectionNames().isEmpty());
}

// Against a real SQL Server when ZTGL_TEST_SQLSERVER_ODBC holds an ODBC connection string
// ("SERVER=host[,port];UID=…;PWD=…[;Port=…][;DATABASE=…]").
TEST(OdbcBackendLive, ChineseTextAndTypedValuesRoundTrip) {
    const QString oleDb = ztgl::test::LiveSqlServerConnectString();
    if (oleDb.isEmpty())
        GTEST_SKIP() << "ZTGL_TEST_SQLSERVER_ODBC not set";
    ado::Connection conn;
    conn.setConnectionString(oleDb);
    conn.setConnectionTimeout(5);
    conn.Open();
    expectTypedRoundTrip(conn, conn, u"#ztgl_live"_s, "N");
    conn.Execute(u"DROP TABLE #ztgl_live"_s);
    conn.Close();
}
