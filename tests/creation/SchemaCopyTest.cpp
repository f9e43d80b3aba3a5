#include <QDateTime>
#include <QRegularExpression>

#include "CreationFixture.h"
#include "creation/SchemaCopy.h"
#include "creation/SqlTypeName.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {
namespace {

using namespace ado;

CatalogColumn col(const QString& name, int type, qint64 size = 0, bool nullable = true,
                  const QVariant& def = QVariant()) {
    return ScriptedTemplate::column(name, type, size, nullable, def);
}
// A column without the Nullable property.
CatalogColumn bareColumn(const QString& name) {
    CatalogColumn c;
    c.name = name;
    c.type = adInteger;
    return c;
}

class SchemaCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gDBType = kSqlServer;
        ProgressSteps::attach(progress, log, [](const PW& w) {  // every caption and bar change
            return QStringLiteral("L1=%1|L2=%2|B1=%3/%4|B2=%5/%6")
                .arg(w.caption(PW::Label1), w.caption(PW::Label2))
                .arg(w.value(PW::ProgressBar1))
                .arg(w.max(PW::ProgressBar1))
                .arg(w.value(PW::ProgressBar2))
                .arg(w.max(PW::ProgressBar2));
        });
        progress.Show();
    }
    void TearDown() override { ResetGlobals(); }

    // Runs the copy; statements matching `failing` throw like a refusing server.
    bool run(const QString& failing = QString()) {
        SchemaCopy copy(
            TemplateConnectString("/prog/"),
            [this, failing](const QString& sql) {
                if (!failing.isEmpty() && QRegularExpression(failing).match(sql).hasMatch())
                    throw RuntimeError(-2147217900, "服务器拒绝了语句");
                statements << sql;
            },
            progress);
        return copy.XZBJG();
    }

    RecordingUiPort port;
    ScriptedTemplate tpl;
    ProgressWindow progress;
    QStringList log;
    QStringList statements;
};

// One template for every shape (the other shapes: see the demo template's copy): what each column
// contributes to its statement; the first key holding a column decides (a single primary-key column
// names the constraint after it); double quotes become single ones in the whole statement (a default
// holding a single quote stays as Jet stored it and breaks the server's statement); system and
// temporary entries are skipped but counted; every row is one statement; the template is read once.
TEST_F(SchemaCopyTest, WritesEveryShapeAndCopiesTheRows) {
    const auto a = col("A", adInteger);
    tpl.addTable("S", {col("U", 15, 0), col("K", adSmallInt, 2, false), bareColumn("N"),
                       col("Bt", adUnsignedTinyInt, 1), col("F", adBoolean, 2, false, 1)});
    tpl.addTable("T", {col("A", adInteger, 4, false), col("B", adInteger, 4, false)});
    tpl.addKey("T", "UQ_A", adKeyUnique, {"A"});
    tpl.addKey("T", "PrimaryKey", adKeyPrimary, {"A", "B"});
    tpl.addTable("Q",
                 {col("A", adVarWChar, 10, true, "\"a\"\"b\""), col("B", adVarWChar, 10, true, "\"it's\"")});
    tpl.addTable("MSysObjects", {a}, "SYSTEM TABLE");
    tpl.addTable("msysaces", {a}, "SYSTEM TABLE");
    tpl.addTable("~TMPCLP1234", {a});
    tpl.addTable("Units", {a}, "VIEW");
    tpl.addTable("R", {col("A", adVarWChar, 20), col("B", adInteger), col("C", adBoolean), col("D", adDate)});
    tpl.setRows("R", {{"x", 1, true, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))},
                      {" O'Brien ", QVariant(), false, QVariant()},
                      {"中文", -2, QVariant(), QDateTime(QDate(2024, 1, 1), QTime())},
                      {"", 0, false, QVariant()}});
    ASSERT_TRUE(run());
    EXPECT_EQ(
        statements,
        (QStringList{
            "CREATE TABLE S(U  ,K SmallInt not null ,N Integer ,Bt tinyint ,F tinyint not null DEFAULT 1 )",
            "CREATE TABLE T(A Integer not null UNIQUE ,B Integer not null ,constraint T_B primary  key(B))",
            "CREATE TABLE Q(A nvarchar (10) DEFAULT 'a''b' ,B nvarchar (10) DEFAULT 'it's' )",
            "CREATE TABLE Units(A Integer )",
            "CREATE TABLE R(A nvarchar (20) ,B Integer ,C tinyint ,D Datetime )",
            "Insert into R(A,B,C,D) values('x',1,1,'2024-03-05 14:07:09')",
            "Insert into R(A,B,C,D) values('O''Brien',null,0,null)",
            "Insert into R(A,B,C,D) values('中文',-2,null,'2024-01-01 00:00:00')",
            "Insert into R(A,B,C,D) values('',0,0,null)"}));
    EXPECT_TRUE(port.messages.isEmpty());
    // The second bar counts a table's columns, then its rows and one more; a table without rows keeps
    // its structure step.
    EXPECT_TRUE(log.contains("L1=正在创建Units表，请稍后……|L2=正在创建Units表结构|B1=8/8|B2=1/1"));
    EXPECT_TRUE(log.contains("L1=正在创建R表，请稍后……|L2=正在创建R表结构|B1=8/8|B2=4/4"));
    EXPECT_EQ(log.back(), "L1=正在创建R表，请稍后……|L2=正在插入表R的初始数据|B1=8/8|B2=4/5");
    EXPECT_TRUE(progress.isVisible(PW::Label2) && progress.isVisible(PW::ProgressBar2));
    // Once per entry while collecting names, once per entry while creating, once per column.
    EXPECT_EQ(port.doEventsCount, 8 + 8 + 14);
    EXPECT_EQ(tpl.opens, 1);
    EXPECT_EQ(tpl.catalogReads, 1);
    EXPECT_EQ(tpl.queries(), (QStringList{"Select * From S", "Select * From T", "Select * From Q",
                                          "Select * From Units", "Select * From R"}));
}

