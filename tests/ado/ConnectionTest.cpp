#include <gtest/gtest.h>

#include <sqlite3.h>
#include "QtPrinters.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "JetTestDatabase.h"
#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/DataType.h"
#include "ado/JetCatalog.h"
#include "ado/JetDatabase.h"
#include "ado/JetDdl.h"
#include "ado/JetLike.h"
#include "ado/JetSql.h"
#include "ado/Recordset.h"
#include "platform/RuntimeError.h"

using ado::Connection;
using ado::Recordset;
using ztgl::RuntimeError;
using ztgl::test::JetTestDatabase;

namespace {

// The error an action throws; fails the test when it throws none.
RuntimeError errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return RuntimeError(0, QString());
}

RuntimeError openError(const QString& file) {
    Connection conn;
    conn.setConnectionString(JetTestDatabase::connectionStringFor(file));
    return errorOf([&] { conn.Open(); });
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Statements assembled from pieces of real ones in random order: broken definitions, stray quotes,
// brackets and date marks. Seeded, so a failure repeats.
QStringList randomStatements(int count) {
    static const QStringList pieces =
        QStringLiteral(
            "CREATE TABLE ALTER ADD COLUMN T [T ] ( ) , ' \" # #2024-03-05# TEXT (10) COUNTER AUTOINCREMENT "
            "(1, "
            "NOT NULL DEFAULT now () PRIMARY KEY UNIQUE FOREIGN REFERENCES CONSTRAINT WITH COMP COLLATE "
            "NOCASE select * from where like '%[_]%' & clng( -- /* ; 中文 1 -1.5 e `")
            .split(QLatin1Char(' '));
    QRandomGenerator rng(20240305);
    QStringList out;
    for (int i = 0; i < count; ++i) {
        QString s;
        const int n = rng.bounded(1, 14);
        for (int k = 0; k < n; ++k)
            s += pieces[rng.bounded(int(pieces.size()))] + QLatin1Char(' ');
        out << s;
    }
    out << QStringLiteral("CREATE TABLE T (A AUTOINCREMENT(")
        << QStringLiteral("CREATE TABLE T (A TEXT(10) DEFAULT now(") << QStringLiteral("ALTER TABLE T ADD")
        << QStringLiteral("CREATE TABLE T (CONSTRAINT") << QStringLiteral("#");
    return out;
}

class JetConnection : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            {QStringLiteral("CREATE TABLE T (ID TEXT(10) NOT NULL, N LONG, S TEXT(50), "
                            "CONSTRAINT PK_T PRIMARY KEY (ID))"),
             QStringLiteral(
                 "CREATE TABLE ZTML (Id TEXT(10) NOT NULL PRIMARY KEY, ZTMC TEXT(50), UserFlag LONG, "
                 "CreateTime TEXT(10))"),
             QStringLiteral("CREATE TABLE Kinds (A TEXT(10), B LONG, C CURRENCY, D DATETIME, E BIT, F MEMO, "
                            "G SHORT, H BYTE, I SINGLE, J DOUBLE, K GUID, L DECIMAL(18,4), M LONGBINARY)")});
        conn.setConnectionString(db.connectionString());
        conn.Open();
    }
    QString scalar(const QString& sql) {
        Recordset rs;
        rs.Open(sql, conn);
        return rs.Eof() ? QStringLiteral("<none>") : rs.Fields(0).text();
    }

    void open(const QString& sql) { rs.Open(sql, conn); }

    JetTestDatabase db;
    Connection conn;
    Recordset rs;
};

}  // namespace

