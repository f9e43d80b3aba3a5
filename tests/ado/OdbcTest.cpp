// The SQL Server engine over ODBC and its pieces: the choice of driver, the translation of the providers'
// connection strings, the driver's diagnostics, the column types and values, and the engine on real drivers.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include "JetFiles.h"
#include "LiveSqlServer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QTcpServer>
#include <QTemporaryDir>

#include "RuntimeErrorOf.h"
#include "ScopedEnvironment.h"
#include "ado/Connection.h"
#include "ado/DataType.h"
#include "ado/OdbcBackend.h"
#include "ado/OdbcConnectionString.h"
#include "ado/OdbcDiagnostics.h"
#include "ado/OdbcDriverChoice.h"
#include "ado/OdbcTypeMap.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;
using namespace ado;

using ztgl::RuntimeError;
using ztgl::test::errorOf;
using ztgl::test::JetFiles;
using ztgl::test::ScopedEnvironment;

namespace {

const QByteArray kAll =
    "[ODBC]\nTrace=No\n\n[FreeTDS]\nDriver=libtdsodbc.so\n\n"
    "[ODBC Driver 17 for SQL Server]\nDriver=/opt/microsoft/msodbcsql17/lib64/libmsodbcsql-17.so\n\n"
    "[ODBC Driver 18 for SQL Server]\nDriver=/opt/microsoft/msodbcsql18/lib64/libmsodbcsql-18.so\n"
    "[freetds]\n";  // a section repeated in other letters is listed once

QString s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

}  // namespace

TEST(OdbcDriverChoice, FirstInstalledOfThePreferredDriversUnlessTheEnvironmentNamesAnother) {
    QTemporaryDir dir;
    ztgl::test::ScopedEnvironment env;
    env.set("ODBCSYSINI", dir.path().toLocal8Bit());
    env.unset("ODBCINSTINI");
    env.unset("ZTGL_ODBC_DRIVER");
    const QString ini = dir.filePath(u"odbcinst.ini"_s);
    JetFiles::write(ini, kAll);
    EXPECT_EQ(OdbcDriverChoice::odbcinstPath(), ini);
    EXPECT_EQ(
        OdbcDriverChoice::installedDrivers(ini),
        QStringList({u"FreeTDS"_s, u"ODBC Driver 17 for SQL Server"_s, u"ODBC Driver 18 for SQL Server"_s}));
    EXPECT_TRUE(OdbcDriverChoice::installedDrivers(dir.filePath(u"missing.ini"_s)).isEmpty());
    // clang-format off
    const struct { QByteArray ini; const char* variable; const char* chosen; } cases[] = {  // variable: ZTGL_ODBC_DRIVER
        {kAll, nullptr, "ODBC Driver 18 for SQL Server"}, {"[FreeTDS]\n[ODBC Driver 17 for SQL Server]\n", nullptr, "ODBC Driver 17 for SQL Server"},
        {"[SQLite3]\n[FreeTDS]\n", nullptr, "FreeTDS"}, {"[freetds]\n", nullptr, "FreeTDS"},
        {kAll, "SQLite3", "SQLite3"}, {kAll, "  ", "ODBC Driver 18 for SQL Server"},
    };
    // clang-format on
    for (const auto& c : cases) {
        JetFiles::write(ini, c.ini);
        if (c.variable)
            env.set("ZTGL_ODBC_DRIVER", c.variable);
        EXPECT_EQ(OdbcDriverChoice::current(), s(c.chosen)) << c.ini.constData();
    }
    // ODBCINSTINI names the file, relative to ODBCSYSINI or absolute.
    env.unset("ZTGL_ODBC_DRIVER");
    JetFiles::write(ini, "[FreeTDS]\n");
    QFile::rename(ini, dir.filePath(u"drivers.ini"_s));
    env.set("ODBCINSTINI", "drivers.ini");
    EXPECT_EQ(OdbcDriverChoice::current(), u"FreeTDS"_s);
    env.set("ODBCINSTINI", dir.filePath(u"drivers.ini"_s).toLocal8Bit());
    EXPECT_EQ(OdbcDriverChoice::odbcinstPath(), dir.filePath(u"drivers.ini"_s));

    // No driver at all is a clear error.
    env.unset("ODBCINSTINI");
    JetFiles::write(ini, "[ODBC]\n[SQLite3]\nDriver=libsqlite3odbc.so\n");
    const RuntimeError e = errorOf([] { OdbcDriverChoice::current(); });
    EXPECT_EQ(e.number(), 3706);
    EXPECT_EQ(e.description(),
              u"未找到 SQL Server 的 ODBC 驱动程序：%1 中没有登记 ODBC Driver 18 for SQL Server、ODBC Driver "
              u"17 for SQL Server、"
              "FreeTDS。请安装其中之一，或用环境变量 ZTGL_ODBC_DRIVER 指定驱动程序。"_s.arg(ini));
}