// A table whose statement fails, whose row fails or that the template cannot read is reported;
// the rows before stay and the next table is still created.
TEST_F(SchemaCopyTest, AFailingTableIsReportedAndTheNextOneIsStillCreated) {
    const auto a = col("A", adInteger);
    const QString refused = "CreatTable::服务器拒绝了语句";
    const QStringList next = {"CREATE TABLE U(A Integer )", "Insert into U(A) values(4)"};
    // clang-format off
    const struct { const char *first, *failing, *unreadable; QStringList before; QString message; } cases[] = {
        {"Order Details", "^CREATE TABLE Order Details", "", {}, refused},
        {"T", "values\\(2\\)", "", {"CREATE TABLE T(A Integer )", "Insert into T(A) values(1)"}, refused},
        {"T", "", "T", {}, "CreatTable::找不到输入表"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        statements.clear();
        port.messages.clear();
        ScriptedTemplate fresh;
        fresh.addTable(c.first, {a});
        fresh.setRows(c.first, {{1}, {2}, {3}});
        fresh.addTable("U", {a});
        fresh.setRows("U", {{4}});
        if (*c.unreadable)
            fresh.failQueryOn(QString::fromUtf8(c.unreadable), "找不到输入表");
        ASSERT_TRUE(run(QString::fromUtf8(c.failing)));
        EXPECT_EQ(statements, c.before + next);
        EXPECT_EQ(shownLines(port), QStringList{msgLine(c.message)});
    }
}

TEST_F(SchemaCopyTest, LooksUpNullabilityDefaultsAndKeys) {
    tpl.addTable("T",
                 {col("Req", adInteger, 4, false, 7), col("Opt", adVarWChar, 5, true), bareColumn("Bare")});
    tpl.addKey("T", "FK", adKeyForeign, {"OPT"});
    SchemaCopy copy(
        TemplateConnectString("/prog/"), [](const QString&) {}, progress);
    QString def = "stale";
    EXPECT_EQ(copy.GetFieldIndex("T", "Req", def), "True");
    EXPECT_EQ(def, "7");
    EXPECT_EQ(copy.GetFieldIndex("t", "opt", def), "False");
    EXPECT_EQ(def, QString());
    EXPECT_EQ(copy.GetFieldIndex("T", "Bare", def), QString());
    EXPECT_EQ(copy.GetFieldIndex("T", "Missing", def), "False");
    EXPECT_EQ(copy.GetFieldIndex("Nowhere", "Req", def), "False");

    int type = 0;
    EXPECT_TRUE(copy.CheckKeys("T", "opt", type));
    EXPECT_EQ(type, adKeyForeign);
    EXPECT_FALSE(copy.CheckKeys("T", "Req", type));
    EXPECT_THROW(copy.CheckKeys("Nowhere", "Req", type), RuntimeError);
    EXPECT_EQ(tpl.catalogReads, 1);
}

// Every ADO type code the copy knows, and codes it does not (an empty name).
TEST(GetSqlTypeName, EveryCode) {
    const std::pair<int, const char*> cases[] = {
        // clang-format off
        {0, "Empty"}, {2, "SmallInt"}, {3, "Integer"}, {4, "Real"}, {5, "Decimal"}, {6, "Numeric"},
        {7, "Datetime"}, {8, "BSTR"}, {9, "IDispatch"}, {10, "Error"}, {11, "tinyint"}, {12, "Variant"},
        {13, "adIUnknown"}, {14, "Decimal"}, {16, "TinyInt"}, {17, "tinyint"}, {18, "UnsignedSmallInt"},
        {19, "UnsignedInt"}, {20, "BigInt"}, {21, "UnsignedBigInt"}, {72, "GUID"}, {128, "Binary"}, {129, "Char"},
        {130, "WChar"}, {131, "Numeric"}, {132, "UserDefined"}, {133, "DBDate"}, {134, "DBTime"},
        {135, "DBTimeStamp"}, {200, "VarChar"}, {201, "LongVarChar"}, {202, "nvarchar"}, {203, "ntext"},
        {204, "VarBinary"}, {205, "LongVarBinary"}, {8192, "Array"},
        {-1, ""}, {1, ""}, {15, ""}, {22, ""}, {64, ""}, {136, ""}, {206, ""}, {8193, ""}, {0x2000 | 202, ""},
        // clang-format on
    };
    for (const auto& [code, name] : cases)
        EXPECT_EQ(GetSqlTypeName(code), QString::fromLatin1(name)) << code;
}

// A view lives from showing to unloading and hears every change; every showing starts from the load
// state, whatever the one before left (the load state itself: FrmProgressBar's test); values stay
// inside the bar's range.
TEST(ProgressWindow, ViewsShowingsAndRanges) {
    QStringList steps;
    PW w;
    ProgressSteps::attach(w, steps);
    w.setCaption(PW::Label1, "x");  // not shown yet: no view
    EXPECT_FALSE(w.isLoaded() || w.isVisible(PW::Label1));
    EXPECT_TRUE(steps.isEmpty());
    w.Show();
    w.Refresh();
    w.setCaption(PW::Label3, "正在创建帐套“华东公司”");
    EXPECT_EQ(steps, (QStringList{"|", "repaint", "正在创建帐套“华东公司”|"}));
    w.setVisible(PW::Label2, true);
    w.setMax(PW::ProgressBar2, 3);
    QVector<int> values;
    for (const auto& [min, value] : {std::pair{0, 5}, {0, -1}, {2, 0}}) {
        w.setValue(PW::ProgressBar2, value);
        w.setMin(PW::ProgressBar2, min);  // a higher minimum takes the value with it
        values << w.value(PW::ProgressBar2);
    }
    EXPECT_EQ(values, (QVector<int>{3, 0, 2}));
    EXPECT_EQ(w.value(PW::ProgressBar1), 0) << "the other bar is untouched";
    w.Show();  // shown again: loaded afresh, with a view of its own
    EXPECT_EQ(std::make_tuple(w.caption(PW::Label3), w.isVisible(PW::Label2), w.min(PW::ProgressBar2),
                              w.value(PW::ProgressBar2), w.max(PW::ProgressBar2)),
              std::make_tuple(QString(), false, 0, 0, 100));
    EXPECT_EQ(steps.last(), "|");
    const int seen = steps.size();
    w.Unload();
    EXPECT_FALSE(w.isLoaded() || w.isVisible(PW::Label1));
    w.setCaption(PW::Label1, "y");  // unloaded: the view is gone
    EXPECT_EQ(steps.size(), seen);
}

}  // namespace
}  // namespace ztgl::test
