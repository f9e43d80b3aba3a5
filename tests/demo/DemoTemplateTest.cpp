#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "RecordingUiPort.h"
#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "creation/ProgressWindow.h"
#include "creation/SchemaCopy.h"
#include "creation/TemplateDatabase.h"
#include "demo/DemoTemplate.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

using namespace ado;

class DemoTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ASSERT_TRUE(dir.isValid());
        folder = dir.path() + QLatin1Char('/');
        QString error;
        ASSERT_TRUE(WriteDemoTemplate(folder + kTemplateFileName, &error)) << error.toStdString();
        catalog.Open(TemplateConnectString(folder));
    }
    void TearDown() override { ResetGlobals(); }

    RowSet query(const QString& sql) {
        Connection conn;
        conn.setConnectionString(TemplateConnectString(folder));
        conn.Open();
        RowSet rows = conn.query(sql);
        conn.Close();
        return rows;
    }
    QStringList columnNames(const QString& table) {
        QStringList names{"(no table)"};
        if (const CatalogTable* t = catalog.table(table)) {
            names.clear();
            for (const auto& c : t->columns)
                names << c.name;
        }
        return names;
    }
    QByteArray templateBytes() const {
        QFile f(folder + kTemplateFileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString folder;
    Catalog catalog;
};

// The tables of a trade and inventory set, the default user and no upgrade marker; text compares
// without regard to case, as in Jet; an existing file is never overwritten.
TEST_F(DemoTemplateTest, HoldsTheTablesOfATradeAndInventorySet) {
    QStringList names;
    for (const auto& t : catalog.Tables())
        if (t.type == QLatin1String("TABLE"))
            names << t.name;
    EXPECT_GE(names.size(), 25);
    for (const char* wanted :
         {"Users",        "BaseLimits",     "User_Permissions",  "Goods",      "GoodsClasses",
          "Units",        "Warehouses",     "Customers",         "Suppliers",  "Staff",
          "Departments",  "PurchaseBills",  "PurchaseBillLines", "SalesBills", "SalesBillLines",
          "StockBills",   "StockBillLines", "Payments",          "Receipts",   "SysParams",
          "BillNumbering"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(wanted))) << wanted;
    EXPECT_EQ(columnNames("BaseLimits"),
              (QStringList{"ID", "lName", "lValue", "lUseFlag", "lVerTag", "lConfigTag", "lPX"}));
    EXPECT_EQ(columnNames("User_Permissions"), (QStringList{"UserID", "OperationID"}));
    EXPECT_EQ(columnNames("Users").mid(0, 3), (QStringList{"Id", "Uname", "PWD"}));

    EXPECT_EQ(query("select Id, Uname from Users").rows, (QVector<QVector<QVariant>>{{"0", "管理员"}}));
    EXPECT_TRUE(query("select * from BaseLimits where ID='10'").rows.isEmpty());
    EXPECT_FALSE(query("select * from User_Permissions where UserID='0'").rows.isEmpty());
    EXPECT_EQ(query("select CSMC from SysParams where CSBH='dwmc'").rows.size(), 1);

    const QByteArray before = templateBytes();
    QString error;
    EXPECT_FALSE(WriteDemoTemplate(folder + kTemplateFileName, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(templateBytes(), before);
}

// The SQL Server copy rebuilds every table of the demo template and copies every row.
TEST_F(DemoTemplateTest, TheSchemaCopyRebuildsAllOfIt) {
    test::RecordingUiPort port;
    gDBType = kSqlServer;
    ProgressWindow progress;
    progress.Show();
    QStringList statements;
    SchemaCopy copy(
        TemplateConnectString(folder), [&](const QString& sql) { statements << sql; }, progress);
    ASSERT_TRUE(copy.XZBJG());
    EXPECT_TRUE(port.messages.isEmpty()) << port.messages.value(0).text.toStdString();

    int tables = 0, rows = 0, expectedRows = 0;
    for (const auto& t : catalog.Tables()) {
        if (t.type != QLatin1String("TABLE"))
            continue;
        ++tables;
        expectedRows += query("select * from " + t.name).rows.size();
    }
    QStringList creates;
    for (const QString& s : statements) {
        if (s.startsWith("CREATE TABLE "))
            creates << s;
        else if (s.startsWith("Insert into "))
            ++rows;
        else
            ADD_FAILURE() << s.toStdString();
    }
    EXPECT_EQ(creates.size(), tables);
    EXPECT_EQ(rows, expectedRows);
    // clang-format off
    for (const char* expected : {
             "CREATE TABLE Units(DWBH nvarchar (6) not null ,DWMC nvarchar (10) not null UNIQUE ,constraint Units_DWBH "
             "primary  key(DWBH))",
             "CREATE TABLE Goods(SPBH nvarchar (20) not null ,SPMC nvarchar (60) not null ,GGXH nvarchar (40) ,LBBH "
             "nvarchar (10) not null ,DWBH nvarchar (6) not null ,TXM nvarchar (20) not null UNIQUE ,JJ Numeric DEFAULT "
             "0 ,SJ Numeric DEFAULT 0 ,ZDKC Decimal DEFAULT 0 ,ZGKC Decimal ,SL Real DEFAULT 0.13 ,TY tinyint not null "
             "DEFAULT 0 ,JDRQ Datetime DEFAULT CURRENT_TIMESTAMP ,SM ntext ,constraint Goods_Key_Kx primary  "
             "key(SPBH,LBBH,DWBH))",
             "CREATE TABLE User_Permissions(UserID nvarchar (10) not null ,OperationID nvarchar (50) not null "
             ",constraint User_Permissions_Key_Kx primary  key(UserID,OperationID))",
             "Insert into Units(DWBH,DWMC) values('01','个')",
             "Insert into Periods(QJ,KSRQ,JSRQ,JZ,JZR) values('2024-01','2024-01-01 00:00:00','2024-01-31 00:00:00',0,null)"})
        EXPECT_TRUE(statements.contains(QString::fromUtf8(expected))) << expected;
    // clang-format on
    bool textDefaultInSingleQuotes = false;
    for (const QString& s : creates) {
        EXPECT_FALSE(s.contains(QLatin1Char('"'))) << s.toStdString();
        textDefaultInSingleQuotes |= s.contains("XB nvarchar (2) DEFAULT '男' ");
    }
    EXPECT_TRUE(textDefaultInSingleQuotes);
}

}  // namespace
}  // namespace ztgl
