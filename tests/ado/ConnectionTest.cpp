#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include "JetFiles.h"
#include "JetTestDatabase.h"
#include "RuntimeErrorOf.h"
#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/DataType.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

using ado::Connection;
using ado::Recordset;
using ztgl::RuntimeError;
using ztgl::test::errorOf;
using ztgl::test::JetTestDatabase;

namespace {

RuntimeError openError(const QString& file) {
    Connection conn;
    conn.setConnectionString(JetTestDatabase::connectionStringFor(file));
    return errorOf([&] { conn.Open(); });
}

class JetConnection : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            {u"CREATE TABLE T (ID TEXT(10) NOT NULL, N LONG, S TEXT(50), CONSTRAINT PK_T PRIMARY KEY (ID))"_s,
             u"CREATE TABLE Kinds (A TEXT(10), B LONG, C CURRENCY, D DATETIME, E BIT, F MEMO, "
             "G SHORT, H BYTE, I SINGLE, J DOUBLE, K GUID, L DECIMAL(18,4), M LONGBINARY)"_s});
        conn.setConnectionString(db.connectionString());
        conn.Open();
    }
    QString scalar(const QString& sql) {
        open(sql);
        return rs.Eof() ? u"<none>"_s : rs.Fields(0).text();
    }
    void open(const QString& sql) { rs.Open(sql, conn); }

    JetTestDatabase db;
    Connection conn;
    Recordset rs;
};

}  // namespace

TEST(JetOpen, MissingAndForeignFilesAreRefusedClearlyAndLeftAsTheyWere) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"KXPUB.MDB"_s);
    RuntimeError e = openError(missing);
    EXPECT_EQ(e.number(), 3024);
    EXPECT_EQ(e.description(), u"找不到文件“%1”。"_s.arg(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(openError(dir.filePath(u"NOWHERE/KXPUB.MDB"_s)).number(), 3044);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"NOWHERE"_s)));
    EXPECT_EQ(openError(dir.path()).number(), 3051);

    const QByteArray junk = QByteArray("not a database!!").leftJustified(4096, '\xa7');
    // Jet and ACE files go to the reader of Jet files (JetFileBadInput).
    const std::pair<const char*, QByteArray> cases[] = {
        {"junk.mdb", junk}, {"empty.mdb", QByteArray()}, {"short.mdb", QByteArray("SQLite format 3")}};
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const QString file = dir.filePath(QString::fromLatin1(name));
        ztgl::test::JetFiles::write(file, bytes);
        e = openError(file);
        EXPECT_EQ(e.number(), 3343);
        EXPECT_TRUE(e.description().contains(u"无法识别的数据库格式"_s) && e.description().contains(file))
            << e.description().toStdString();
        EXPECT_EQ(QFile(file).size(), bytes.size()) << "the file must stay as it was";
    }
}

TEST(JetOpen, DatabasePasswordIsIgnoredAceProviderAndUnusualNamesWorkReadOnlyModeRefusesWrites) {
    JetTestDatabase db;
    JetTestDatabase blanks(u"a b#c?d%20.MDB"_s);
    JetTestDatabase chinese(u"帐套 (1).mdb"_s);
    int n = 0;
    for (const QString& cs : {db.connectionString() + u"secret"_s,
                              JetTestDatabase::connectionStringFor(db.path(), u"Microsoft.ACE.OLEDB.12.0"_s),
                              blanks.connectionString(), chinese.connectionString()}) {
        Connection conn;
        conn.setConnectionString(cs);
        conn.Open();
        EXPECT_NO_THROW(conn.Execute(u"CREATE TABLE T%1 (A LONG)"_s.arg(n++))) << cs.toStdString();
    }
    Connection conn;
    conn.setConnectionString(db.connectionString().replace(u"Mode=Read|Write"_s, u"Mode=Read"_s));
    conn.Open();
    Recordset rs;
    EXPECT_NO_THROW(rs.Open(u"select * from T0"_s, conn));
    const RuntimeError e = errorOf([&] { conn.Execute(u"INSERT INTO T0 VALUES (1)"_s); });
    EXPECT_EQ(e.number(), 3027);
    EXPECT_EQ(e.description(), u"不能更新。数据库或对象为只读。"_s);
}

