#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "JetTestDatabase.h"
#include "ado/Catalog.h"
#include "ado/DataType.h"
#include "ado/JetCatalog.h"

using namespace Qt::StringLiterals;

using ado::CatalogColumn;
using ado::CatalogTable;
using ado::JetCatalog;
using ztgl::test::JetTestDatabase;

namespace {

// The provider properties of a column as "Name=value" in their order.
QStringList propertiesOf(const CatalogColumn& c) {
    QStringList out;
    for (const auto& p : c.properties) {
        const QString value = p.second.typeId() == QMetaType::Bool
                                  ? (p.second.toBool() ? u"true"_s : u"false"_s)
                                  : p.second.toString();
        out << p.first + QLatin1Char('=') + value;
    }
    return out;
}

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

    // Read again after changes.
    db.exec({u"DROP TABLE MSysObjects"_s, u"ALTER TABLE Bills ADD Memo MEMO"_s});
    catalog.Open(db.connectionString());
    EXPECT_EQ(catalog.table(u"MSysObjects"_s), nullptr);
    const ado::CatalogColumn* memo = catalog.table(u"Bills"_s)->column(u"Memo"_s);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->type, ado::adLongVarWChar);
}

TEST_F(JetCatalogTest, ColumnsCarryTypeSizeAndJetProperties) {
    const CatalogTable* goods = catalog.table(u"Goods"_s);
    ASSERT_NE(goods, nullptr);
    // Properties separated by "|"; "<AF>" is "Autoincrement=false", "<N>" "Nullable=true".
    // clang-format off
    const struct { const char* name; int type; qint64 size; const char* properties; } expected[] = {
        {"Code", ado::adVarWChar, 20, "<AF>|Nullable=false"}, {"Name", ado::adVarWChar, 50, "<AF>|Default=\"新商品\"|<N>"},
        {"Note", ado::adLongVarWChar, 536870910, "<AF>|Default=\"it's\"|<N>"}, {"Price", ado::adCurrency, 8, "<AF>|Default=0|<N>"},
        {"Qty", ado::adDouble, 8, "<AF>|Default=-1.5|<N>"}, {"Added", ado::adDate, 8, "<AF>|Default=now()|<N>"},
        {"Active", ado::adBoolean, 2, "<AF>|Default=1|<N>"}, {"Kind", ado::adSmallInt, 2, "<AF>|<N>"}, {"Flags", ado::adUnsignedTinyInt, 1, "<AF>|<N>"},
        {"Ratio", ado::adSingle, 4, "<AF>|<N>"}, {"Id", ado::adGUID, 16, "<AF>|<N>"}, {"Amount", ado::adNumeric, 16, "<AF>|<N>"},
        {"Pic", ado::adLongVarBinary, 1073741823, "<AF>|<N>"}, {"Counter", ado::adInteger, 4, "Autoincrement=true|Nullable=false"},
        {"Empty", ado::adVarWChar, 5, "<AF>|<N>"}, {"Quote", ado::adVarWChar, 9, "<AF>|Default=\"say \"\"hi\"\"\"|<N>"},
    };
    // clang-format on
    ASSERT_EQ(goods->columns.size(), int(std::size(expected)));
    for (int i = 0; i < goods->columns.size(); ++i) {
        const CatalogColumn& c = goods->columns[i];
        EXPECT_EQ(c.name, QString::fromLatin1(expected[i].name));
        EXPECT_EQ(c.type, expected[i].type) << expected[i].name;
        EXPECT_EQ(c.definedSize, expected[i].size) << expected[i].name;
        EXPECT_EQ(propertiesOf(c).join(QLatin1Char('|')), QString::fromUtf8(expected[i].properties)
                                                              .replace(u"<AF>"_s, u"Autoincrement=false"_s)
                                                              .replace(u"<N>"_s, u"Nullable=true"_s))
            << expected[i].name;
    }
    EXPECT_FALSE(goods->columns[0].hasProperty(u"Default"_s));
    EXPECT_EQ(goods->column(u"Name"_s)->property(u"Nullable"_s), QVariant(true));
}

TEST_F(JetCatalogTest, KeysArePrimaryThenForeignThenUniqueEachByName) {
    const auto keysOf = [&](const char* table) {
        QStringList out;
        for (const auto& k : catalog.table(QString::fromLatin1(table))->keys)
            out << u"%1 %2 (%3)"_s.arg(k.type).arg(k.name, k.columns.join(QLatin1Char(',')));
        return out;
    };
    EXPECT_EQ(keysOf("Goods"), QStringList({u"1 PK_Goods (Code)"_s, u"3 UQ_Name (Name)"_s}));
    EXPECT_EQ(keysOf("billLines"),
              QStringList({u"1 PrimaryKey (BillNo,LineNo)"_s, u"2 FK_Lines_Bills (BillNo)"_s,
                           u"2 GoodsbillLines (GoodsCode)"_s,
                           u"3 UQ_billLines_GoodsCode_Unit (GoodsCode,Unit)"_s}));
    EXPECT_EQ(keysOf("Bills"), QStringList({u"1 PrimaryKey (BillNo)"_s, u"3 IX_Bills_Made (Made)"_s}));
    EXPECT_TRUE(keysOf("MSysObjects").isEmpty());
    EXPECT_TRUE(keysOf("vGoods").isEmpty());
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