TEST(JetOpen, MissingAndForeignFilesAreRefusedClearlyAndLeftAsTheyWere) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("KXPUB.MDB"));
    RuntimeError e = openError(missing);
    EXPECT_EQ(e.number(), 3024);
    EXPECT_EQ(e.description(), QStringLiteral("找不到文件“%1”。").arg(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(openError(dir.filePath(QStringLiteral("NOWHERE/KXPUB.MDB"))).number(), 3044);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("NOWHERE"))));
    EXPECT_EQ(openError(dir.path()).number(), 3051);

    QByteArray jet(2048, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    QByteArray ace(2048, '\0');
    ace.replace(4, 15, "Standard ACE DB");
    QByteArray random(4096, '\0');
    for (char& c : random)
        c = char(QRandomGenerator::global()->bounded(256));
    random.replace(0, 16, "not a database!!");
    const struct {
        const char* name;
        QByteArray bytes;
        int number;
        const char* mark;  // in the text
    } cases[] = {
        // A Jet file goes to the reader of Jet files, which finds this one far too short.
        {"jet.mdb", jet, 3049, "文件不完整"},
        {"ace.accdb", ace, 3343, "Access 2007 或更新版本（ACE"},
        {"random.mdb", random, 3343, "无法识别的数据库格式"},
        {"empty.mdb", QByteArray(), 3343, "无法识别的数据库格式"},
        {"short.mdb", QByteArray("SQLite format 3"), 3343, "无法识别的数据库格式"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QString::fromLatin1(c.name));
        writeFile(file, c.bytes);
        e = openError(file);
        EXPECT_EQ(e.number(), c.number);
        EXPECT_TRUE(e.description().contains(QString::fromUtf8(c.mark))) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(file));
        EXPECT_EQ(QFile(file).size(), c.bytes.size()) << "the file must stay as it was";
    }
}

TEST(JetOpen, DatabasePasswordIsIgnoredAceProviderAndUnusualNamesWorkReadOnlyModeRefusesWrites) {
    JetTestDatabase db;
    JetTestDatabase blanks(QStringLiteral("a b#c?d%20.MDB"));
    JetTestDatabase chinese(QStringLiteral("帐套 (1).mdb"));
    int n = 0;
    for (const QString& cs :
         {db.connectionString() + QStringLiteral("secret"),
          JetTestDatabase::connectionStringFor(db.path(), QStringLiteral("Microsoft.ACE.OLEDB.12.0")),
          blanks.connectionString(), chinese.connectionString()}) {
        Connection conn;
        conn.setConnectionString(cs);
        conn.Open();
        EXPECT_EQ(conn.State(), ado::adStateOpen);
        EXPECT_NO_THROW(conn.Execute(QStringLiteral("CREATE TABLE T%1 (A LONG)").arg(n++)))
            << cs.toStdString();
        conn.Close();
        EXPECT_EQ(conn.State(), ado::adStateClosed);
    }
    Connection conn;
    conn.setConnectionString(
        db.connectionString().replace(QStringLiteral("Mode=Read|Write"), QStringLiteral("Mode=Read")));
    conn.Open();
    Recordset rs;
    EXPECT_NO_THROW(rs.Open(QStringLiteral("select * from T0"), conn));
    const RuntimeError e = errorOf([&] { conn.Execute(QStringLiteral("INSERT INTO T0 VALUES (1)")); });
    EXPECT_EQ(e.number(), 3027);
    EXPECT_EQ(e.description(), QStringLiteral("不能更新。数据库或对象为只读。"));
}

TEST(JetOpen, FileLockedByAWriterIsReportedAfterAShortWait) {
    JetTestDatabase db;
    db.exec({QStringLiteral("CREATE TABLE T (A LONG)")});
    sqlite3* other = nullptr;
    ASSERT_EQ(
        sqlite3_open_v2(QFile::encodeName(db.path()).constData(), &other, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE; INSERT INTO T VALUES (1);", nullptr, nullptr, nullptr),
              SQLITE_OK);
    QElapsedTimer timer;
    timer.start();
    const RuntimeError e = openError(db.path());
    EXPECT_LE(timer.elapsed(), 2500);
    EXPECT_EQ(e.number(), 3045);
    EXPECT_EQ(e.description(),
              QStringLiteral("无法使用“%1”；文件正被其他用户独占使用。请稍后再试。").arg(db.path()));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    Connection conn;
    conn.setConnectionString(db.connectionString());
    EXPECT_NO_THROW(conn.Open());
}

TEST(JetOpen, WritingWhileAnotherConnectionWritesIsALockError) {
    JetTestDatabase db;
    db.exec({QStringLiteral("CREATE TABLE T (A LONG)")});
    Connection first, second;
    first.setConnectionString(db.connectionString());
    second.setConnectionString(db.connectionString());
    first.Open();
    second.Open();
    first.BeginTrans();
    first.Execute(QStringLiteral("INSERT INTO T VALUES (1)"));
    const RuntimeError e = errorOf([&] { second.Execute(QStringLiteral("INSERT INTO T VALUES (2)")); });
    EXPECT_EQ(e.number(), 3050);
    first.CommitTrans();
    EXPECT_EQ(second.Execute(QStringLiteral("INSERT INTO T VALUES (2)")), 1);
    first.Close();
    first.Close();  // closing twice is harmless
    Recordset rs;
    rs.Open(QStringLiteral("select count(*) as n from T"), second);
    EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), 2);
}

