// The embedded engine's table definitions: their rewriting (JetDdl), the definitions at work on the engine,
// and the catalogue read back from them (JetCatalog).
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "JetTestDatabase.h"
#include "RuntimeErrorOf.h"
#include "ado/Catalog.h"
#include "ado/DataType.h"
#include "ado/JetCatalog.h"
#include "ado/JetDdl.h"

using namespace Qt::StringLiterals;

using ado::CatalogTable;
using ado::JetCatalog;
using ado::JetDdl;
using ztgl::test::JetTestDatabase;

namespace {

class JetCatalogTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({
            u"CREATE TABLE Goods (Code TEXT(20) NOT NULL, Name TEXT(50) DEFAULT \"新商品\", "
            "Note MEMO DEFAULT 'it''s', Price CURRENCY DEFAULT 0, Qty DOUBLE DEFAULT -1.5, "
            "Added DATETIME DEFAULT now(), Active BIT DEFAULT 1, Kind SHORT, Flags BYTE, Ratio SINGLE, "
            "Id GUID, Amount DECIMAL(18,4), Pic LONGBINARY, Counter COUNTER, Empty TEXT(5) DEFAULT NULL, "
            "Quote TEXT(9) DEFAULT 'say \"hi\"', "
            "CONSTRAINT PK_Goods PRIMARY KEY (Code), CONSTRAINT UQ_Name UNIQUE (Name))"_s,
            u"CREATE TABLE billLines (BillNo TEXT(20) NOT NULL, LineNo LONG NOT NULL, "
            "GoodsCode TEXT(20) REFERENCES Goods (Code), Unit TEXT(10), "
            "PRIMARY KEY (BillNo, LineNo), "
            "CONSTRAINT FK_Lines_Bills FOREIGN KEY (BillNo) REFERENCES Bills (BillNo), UNIQUE "
            "(GoodsCode, Unit))"_s,
            u"CREATE TABLE Bills (BillNo TEXT(20) PRIMARY KEY, Made DATETIME)"_s,
            u"CREATE UNIQUE INDEX IX_Bills_Made ON Bills (Made)"_s,
            u"CREATE INDEX IX_Lines_Unit ON billLines (Unit)"_s,
            u"CREATE TABLE MSysObjects (Id LONG)"_s,
            u"CREATE TABLE ~TMPCLP1 (Id LONG)"_s.replace(u"~TMPCLP1"_s, u"[~TMPCLP1]"_s),
            u"CREATE VIEW vGoods AS SELECT Code, Name, Price * 2 AS Twice FROM Goods"_s,
        });
        catalog.Open(db.connectionString());
    }

    JetTestDatabase db;
    ado::Catalog catalog;
};

}  // namespace

TEST_F(JetCatalogTest, ListsTablesSortedWithoutRegardToCaseAndHidesTheEnginesOwn) {
    // A table of the engine's own (created by an AUTOINCREMENT key) stays out of the catalogue.
    db.exec(
        {u"CREATE TABLE Seq (Id INTEGER PRIMARY KEY AUTOINCREMENT)"_s, u"INSERT INTO Seq DEFAULT VALUES"_s});
    catalog.Open(db.connectionString());
    QStringList names, types;
    for (const auto& t : catalog.Tables()) {
        names << t.name;
        types << t.type;
    }
    EXPECT_EQ(names.join(u","_s), u"billLines,Bills,Goods,MSysObjects,Seq,vGoods,~TMPCLP1"_s);
    EXPECT_EQ(types.join(u","_s), u"TABLE,TABLE,TABLE,SYSTEM TABLE,TABLE,VIEW,TABLE"_s);
    EXPECT_NE(catalog.table(u"GOODS"_s), nullptr);
    EXPECT_EQ(catalog.table(u"sqlite_master"_s), nullptr);
    EXPECT_EQ(catalog.table(u"sqlite_sequence"_s), nullptr);
    const CatalogTable* v = catalog.table(u"vGoods"_s);
    ASSERT_NE(v, nullptr);
    ASSERT_EQ(v->columns.size(), 3);
    EXPECT_EQ(v->columns[0].type, ado::adVarWChar);
    EXPECT_EQ(v->columns[0].definedSize, 20);
    EXPECT_EQ(v->columns[2].name, u"Twice"_s);
    // Keys: primary, then foreign, then unique, unnamed ones named as Jet names them.
    QStringList keys;
    for (const auto& k : catalog.table(u"billLines"_s)->keys)
        keys << u"%1 %2 (%3)"_s.arg(k.type).arg(k.name, k.columns.join(QLatin1Char(',')));
    EXPECT_EQ(keys, QStringList({u"1 PrimaryKey (BillNo,LineNo)"_s, u"2 FK_Lines_Bills (BillNo)"_s,
                                 u"2 GoodsbillLines (GoodsCode)"_s,
                                 u"3 UQ_billLines_GoodsCode_Unit (GoodsCode,Unit)"_s}));
}

