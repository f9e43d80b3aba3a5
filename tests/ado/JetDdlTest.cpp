#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "JetTestDatabase.h"
#include "RuntimeErrorOf.h"
#include "ado/Connection.h"
#include "ado/JetDdl.h"
#include "ado/Recordset.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

using ado::JetConstraint;
using ado::JetDdl;

TEST(JetDdlRewrite, ColumnDefinitionsBecomeTheEngines) {
    // clang-format off
    const struct { const char *in, *out; } cases[] = {
        {"CREATE TABLE T (A TEXT(10) NOT NULL, B LONG)", "CREATE TABLE T (A TEXT(10) COLLATE NOCASE NOT NULL, B LONG)"},
        {"CREATE TABLE T (A TEXT(10) COLLATE NOCASE NOT NULL)", "CREATE TABLE T (A TEXT(10) COLLATE NOCASE NOT NULL)"},
        {"CREATE TABLE T (A TEXT(10) COLLATE BINARY)", "CREATE TABLE T (A TEXT(10) COLLATE BINARY)"},
        {"CREATE TABLE T (F MEMO, G NOTE NOT NULL)", "CREATE TABLE T (F MEMO TEXT COLLATE NOCASE, G NOTE TEXT COLLATE NOCASE NOT NULL)"},
        {"CREATE TABLE T (A ALPHANUMERIC(5))", "CREATE TABLE T (A ALPHANUMERIC TEXT(5) COLLATE NOCASE)"},
        {"create table [帐套] ([名称] varchar(20), [备注] longtext)", "create table [帐套] ([名称] varchar(20) COLLATE NOCASE, [备注] longtext COLLATE NOCASE)"},
        {"CREATE TABLE T (D DATETIME DEFAULT now(), E DATETIME DEFAULT (now()))", "CREATE TABLE T (D DATETIME DEFAULT (now()), E DATETIME DEFAULT (now()))"},
        {"CREATE TABLE T (A TEXT(50) WITH COMPRESSION, B TEXT(5) WITH COMP NOT NULL)", "CREATE TABLE T (A TEXT(50) COLLATE NOCASE , B TEXT(5) COLLATE NOCASE  NOT NULL)"},
        {"CREATE TABLE T (ID COUNTER NOT NULL PRIMARY KEY, A LONG)", "CREATE TABLE T (ID COUNTER  PRIMARY KEY, A LONG)"},
        {"CREATE TABLE T (ID AUTOINCREMENT(100, 5), CONSTRAINT PK PRIMARY KEY (ID))", "CREATE TABLE T (ID COUNTER, CONSTRAINT PK PRIMARY KEY (ID))"},
        {"ALTER TABLE T ADD COLUMN C TEXT(5)", "ALTER TABLE T ADD COLUMN C TEXT(5) COLLATE NOCASE"}, {"ALTER TABLE T ADD C MEMO;", "ALTER TABLE T ADD C MEMO TEXT COLLATE NOCASE;"},
        // Not definitions: unchanged.
        {"INSERT INTO T (A) VALUES ('TEXT(10)')", "INSERT INTO T (A) VALUES ('TEXT(10)')"}, {"CREATE INDEX I ON T (A)", "CREATE INDEX I ON T (A)"},
        {"CREATE TABLE T AS SELECT * FROM U", "CREATE TABLE T AS SELECT * FROM U"}, {"CREATE TABLE", "CREATE TABLE"}, {"CREATE TABLE T (", "CREATE TABLE T ("},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(JetDdl::rewrite(QString::fromUtf8(c.in)).sql, QString::fromUtf8(c.out)) << c.in;
    // Counters get a numbering trigger.
    const JetDdl::Plan plan = JetDdl::rewrite(u"CREATE TABLE T (ID AUTOINCREMENT(100, 5), A LONG)"_s);
    ASSERT_EQ(plan.after.size(), 1);
    EXPECT_EQ(plan.after[0],
              u"CREATE TRIGGER [T_ID_Counter] AFTER INSERT ON [T] FOR EACH ROW WHEN NEW.[ID] IS NULL BEGIN "
              "UPDATE [T] SET [ID] = (SELECT IFNULL(MAX([ID]) + 5, 100) FROM [T]) WHERE rowid = NEW.rowid; "
              "END"_s);
    EXPECT_TRUE(JetDdl::rewrite(u"CREATE TABLE T (A LONG)"_s).after.isEmpty());
}

TEST(JetDdlConstraints, ReadsEveryKeyOfADefinition) {
    const QVector<JetConstraint> keys = JetDdl::constraints(
        u"CREATE TABLE [Order Lines] (A TEXT(10) COLLATE NOCASE NOT NULL, B LONG CONSTRAINT UQ_B UNIQUE, "
        "C LONG REFERENCES Parent (X) ON DELETE CASCADE, D LONG UNIQUE, E TEXT(5) CHECK (E <> 'UNIQUE'), "
        "CONSTRAINT PK_OL PRIMARY KEY (A, [B]), CONSTRAINT FK_OL FOREIGN KEY (D, E) REFERENCES [Other] (P, "
        "Q), "
        "UNIQUE (C, D), FOREIGN KEY (A) REFERENCES Third)"_s);
    // clang-format off
    const struct { JetConstraint::Kind kind; const char* name; QStringList columns; const char* ref; } expected[] = {
        {JetConstraint::Unique, "UQ_B", {u"B"_s}, ""}, {JetConstraint::Foreign, "", {u"C"_s}, "Parent"}, {JetConstraint::Unique, "", {u"D"_s}, ""},
        {JetConstraint::Primary, "PK_OL", {u"A"_s, u"B"_s}, ""}, {JetConstraint::Foreign, "FK_OL", {u"D"_s, u"E"_s}, "Other"},
        {JetConstraint::Unique, "", {u"C"_s, u"D"_s}, ""}, {JetConstraint::Foreign, "", {u"A"_s}, "Third"},
    };
    // clang-format on
    ASSERT_EQ(keys.size(), int(std::size(expected)));
    for (int i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].kind, expected[i].kind) << i;
        EXPECT_EQ(keys[i].name, QString::fromUtf8(expected[i].name)) << i;
        EXPECT_EQ(keys[i].columns, expected[i].columns) << i;
        EXPECT_EQ(keys[i].refTable, QString::fromUtf8(expected[i].ref)) << i;
    }
    EXPECT_TRUE(JetDdl::constraints(u"CREATE VIEW V AS SELECT 1"_s).isEmpty());
    EXPECT_TRUE(JetDdl::constraints(u"CREATE TABLE T (A LONG"_s).isEmpty());
}