TEST(JetDatabase, CreatesAnEmptyDatabaseOnlyWhereNoneIs) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("新帐套.MDB"));
    ado::CreateJetDatabase(file);
    ASSERT_TRUE(QFileInfo::exists(file));
    Connection conn;
    conn.setConnectionString(JetTestDatabase::connectionStringFor(file));
    conn.Open();
    EXPECT_TRUE(conn.readCatalog().tables.isEmpty());
    conn.Close();

    const RuntimeError exists = errorOf([&] { ado::CreateJetDatabase(file); });
    EXPECT_EQ(exists.number(), 3204);
    EXPECT_EQ(exists.description(), QStringLiteral("数据库“%1”已存在。").arg(file));
    EXPECT_EQ(
        errorOf([&] { ado::CreateJetDatabase(dir.filePath(QStringLiteral("no/such/X.MDB"))); }).number(),
        3044);
}

TEST_F(JetConnection, ExecuteReturnsTheRowsAffected) {
    EXPECT_EQ(conn.Execute(QStringLiteral("INSERT INTO T (ID, N) VALUES ('1', 1)")), 1);
    EXPECT_EQ(conn.Execute(QStringLiteral("INSERT INTO T (ID, N) VALUES ('2', 2)")), 1);
    EXPECT_EQ(conn.Execute(QStringLiteral("UPDATE T SET N = N + 1")), 2);
    EXPECT_EQ(conn.Execute(QStringLiteral("UPDATE T SET N = 0 WHERE ID = 'x'")), 0);
    EXPECT_EQ(conn.Execute(QStringLiteral("DELETE FROM T WHERE ID = '1';")), 1);
    EXPECT_EQ(conn.Execute(QStringLiteral("CREATE TABLE U (A LONG)")), -1);
}

TEST_F(JetConnection, TransactionsCommitRollBackAndNest) {
    conn.BeginTrans();
    conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('a')"));
    conn.RollbackTrans();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T")), QStringLiteral("0"));

    conn.BeginTrans();
    conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('a')"));
    conn.BeginTrans();
    conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('b')"));
    conn.RollbackTrans();
    conn.BeginTrans();
    conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('c')"));
    conn.CommitTrans();
    conn.CommitTrans();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T where ID in ('a','c')")), QStringLiteral("2"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T")), QStringLiteral("2"));

    EXPECT_EQ(errorOf([&] { conn.CommitTrans(); }).number(), 3034);
    EXPECT_EQ(errorOf([&] { conn.RollbackTrans(); }).number(), 3034);

    // Closing rolls an open transaction back.
    conn.Execute(QStringLiteral("DELETE FROM T"));
    conn.BeginTrans();
    conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('a')"));
    conn.Close();
    conn.Open();
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T")), QStringLiteral("0"));
}

TEST_F(JetConnection, FailuresCarryJetNumbersAndClearTexts) {
    conn.Execute(QStringLiteral("INSERT INTO T (ID, N) VALUES ('1', 1)"));
    const struct {
        const char* sql;
        int number;
        const char* text;  // the start of the description
    } cases[] = {
        {"select * from NOSUCH", 3078,
         "找不到输入表或查询“NOSUCH”。请确定它是否存在，以及它的名称的拼写是否正确。"},
        {"DROP TABLE NOSUCH", 3376, "表“NOSUCH”不存在。"},
        {"INSERT INTO T (ID) VALUES ('1')", 3022, "由于将在索引、主关键字或关系中创建重复的值"},
        {"INSERT INTO T (N) VALUES (5)", 3314, "字段“T.ID”不能包含 Null 值"},
        {"select NOPE from T", -2147217904, "至少一个参数没有被指定值。（找不到字段“NOPE”）"},
        {"CREATE TABLE T (A LONG)", 3010, "表“T”已存在。"},
        {"selec * from T", -2147217900, "SQL 语句有错误：near \"selec\": syntax error"},
        {"select * from T; select * from T", 3142, "在 SQL 语句结尾之后找到字符。"},
        {"   ", 3129, "无效的 SQL 语句"},
        {"select nofunc(1) from T", 3085, "表达式中“nofunc”函数未定义。"},
        {"select clng('abc') from T", 3464, "标准表达式中数据类型不匹配。"},
        {"select clng(3000000000) from T", 6, "溢出"},
        {"select * from T where D = #2024-02-30#", 3075, "查询表达式“#2024-02-30#”中日期的语法错误。"},
    };
    for (const auto& c : cases) {
        const RuntimeError e = errorOf([&] { conn.Execute(QString::fromUtf8(c.sql)); });
        EXPECT_EQ(e.number(), c.number) << c.sql;
        EXPECT_TRUE(e.description().startsWith(QString::fromUtf8(c.text)))
            << c.sql << ": " << e.description().toStdString();
    }
    // Nothing of the failures got in.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T")), QStringLiteral("1"));
}