TEST(JetCatalogDefault, EngineDefaultsAsJetStoresThem) {
    // clang-format off
    const struct { const char *engine, *jet; } cases[] = {
        {"'abc'", "\"abc\""}, {"'it''s'", "\"it's\""}, {"'say \"hi\"'", "\"say \"\"hi\"\"\""}, {"''", "\"\""}, {"'中文'", "\"中文\""},
        {"0", "0"}, {"-1.5", "-1.5"}, {"(now())", "now()"}, {"((1 + 2))", "1 + 2"}, {"(1) + (2)", "(1) + (2)"}, {"('x')", "\"x\""},
        {"CURRENT_TIMESTAMP", "CURRENT_TIMESTAMP"}, {"NULL", ""}, {"null", ""}, {"", ""}, {"'unclosed", "'unclosed"},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(JetCatalog::jetDefault(QString::fromUtf8(c.engine)), QString::fromUtf8(c.jet)) << c.engine;
}

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

// The rewritten definitions on the engine: memo text, counters and relationships.
TEST(JetDdlEngine, DefinitionsCountersAndRelationshipsWork) {
    ztgl::test::JetTestDatabase db;
    db.exec(
        {u"CREATE TABLE T (F MEMO)"_s, u"INSERT INTO T (F) VALUES ('0012')"_s,
         u"CREATE TABLE N (ID COUNTER NOT NULL, A TEXT(5), CONSTRAINT PK PRIMARY KEY (ID))"_s,
         u"CREATE TABLE U (ID AUTOINCREMENT(100, 10) PRIMARY KEY, A TEXT(5))"_s,
         u"INSERT INTO N (A) VALUES ('a')"_s, u"INSERT INTO N (A) VALUES ('b')"_s,
         u"INSERT INTO N (ID, A) VALUES (10, 'c')"_s, u"INSERT INTO N (A) VALUES ('d')"_s,
         u"INSERT INTO U (A) VALUES ('a')"_s, u"INSERT INTO U (A) VALUES ('b')"_s,
         u"CREATE TABLE P (ID TEXT(10) PRIMARY KEY)"_s,
         u"CREATE TABLE C (ID LONG PRIMARY KEY, PID TEXT(10), CONSTRAINT FK_C_P FOREIGN KEY (PID) REFERENCES P (ID))"_s,
         u"INSERT INTO P VALUES ('p1')"_s});
    using ztgl::test::queryRows;
    const QString cs = db.connectionString();
    EXPECT_EQ(queryRows(cs, u"select F from T"_s), QStringList{u"0012"_s});  // memo keeps text
    EXPECT_EQ(queryRows(cs, u"select ID || A from N order by ID"_s),
              QStringList({u"1a"_s, u"2b"_s, u"10c"_s, u"11d"_s}));
    EXPECT_EQ(queryRows(cs, u"select ID from U order by ID"_s), QStringList({u"100"_s, u"110"_s}));
    // Null needs no parent.
    ztgl::test::execSql(cs, {u"INSERT INTO C VALUES (1, 'p1')"_s, u"INSERT INTO C VALUES (2, null)"_s});
    for (const char* sql : {"INSERT INTO C VALUES (3, 'nobody')", "DELETE FROM P WHERE ID = 'p1'"}) {
        const ztgl::RuntimeError e =
            ztgl::test::errorOf([&] { ztgl::test::execSql(cs, {QString::fromUtf8(sql)}); });
        EXPECT_EQ(e.number(), 3201) << sql;
        EXPECT_EQ(
            e.description(),
            u"不能添加、更改或删除记录：违反了表之间的关系规则（需要相关表中的记录，或相关表中还有记录引用它）。"_s);
    }
}