// In the expected strings "<T>" stands for FreeTDS's own items, TDS_Version=7.4;ClientCharset=UTF-8.
TEST(OdbcConnectionString, TranslatesTheProvidersStrings) {
    const char* ms18 = "ODBC Driver 18 for SQL Server";
    const char* ms17 = "ODBC Driver 17 for SQL Server";
    const char* tds = "FreeTDS";
    const char* manager =
        "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=123;Initial Catalog=KXPUB;Data "
        "Source=SRV01";
    // clang-format off
    const struct { const char *oleDb, *driver, *odbc; } cases[] = {
        // The manager's string as the program builds it.
        {manager, tds, "DRIVER={FreeTDS};SERVER=SRV01;DATABASE=KXPUB;UID=sa;PWD=123;<T>"},
        {manager, ms18, "DRIVER={ODBC Driver 18 for SQL Server};SERVER=SRV01;DATABASE=KXPUB;UID=sa;PWD=123;Encrypt=no"},
        {"Provider=SQLOLEDB;Data Source=SRV01;Initial Catalog=KXPUB;User ID=sa;Password=;Network Library=DBMSSOCN", ms17, "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SRV01;DATABASE=KXPUB;UID=sa;PWD=;Encrypt=no"},
        // Port after a comma: its own item for FreeTDS, kept in SERVER for Microsoft's drivers.
        {"Provider=SQLNCLI11;Data Source=10.0.0.5,14330;Initial Catalog=db;User ID=u;Password=p", tds, "DRIVER={FreeTDS};SERVER=10.0.0.5;Port=14330;DATABASE=db;UID=u;PWD=p;<T>"},
        {"Provider=MSOLEDBSQL19;Data Source=10.0.0.5, 14330;Initial Catalog=db;User ID=u;Password=p", ms18, "DRIVER={ODBC Driver 18 for SQL Server};SERVER=10.0.0.5,14330;DATABASE=db;UID=u;PWD=p;Encrypt=no"},
        // Named instance; with a port the instance lookup is not needed.
        {"Provider=SQLOLEDB;Data Source=SRV\\SQLEXPRESS;User ID=u;Password=p", tds, "DRIVER={FreeTDS};SERVER=SRV\\SQLEXPRESS;UID=u;PWD=p;<T>"},
        {"Provider=SQLOLEDB;Data Source=tcp:SRV\\SQLEXPRESS,1500;User ID=u;Password=p", tds, "DRIVER={FreeTDS};SERVER=SRV;Port=1500;UID=u;PWD=p;<T>"},
        // The local machine.
        {"Provider=SQLOLEDB;Data Source=(local);User ID=u;Password=p", ms17, "DRIVER={ODBC Driver 17 for SQL Server};SERVER=127.0.0.1;UID=u;PWD=p;Encrypt=no"},
        {"Provider=SQLOLEDB;Data Source=.\\SQLEXPRESS;User ID=u;Password=p", ms17, "DRIVER={ODBC Driver 17 for SQL Server};SERVER=127.0.0.1\\SQLEXPRESS;UID=u;PWD=p;Encrypt=no"},
        // Keys without regard to case, blanks around values, OLE DB quotes.
        {"provider=sqloledb; data source = SRV ;initial catalog=\"My Db\";user id='sa';PASSWORD= pw ", ms17, "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SRV;DATABASE=My Db;UID=sa;PWD=pw;Encrypt=no"},
        // Values that would break the ODBC string go in braces (every value reads back: fuzz_connection_string).
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=sa;Password=a}b{c=d", tds, "DRIVER={FreeTDS};SERVER=SRV;UID=sa;PWD={a}}b{c=d};<T>"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=sa;Password=' lead'", ms17, "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SRV;UID=sa;PWD={ lead};Encrypt=no"},
        // Windows log-in; application and workstation names; asked-for encryption.
        {"Provider=SQLOLEDB;Data Source=SRV;Integrated Security=SSPI;Initial Catalog=KXPUB", ms18, "DRIVER={ODBC Driver 18 for SQL Server};SERVER=SRV;DATABASE=KXPUB;Trusted_Connection=Yes;Encrypt=no"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p;Application Name=ztgl;Workstation ID=PC1;Use Encryption for Data=True;Trust Server Certificate=True", ms18, "DRIVER={ODBC Driver 18 for SQL Server};SERVER=SRV;UID=u;PWD=p;APP=ztgl;WSID=PC1;Encrypt=yes;TrustServerCertificate=yes"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p;Use Encryption for Data=True", tds, "DRIVER={FreeTDS};SERVER=SRV;UID=u;PWD=p;<T>;Encryption=require"},
        // Chinese database names pass unchanged; a driver given by file name.
        {"Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=KXPUB_帐套;User ID=u;Password=密码", tds, "DRIVER={FreeTDS};SERVER=SRV;DATABASE=KXPUB_帐套;UID=u;PWD=密码;<T>"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p", "/usr/lib/libtdsodbc.so", "DRIVER={/usr/lib/libtdsodbc.so};SERVER=SRV;UID=u;PWD=p;<T>"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(OdbcConnectionString::translate(ConnectionString(s(c.oleDb)), s(c.driver)),
                  s(c.odbc).replace(u"<T>"_s, u"TDS_Version=7.4;ClientCharset=UTF-8"_s))
            << c.oleDb;
    for (const char* name : {"FreeTDS", "freetds 1.3", "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"})
        EXPECT_TRUE(OdbcConnectionString::isFreeTds(s(name))) << name;
    for (const char* name : {ms18, "SQLite3"})
        EXPECT_FALSE(OdbcConnectionString::isFreeTds(s(name))) << name;
}