TEST(JetDatabase, CreatesAnEmptyDatabaseOnlyWhereNoneIs) {
    QTemporaryDir dir;
    const QString file = dir.filePath(u"新帐套.MDB"_s);
    ado::CreateJetDatabase(file);
    Connection conn;
    conn.setConnectionString(JetTestDatabase::connectionStringFor(file));
    conn.Open();
    EXPECT_TRUE(conn.readCatalog().tables.isEmpty());
    conn.Close();
    const RuntimeError exists = errorOf([&] { ado::CreateJetDatabase(file); });
    EXPECT_EQ(exists.number(), 3204);
    EXPECT_EQ(exists.description(), u"数据库“%1”已存在。"_s.arg(file));
    EXPECT_EQ(errorOf([&] { ado::CreateJetDatabase(dir.filePath(u"no/such/X.MDB"_s)); }).number(), 3044);
}

TEST_F(JetConnection, ExecuteReturnsTheRowsAffectedAndTransactionsCommitRollBackAndNest) {
    // clang-format off
    const struct { const char* sql; int rows; } statements[] = {
        {"INSERT INTO T (ID, N) VALUES ('1', 1)", 1}, {"INSERT INTO T (ID, N) VALUES ('2', 2)", 1}, {"UPDATE T SET N = N + 1", 2},
        {"UPDATE T SET N = 0 WHERE ID = 'x'", 0}, {"DELETE FROM T WHERE ID = '1';", 1}, {"CREATE TABLE U (A LONG)", -1}, {"DELETE FROM T", 1}};
    // clang-format on
    for (const auto& s : statements)
        EXPECT_EQ(conn.Execute(QString::fromLatin1(s.sql)), s.rows) << s.sql;
    const auto insert = [&](const char* id) {
        conn.Execute(u"INSERT INTO T (ID) VALUES ('%1')"_s.arg(QLatin1String(id)));
    };
    conn.BeginTrans();
    insert("a");
    conn.RollbackTrans();
    EXPECT_EQ(scalar(u"select count(*) from T"_s), u"0"_s);
    conn.BeginTrans();
    insert("a");
    conn.BeginTrans();
    insert("b");
    conn.RollbackTrans();
    conn.BeginTrans();
    insert("c");
    conn.CommitTrans();
    conn.CommitTrans();
    EXPECT_EQ(scalar(u"select count(*) from T where ID in ('a','c')"_s), u"2"_s);
    EXPECT_EQ(scalar(u"select count(*) from T"_s), u"2"_s);
    EXPECT_EQ(errorOf([&] { conn.CommitTrans(); }).number(), 3034);
    EXPECT_EQ(errorOf([&] { conn.RollbackTrans(); }).number(), 3034);
    // Closing rolls an open transaction back.
    conn.BeginTrans();
    insert("d");
    conn.Close();
    conn.Close();  // closing twice is harmless
    conn.Open();
    EXPECT_EQ(scalar(u"select count(*) from T"_s), u"2"_s);
}

TEST_F(JetConnection, FailuresCarryJetNumbersAndClearTexts) {
    conn.Execute(u"INSERT INTO T (ID, N) VALUES ('1', 1)"_s);
    // clang-format off
    const struct { const char* sql; int number; const char* text; } cases[] = {  // text: the start of the description
        {"select * from NOSUCH", 3078, "找不到输入表或查询“NOSUCH”。请确定它是否存在，以及它的名称的拼写是否正确。"},
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
    // clang-format on
    for (const auto& c : cases) {
        const RuntimeError e = errorOf([&] { conn.Execute(QString::fromUtf8(c.sql)); });
        EXPECT_EQ(e.number(), c.number) << c.sql;
        EXPECT_TRUE(e.description().startsWith(QString::fromUtf8(c.text)))
            << c.sql << ": " << e.description().toStdString();
    }
    // Nothing of the failures got in.
    EXPECT_EQ(scalar(u"select count(*) from T"_s), u"1"_s);
}

TEST_F(JetConnection, ValuesComeBackTypedByTheirColumns) {
    conn.Execute(
        u"insert into Kinds values ('abc', 7, 12.5, #2024-03-05 14:07:09#, 1, '长文本', 3, 255, "
        "1.5, 2.25, '{6F9619FF-8B86-D011-B42D-00C04FC964FF}', 1.2345, x'0102')"_s);
    conn.Execute(u"insert into Kinds (A, D, E) values (null, #2024-03-05#, 0)"_s);
    open(u"select * from Kinds order by B desc"_s);
    ASSERT_EQ(rs.RecordCount(), 2);
    // clang-format off
    const struct { const char* name; int type; qint64 size; QVariant value; } cases[] = {
        {"A", ado::adVarWChar, 10, u"abc"_s}, {"B", ado::adInteger, 4, 7}, {"C", ado::adCurrency, 8, 12.5},
        {"D", ado::adDate, 8, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))}, {"E", ado::adBoolean, 2, true},
        {"F", ado::adLongVarWChar, 536870910, u"长文本"_s}, {"G", ado::adSmallInt, 2, 3}, {"H", ado::adUnsignedTinyInt, 1, 255},
        {"I", ado::adSingle, 4, 1.5}, {"J", ado::adDouble, 8, 2.25}, {"K", ado::adGUID, 16, u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s},
        {"L", ado::adNumeric, 16, 1.2345}, {"M", ado::adLongVarBinary, 1073741823, QByteArray("\x01\x02")},
    };
    // clang-format on
    for (const auto& c : cases) {
        const ado::Field f = rs.Fields(QString::fromLatin1(c.name));
        EXPECT_EQ(f.Type(), c.type) << c.name;
        EXPECT_EQ(f.DefinedSize(), c.size) << c.name;
        EXPECT_EQ(f.Value(), c.value) << c.name;
        EXPECT_EQ(f.Value().typeId(), c.value.typeId()) << c.name;
    }
    EXPECT_EQ(rs.Fields(u"D"_s).text(), u"2024-03-05 14:07:09"_s);
    EXPECT_EQ(rs.Fields(u"I"_s).text() + u' ' + rs.Fields(u"J"_s).text(), u"1.5 2.25"_s);
    rs.MoveNext();
    EXPECT_TRUE(rs.Fields(u"A"_s).isNull() && rs.Fields(u"B"_s).isNull());
    EXPECT_EQ(rs.Fields(u"D"_s).text(), u"2024-03-05"_s);
    EXPECT_EQ(rs.Fields(u"E"_s).text(), u"False"_s);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
}