TEST_F(JetConnection, ChineseTextRoundTripsAndTextComparesWithoutRegardToCaseLikeJet) {
    const QString text = QStringLiteral("管理员·帐套“一”（测试）€");
    conn.Execute(QStringLiteral("INSERT INTO T (ID, S) VALUES ('中', '%1')").arg(text));
    Recordset rs;
    rs.Open(QStringLiteral("select * from T where S = '%1'").arg(text), conn);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(QStringLiteral("s")).Value().toString(), text);
    EXPECT_EQ(rs.Fields(QStringLiteral("ID")).text(), QStringLiteral("中"));

    conn.Execute(QStringLiteral("INSERT INTO T (ID, S) VALUES ('7', 'Admin')"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T where S = 'ADMIN'")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from T where S like 'ad%'")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE S LIKE 'A[D]MIN'")), QStringLiteral("1"));
    // The key is text too: the same key in other letters is a duplicate.
    conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('k')"));
    EXPECT_EQ(errorOf([&] { conn.Execute(QStringLiteral("INSERT INTO T (ID) VALUES ('K')")); }).number(),
              3022);
    // The program sends whole statements in capitals (boolean rewriting).
    EXPECT_EQ(conn.Execute(QStringLiteral("UPDATE T SET N=0,S='ABC' WHERE ID = '7'")), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MAX(CLNG(ID)) AS LS_BM FROM T WHERE ID = '7'")),
              QStringLiteral("7"));
}