// The rewritten definitions on the engine: defaults, memo text, counters and relationships.
TEST(JetDdlEngine, DefinitionsCountersAndRelationshipsWork) {
    ztgl::test::JetTestDatabase db;
    db.exec(
        {u"CREATE TABLE T (A TEXT(10) COLLATE NOCASE NOT NULL, B LONG DEFAULT 0, C CURRENCY, "
         "D DATETIME DEFAULT (now()), E BIT, F MEMO, CONSTRAINT PK_T PRIMARY KEY (A))"_s,
         u"INSERT INTO T (A, F) VALUES ('a', '0012')"_s,
         u"CREATE TABLE N (ID COUNTER NOT NULL, A TEXT(5), CONSTRAINT PK PRIMARY KEY (ID))"_s,
         u"CREATE TABLE U (ID AUTOINCREMENT(100, 10) PRIMARY KEY, A TEXT(5))"_s,
         u"INSERT INTO N (A) VALUES ('a')"_s, u"INSERT INTO N (A) VALUES ('b')"_s,
         u"INSERT INTO N (ID, A) VALUES (10, 'c')"_s, u"INSERT INTO N (A) VALUES ('d')"_s,
         u"INSERT INTO U (A) VALUES ('a')"_s, u"INSERT INTO U (A) VALUES ('b')"_s,
         u"CREATE TABLE P (ID TEXT(10) PRIMARY KEY)"_s,
         u"CREATE TABLE C (ID LONG PRIMARY KEY, PID TEXT(10), CONSTRAINT FK_C_P FOREIGN KEY (PID) REFERENCES P (ID))"_s,
         u"INSERT INTO P VALUES ('p1')"_s});
    ado::Connection conn;
    conn.setConnectionString(db.connectionString());
    conn.Open();
    ado::Recordset rs;
    rs.Open(u"select * from T"_s, conn);
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(u"B"_s).Value().toInt(), 0);
    EXPECT_EQ(rs.Fields(u"D"_s).Value().toDateTime().date(), QDate::currentDate());
    EXPECT_EQ(rs.Fields(u"F"_s).Value().toString(), u"0012"_s);  // memo keeps text
    EXPECT_TRUE(rs.Fields(u"E"_s).isNull());

    const auto column = [&](const char* sql) {
        QStringList got;
        for (rs.Open(QString::fromLatin1(sql), conn); !rs.Eof(); rs.MoveNext())
            got << rs.Fields(0).text();
        return got.join(QLatin1Char(' '));
    };
    EXPECT_EQ(column("select ID || A from N order by ID"), u"1a 2b 10c 11d"_s);
    EXPECT_EQ(column("select ID from U order by ID"), u"100 110"_s);

    EXPECT_EQ(conn.Execute(u"INSERT INTO C VALUES (1, 'p1')"_s), 1);
    EXPECT_EQ(conn.Execute(u"INSERT INTO C VALUES (2, null)"_s), 1);  // Null needs no parent
    for (const char* sql : {"INSERT INTO C VALUES (3, 'nobody')", "DELETE FROM P WHERE ID = 'p1'"}) {
        const ztgl::RuntimeError e = ztgl::test::errorOf([&] { conn.Execute(QString::fromUtf8(sql)); });
        EXPECT_EQ(e.number(), 3201) << sql;
        EXPECT_EQ(
            e.description(),
            u"不能添加、更改或删除记录：违反了表之间的关系规则（需要相关表中的记录，或相关表中还有记录引用它）。"_s);
    }
}