TEST_F(JetConnection, FieldsAreNamedAsJetNamesThemEvenWithoutRows) {
    open(u"select count(*), 1 + 1 as two, sum(B), A from Kinds"_s);
    QStringList names;
    for (int i = 0; i < rs.FieldCount(); ++i)
        names << rs.Fields(i).Name();
    EXPECT_EQ(names, QStringList({u"Expr1000"_s, u"two"_s, u"Expr1001"_s, u"A"_s}));
    EXPECT_EQ(rs.Fields(0).Type(), ado::adInteger);

    // An empty result still describes its fields.
    open(u"select * from T where ID = '99'"_s);
    EXPECT_TRUE(rs.Eof() && rs.RecordCount() == 0);
    ASSERT_EQ(rs.FieldCount(), 3);
    EXPECT_TRUE(rs.rows().fields[2].name == u"S"_s && rs.rows().fields[2].definedSize == 50);
    EXPECT_THROW(rs.Fields(u"S"_s), ztgl::RuntimeError);
}

// The reading of statements (fuzz_jet_sql) and LIKE (fuzz_jet_like) are fuzzed; this runs broken statements
// through the engine itself: pieces of real ones in random order, seeded so that a failure repeats.
TEST_F(JetConnection, ArbitraryStatementsGiveResultsOrRuntimeErrorsNeverCrashes) {
    conn.Execute(u"INSERT INTO T (ID, N) VALUES ('x', 1)"_s);
    // clang-format off
    const QStringList pieces = u"CREATE TABLE ALTER ADD COLUMN T [T ] ( ) , ' \" # #2024-03-05# TEXT (10) COUNTER AUTOINCREMENT (1, NOT NULL "
        "DEFAULT now () PRIMARY KEY UNIQUE FOREIGN REFERENCES CONSTRAINT WITH COMP COLLATE NOCASE select * from "
        "where like '%[_]%' & clng( -- /* ; 中文 1 -1.5 e `"_s.split(QLatin1Char(' '));
    QStringList statements = {u"CREATE TABLE T (A AUTOINCREMENT("_s, u"CREATE TABLE T (A TEXT(10) DEFAULT now("_s, u"ALTER TABLE T ADD"_s, u"CREATE TABLE T (CONSTRAINT"_s, u"#"_s};
    // clang-format on
    QRandomGenerator rng(20240305);
    for (int i = 0; i < 1500; ++i) {
        QString s;
        for (int k = rng.bounded(1, 14); k > 0; --k)
            s += pieces[rng.bounded(int(pieces.size()))] + QLatin1Char(' ');
        statements << s;
    }
    int failures = 0;
    for (const QString& sql : statements) {
        try {
            open(sql);
        } catch (const ztgl::RuntimeError& e) {
            EXPECT_FALSE(e.description().isEmpty()) << sql;
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);
    // The connection still works, and the catalogue still reads.
    EXPECT_NO_THROW(open(u"select 1"_s));
    EXPECT_NO_THROW(ado::Catalog().Open(db.connectionString()));
}