TEST_F(JetConnection, ValuesComeBackTypedByTheirColumns) {
    conn.Execute(QStringLiteral(
        "insert into Kinds values ('abc', 7, 12.5, #2024-03-05 14:07:09#, 1, '长文本', 3, 255, "
        "1.5, 2.25, '{6F9619FF-8B86-D011-B42D-00C04FC964FF}', 1.2345, x'0102')"));
    conn.Execute(QStringLiteral("insert into Kinds (A, D, E) values (null, #2024-03-05#, 0)"));
    open(QStringLiteral("select * from Kinds order by B desc"));
    ASSERT_EQ(rs.RecordCount(), 2);
    const struct {
        const char* name;
        int type;
        qint64 size;
        QVariant value;
    } cases[] = {
        {"A", ado::adVarWChar, 10, QStringLiteral("abc")},
        {"B", ado::adInteger, 4, 7},
        {"C", ado::adCurrency, 8, 12.5},
        {"D", ado::adDate, 8, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))},
        {"E", ado::adBoolean, 2, true},
        {"F", ado::adLongVarWChar, 536870910, QStringLiteral("长文本")},
        {"G", ado::adSmallInt, 2, 3},
        {"H", ado::adUnsignedTinyInt, 1, 255},
        {"I", ado::adSingle, 4, 1.5},
        {"J", ado::adDouble, 8, 2.25},
        {"K", ado::adGUID, 16, QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")},
        {"L", ado::adNumeric, 16, 1.2345},
        {"M", ado::adLongVarBinary, 1073741823, QByteArray("\x01\x02")},
    };
    for (const auto& c : cases) {
        const ado::Field f = rs.Fields(QString::fromLatin1(c.name));
        EXPECT_EQ(f.Name(), QString::fromLatin1(c.name));
        EXPECT_EQ(f.Type(), c.type) << c.name;
        EXPECT_EQ(f.DefinedSize(), c.size) << c.name;
        EXPECT_EQ(f.Value(), c.value) << c.name;
        EXPECT_EQ(f.Value().typeId(), c.value.typeId()) << c.name;
    }
    EXPECT_EQ(rs.Fields(QStringLiteral("D")).text(), QStringLiteral("2024-03-05 14:07:09"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Fields(QStringLiteral("A")).isNull());
    EXPECT_TRUE(rs.Fields(QStringLiteral("B")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("D")).text(), QStringLiteral("2024-03-05"));
    EXPECT_EQ(rs.Fields(QStringLiteral("E")).text(), QStringLiteral("False"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());

    // The clock of the engine is a date too.
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    open(QStringLiteral("select now() as sj"));
    const ado::Field now = rs.Fields(QStringLiteral("sj"));
    EXPECT_EQ(now.Type(), ado::adDate);
    ASSERT_EQ(now.Value().typeId(), QMetaType::QDateTime);
    EXPECT_GE(before.secsTo(now.Value().toDateTime()), 0);
    EXPECT_LE(before.secsTo(now.Value().toDateTime()), 3);
}

TEST_F(JetConnection, DateLiteralsCompareWithStoredDates) {
    conn.Execute(QStringLiteral("insert into Kinds (A, D) values ('a', #2024-03-05#)"));
    conn.Execute(QStringLiteral("insert into Kinds (A, D) values ('b', #2024-03-05 14:07:09#)"));
    conn.Execute(QStringLiteral("insert into Kinds (A, D) values ('c', #2024-03-06#)"));
    open(QStringLiteral("select A from Kinds where D = #2024-03-05# or D = #3/6/2024#"));
    EXPECT_EQ(rs.RecordCount(), 2);
    open(QStringLiteral(
        "select A from Kinds where D between #2024-03-05# and #2024-03-05 23:59:59# order by A"));
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields(0).text(), QStringLiteral("a"));
    open(QStringLiteral("select count(*) from Kinds where D < now()"));
    EXPECT_EQ(rs.Fields(0).Value().toInt(), 3);
}

TEST_F(JetConnection, FieldsAreNamedAsJetNamesThemEvenWithoutRows) {
    open(QStringLiteral("select count(*), 1 + 1 as two, sum(B), A from Kinds"));
    ASSERT_EQ(rs.FieldCount(), 4);
    EXPECT_EQ(rs.Fields(0).Name(), QStringLiteral("Expr1000"));
    EXPECT_EQ(rs.Fields(1).Name(), QStringLiteral("two"));
    EXPECT_EQ(rs.Fields(2).Name(), QStringLiteral("Expr1001"));
    EXPECT_EQ(rs.Fields(3).Name(), QStringLiteral("A"));
    EXPECT_EQ(rs.Fields(0).Type(), ado::adInteger);

    // An empty result still describes its fields.
    open(QStringLiteral("select * from ZTML where Id = '99'"));
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 0);
    ASSERT_EQ(rs.FieldCount(), 4);
    EXPECT_EQ(rs.rows().fields[1].name, QStringLiteral("ZTMC"));
    EXPECT_EQ(rs.rows().fields[1].definedSize, 50);
    EXPECT_THROW(rs.Fields(QStringLiteral("ZTMC")), ztgl::RuntimeError);
}

TEST_F(JetConnection, ArbitraryStatementsGiveResultsOrRuntimeErrorsNeverCrashes) {
    conn.Execute(QStringLiteral("INSERT INTO T (ID, N) VALUES ('x', 1)"));
    int failures = 0;
    for (const QString& sql : randomStatements(1500)) {
        try {
            ado::JetDdl::constraints(sql);
            ado::JetCatalog::jetDefault(sql);
            ado::JetLike::match(sql, sql.left(12));
            ado::JetDdl::rewrite(ado::JetSql::rewrite(sql));
        } catch (const ztgl::RuntimeError& e) {
            EXPECT_EQ(e.number(), 3075) << sql;  // only a date literal can be refused here
        }
        try {
            open(sql);
        } catch (const ztgl::RuntimeError& e) {
            EXPECT_FALSE(e.description().isEmpty()) << sql;
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);
    // The connection still works, and the table is still there unless a random statement dropped it.
    EXPECT_NO_THROW(open(QStringLiteral("select 1")));
    EXPECT_NO_THROW(ado::Catalog().Open(db.connectionString()));
}