TEST(OdbcConnectionString, LoginTimeoutIsNeverAnEndlessWait) {
    // clang-format off
    const struct { const char* item; int fallback, seconds; } cases[] = {
        {"", 15, 15}, {"", 3, 3}, {";Connect Timeout=7", 15, 7}, {";connect timeout = 2 ", 15, 2}, {";Connect Timeout=abc", 4, 4},
        {"", 0, 15}, {";Connect Timeout=0", 5, 15}, {"", -1, 15},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(OdbcConnectionString::loginTimeout(
                      ConnectionString(u"Provider=SQLOLEDB;Data Source=S"_s + s(c.item)), c.fallback),
                  c.seconds)
            << c.item << " / " << c.fallback;
}

TEST(OdbcDiagnostics, KeepsTheRecordsTextsOnly) {
    const char* connect = "QODBC: Unable to connect";
    // clang-format off
    const struct { const char *databaseText, *driverText, *text; } cases[] = {
        // What FreeTDS gives for a closed port, an unknown host and a silent server.
        {"[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unable to connect: Adaptive Server is unavailable or does not exist", connect, "Unable to connect: Adaptive Server is unavailable or does not exist"},
        {"[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unknown host machine name.", connect, "Unknown host machine name."},
        {"[FreeTDS][SQL Server]Timeout expired [FreeTDS][SQL Server]Unable to connect to data source", connect, "Timeout expired"},
        // The server's own text, several records, repeats.
        {"[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]对象名 'ZTML' 无效。 [Microsoft][ODBC Driver 18 for SQL Server][SQL Server]无法预定义语句。", "QODBC: Unable to execute statement", "对象名 'ZTML' 无效。\n无法预定义语句。"},
        {"[unixODBC][FreeTDS][SQL Server]Login failed for user 'sa'. [unixODBC][FreeTDS][SQL Server]Login failed for user 'sa'.", connect, "Login failed for user 'sa'."},
        {"[unixODBC][Driver Manager]Data source name not found and no default driver specified", connect, "Data source name not found and no default driver specified"},
        // The generic record alone is all there is; text without tags; no records at all.
        {"[FreeTDS][SQL Server]Unable to connect to data source", connect, "Unable to connect to data source"},
        {"no such table: nosuch (1)", "QODBC: Unable to execute statement", "no such table: nosuch (1)"},
        {"", "QODBC: Unable to begin transaction", "Unable to begin transaction"},
        {"  ", "QODBC3: Unable to fetch last", "Unable to fetch last"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(OdbcDiagnostics::text(s(c.databaseText), s(c.driverText)), s(c.text)) << c.databaseText;
}

// One row per branch of the mapping; the edges are the text and binary sizes and money's shapes.
TEST(OdbcTypeMap, ColumnTypesAsAdoReportsThem) {
    // clang-format off
    const struct { const char* column; int sqlType; qint64 size; int scale, type; qint64 definedSize; } cases[] = {
        {"nvarchar(40)", SQL_WVARCHAR, 40, 0, adVarWChar, 40}, {"char(8000)", SQL_CHAR, 8000, 0, adVarWChar, 8000},
        {"nvarchar(max)", SQL_WVARCHAR, 0, 0, adLongVarWChar, 0}, {"varchar(max) via FreeTDS", SQL_VARCHAR, 2147483647, 0, adLongVarWChar, 2147483647},
        {"ntext", SQL_WLONGVARCHAR, 1073741823, 0, adLongVarWChar, 1073741823}, {"xml", -152, 0, 0, adLongVarWChar, 0},
        {"int", SQL_INTEGER, 10, 0, adInteger, 4}, {"smallint", SQL_SMALLINT, 5, 0, adSmallInt, 2},
        {"tinyint", SQL_TINYINT, 3, 0, adUnsignedTinyInt, 1}, {"bigint", SQL_BIGINT, 19, 0, adBigInt, 8},
        {"bit", SQL_BIT, 1, 0, adBoolean, 2}, {"float via FreeTDS", SQL_DOUBLE, 15, 0, adDouble, 8},
        {"real", SQL_REAL, 24, 0, adSingle, 4}, {"money", SQL_DECIMAL, 19, 4, adCurrency, 8},
        {"smallmoney", SQL_DECIMAL, 10, 4, adCurrency, 8}, {"decimal(18,2)", SQL_DECIMAL, 18, 2, adNumeric, 18},
        {"numeric(10,0)", SQL_NUMERIC, 10, 0, adNumeric, 10}, {"datetime", SQL_TYPE_TIMESTAMP, 23, 3, adDate, 8},
        {"datetimeoffset", -155, 34, 7, adDate, 8}, {"uniqueidentifier", SQL_GUID, 36, 0, adGUID, 16},
        {"binary(8)", SQL_BINARY, 8, 0, adVarBinary, 8}, {"varbinary(max)", SQL_VARBINARY, 0, 0, adLongVarBinary, 0},
        {"image", SQL_LONGVARBINARY, 2147483647, 0, adLongVarBinary, 2147483647}, {"sql_variant", -150, 8000, 0, adVariant, 8000},
    };
    // clang-format on
    for (const auto& c : cases) {
        const FieldInfo f = OdbcTypeMap::fieldInfo(u"Col"_s, c.sqlType, c.size, c.scale);
        EXPECT_EQ(f.type, c.type) << c.column;
        EXPECT_EQ(f.definedSize, c.definedSize) << c.column;
    }
}

TEST(OdbcTypeMap, ValuesAreTypedByTheirColumnAndNullStaysNull) {
    const QString guid = u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s;
    // clang-format off
    const struct { const char* what; QVariant fetched; int type, scale; QVariant expected; } cases[] = {
        {"nvarchar", u"帐套"_s, adVarWChar, 0, u"帐套"_s}, {"int as text", u"42"_s, adInteger, 0, 42},
        {"tinyint as uint", QVariant(uint(255)), adUnsignedTinyInt, 0, 255},
        {"bigint", QVariant(qlonglong(1) << 40), adBigInt, 0, QVariant(qlonglong(1) << 40)},
        {"bit", QVariant(uint(1)), adBoolean, 0, true}, {"bit zero", u"0"_s, adBoolean, 0, false},
        {"float", 1.25, adDouble, 0, 1.25}, {"money", u"12.3400"_s, adCurrency, 4, 12.34}, {"decimal", u"3.50"_s, adNumeric, 2, 3.5},
        {"numeric whole", u"9007199254740993"_s, adNumeric, 0, QVariant(qlonglong(9007199254740993LL))},
        {"datetime", QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), adDate, 0, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))},
        {"date", QDate(2024, 5, 6), adDate, 0, QDateTime(QDate(2024, 5, 6), QTime(0, 0))},
        {"time", QTime(13, 14, 15), adDate, 0, QDateTime(QDate(1899, 12, 30), QTime(13, 14, 15))},
        {"guid", u"6f9619ff-8b86-d011-b42d-00c04fc964ff"_s, adGUID, 0, guid}, {"guid in braces", guid, adGUID, 0, guid},
        {"binary", QByteArray("\x01\x02", 2), adVarBinary, 0, QByteArray("\x01\x02", 2)},
    };
    // clang-format on
    for (const auto& c : cases) {
        const QVariant v = OdbcTypeMap::value(c.fetched, FieldInfo{u"c"_s, c.type, 0}, c.scale);
        EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.what;
        EXPECT_EQ(v, c.expected) << c.what;
    }
    // Null stays a Null of the column's type.
    for (int type :
         {adVarWChar, adInteger, adBoolean, adDouble, adCurrency, adNumeric, adDate, adGUID, adVarBinary})
        for (const QVariant& fetched : {QVariant(), QVariant(QMetaType(QMetaType::QString))}) {
            const QVariant v = OdbcTypeMap::value(fetched, FieldInfo{u"c"_s, type, 0}, 0);
            EXPECT_TRUE(v.isNull() && v.isValid()) << type;
        }
    EXPECT_EQ(OdbcTypeMap::value(QVariant(), FieldInfo{u"c"_s, adDate, 8}, 0).metaType(),
              QMetaType(QMetaType::QDateTime));
}

namespace {

QStringList odbcConnectionNames() {
    return QSqlDatabase::connectionNames().filter(u"ztgl-odbc"_s);
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

// A server that accepts the connection and never answers: the login time-out ends the wait.
TEST_F(OdbcBackendTest, SilentServerFailsWithinTheLoginTimeout) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    ado::Connection conn;
    conn.setConnectionString(
        u"Provider=SQLOLEDB;Data Source=127.0.0.1,%1;User ID=sa;Password=x"_s.arg(silent.serverPort()));
    conn.setConnectionTimeout(1);
    QElapsedTimer clock;
    clock.start();
    const RuntimeError e = errorOf([&] { conn.Open(); });
    EXPECT_LT(clock.elapsed(), 10000);  // only catches a hang
    EXPECT_EQ(conn.State(), ado::adStateClosed);
    EXPECT_TRUE(odbcConnectionNames().isEmpty());
    EXPECT_EQ(e.number(), RuntimeError::DatabaseError);
    EXPECT_TRUE(e.description().startsWith(u"无法连接到 SQL Server 服务器“127.0.0.1,"_s) &&
                e.description().contains(QLatin1String("imeout")))
        << e.description().toStdString();
}

TEST_F(OdbcBackendTest, NothingButOpenWorksOnAClosedEngineAndNoCatalogIsOffered) {
    ado::OdbcBackend backend;
    for (auto call : std::initializer_list<std::function<void()>>{
             [&] { backend.execute(u"SELECT 1"_s); }, [&] { backend.query(u"SELECT 1"_s); },
             [&] { backend.beginTrans(); }, [&] { backend.commitTrans(); }, [&] { backend.rollbackTrans(); }})
        EXPECT_EQ(errorOf(call).number(), 3704);
    backend.close();  // closing twice is harmless
    const RuntimeError e = errorOf([&] { backend.readCatalog(); });
    EXPECT_EQ(e.number(), 3251);
    EXPECT_EQ(e.description(), u"SQL Server 引擎不提供数据库目录（表、列和键的结构）。"_s);
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
    EXPECT_TRUE(rs.fields[0].name == u"n"_s && rs.fields[0].definedSize == 40);
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
    ado::Connection a, b;
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
        const RuntimeError e = errorOf([&] { a.query(QString::fromLatin1(bad)); });
        EXPECT_EQ(e.number(), -2147217900) << bad;
        EXPECT_EQ(e.description(), u"no such table: nosuch (1)"_s);
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
