#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>

#include "RecordingUiPort.h"
#include "ScriptedTemplate.h"
#include "ado/DataType.h"
#include "creation/ProgressWindow.h"
#include "creation/SchemaCopy.h"
#include "creation/TemplateDatabase.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

using test::RecordingUiPort;
using test::ScriptedTemplate;
using PW = ProgressWindow;
using namespace ado;

// Every caption and bar change the copy makes, in order.
class RecordingView final : public PW::View {
public:
    explicit RecordingView(QStringList& log) : m_log(log) {}
    void progressChanged(const PW& w) override {
        const QString state = QStringLiteral("L1=%1|L2=%2|B1=%3/%4|B2=%5/%6")
                                  .arg(w.caption(PW::Label1), w.caption(PW::Label2))
                                  .arg(w.value(PW::ProgressBar1))
                                  .arg(w.max(PW::ProgressBar1))
                                  .arg(w.value(PW::ProgressBar2))
                                  .arg(w.max(PW::ProgressBar2));
        if (m_log.isEmpty() || m_log.back() != state)
            m_log << state;
    }
    void repaintNow() override {}

private:
    QStringList& m_log;
};

class SchemaCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gDBType = kSqlServer;
        progress.setViewFactory([this](PW&) { return std::make_unique<RecordingView>(log); });
        progress.Show();
    }
    void TearDown() override { ResetGlobals(); }

    // Runs the copy; statements matching `failing` throw like a refusing server.
    bool run(const QString& failing = QString()) {
        SchemaCopy copy(
            TemplateConnectString(QStringLiteral("/prog/")),
            [this, failing](const QString& sql) {
                if (!failing.isEmpty() && QRegularExpression(failing).match(sql).hasMatch())
                    throw RuntimeError(-2147217900, QStringLiteral("服务器拒绝了语句"));
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

TEST_F(SchemaCopyTest, BuildsTheStatementOfTheWorkedExample) {
    tpl.addTable(QStringLiteral("T"), {ScriptedTemplate::column(QStringLiteral("A"), adVarWChar, 10, false),
                                       ScriptedTemplate::column(QStringLiteral("B"), adInteger, 4, true, 0)});
    tpl.addKey(QStringLiteral("T"), QStringLiteral("PrimaryKey"), adKeyPrimary, {QStringLiteral("A")});
    ASSERT_TRUE(run());
    ASSERT_EQ(statements.size(), 1);
    EXPECT_EQ(
        statements[0],
        QStringLiteral(
            "CREATE TABLE T(A nvarchar (10) not null ,B Integer DEFAULT 0 ,constraint T_A primary  key(A))"));
    EXPECT_TRUE(port.messages.isEmpty());
}

// One row per column shape: the text a column contributes to the statement.
struct ColumnCase {
    const char* what;
    CatalogColumn column;
    const char* expected;
};

TEST_F(SchemaCopyTest, WritesEachColumnShape) {
    CatalogColumn noNullable;
    noNullable.name = QStringLiteral("N");
    noNullable.type = adInteger;
    const ColumnCase cases[] = {
        {"text of size 50", ScriptedTemplate::column(QStringLiteral("C"), adVarWChar, 50),
         "C nvarchar (50) "},
        {"memo", ScriptedTemplate::column(QStringLiteral("M"), adLongVarWChar, 0), "M ntext "},
        {"unknown type", ScriptedTemplate::column(QStringLiteral("U"), 15, 0), "U  "},
        {"not null", ScriptedTemplate::column(QStringLiteral("K"), adSmallInt, 2, false),
         "K SmallInt not null "},
        {"no Nullable property", noNullable, "N Integer "},
        {"double", ScriptedTemplate::column(QStringLiteral("D"), adDouble, 8, true, QStringLiteral("0.5")),
         "D Decimal DEFAULT 0.5 "},
        {"currency", ScriptedTemplate::column(QStringLiteral("Y"), adCurrency, 8, true, 0),
         "Y Numeric DEFAULT 0 "},
        {"yes/no", ScriptedTemplate::column(QStringLiteral("F"), adBoolean, 2, false, 1),
         "F tinyint not null DEFAULT 1 "},
        {"byte", ScriptedTemplate::column(QStringLiteral("Bt"), adUnsignedTinyInt, 1), "Bt tinyint "},
        {"single", ScriptedTemplate::column(QStringLiteral("S"), adSingle, 4, true, QStringLiteral("0.13")),
         "S Real DEFAULT 0.13 "},
        {"date with expression default",
         ScriptedTemplate::column(QStringLiteral("W"), adDate, 8, true, QStringLiteral("CURRENT_TIMESTAMP")),
         "W Datetime DEFAULT CURRENT_TIMESTAMP "},
        {"text default in double quotes",
         ScriptedTemplate::column(QStringLiteral("X"), adVarWChar, 2, true, QStringLiteral("\"男\"")),
         "X nvarchar (2) DEFAULT '男' "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        statements.clear();
        ScriptedTemplate fresh;  // replaces the fixture's template for this case
        fresh.addTable(QStringLiteral("T"), {c.column});
        ASSERT_TRUE(run());
        ASSERT_EQ(statements.size(), 1);
        EXPECT_EQ(statements[0],
                  QStringLiteral("CREATE TABLE T(") + QString::fromUtf8(c.expected) + QLatin1Char(')'));
    }
}

TEST_F(SchemaCopyTest, PutsPrimaryAndForeignColumnsIntoOneKeyAndMarksUniqueOnes) {
    tpl.addTable(QStringLiteral("Bill"),
                 {ScriptedTemplate::column(QStringLiteral("No"), adVarWChar, 20, false),
                  ScriptedTemplate::column(QStringLiteral("Line"), adSmallInt, 2, false),
                  ScriptedTemplate::column(QStringLiteral("Goods"), adVarWChar, 20, false),
                  ScriptedTemplate::column(QStringLiteral("Code"), adVarWChar, 13, false),
                  ScriptedTemplate::column(QStringLiteral("Note"), adLongVarWChar)});
    tpl.addKey(QStringLiteral("Bill"), QStringLiteral("PrimaryKey"), adKeyPrimary,
               {QStringLiteral("No"), QStringLiteral("Line")});
    tpl.addKey(QStringLiteral("Bill"), QStringLiteral("FK_Goods"), adKeyForeign, {QStringLiteral("goods")});
    tpl.addKey(QStringLiteral("Bill"), QStringLiteral("UQ_Code"), adKeyUnique, {QStringLiteral("Code")});
    ASSERT_TRUE(run());
    EXPECT_EQ(statements.value(0),
              QStringLiteral("CREATE TABLE Bill(No nvarchar (20) not null ,Line SmallInt not null ,"
                             "Goods nvarchar (20) not null ,Code nvarchar (13) not null UNIQUE ,Note ntext "
                             ",constraint Bill_Key_Kx primary  key(No,Line,Goods))"));
}

TEST_F(SchemaCopyTest, TheFirstKeyHoldingAColumnDecides) {
    tpl.addTable(QStringLiteral("T"), {ScriptedTemplate::column(QStringLiteral("A"), adInteger, 4, false),
                                       ScriptedTemplate::column(QStringLiteral("B"), adInteger, 4, false)});
    tpl.addKey(QStringLiteral("T"), QStringLiteral("UQ_A"), adKeyUnique, {QStringLiteral("A")});
    tpl.addKey(QStringLiteral("T"), QStringLiteral("PrimaryKey"), adKeyPrimary,
               {QStringLiteral("A"), QStringLiteral("B")});
    ASSERT_TRUE(run());
    EXPECT_EQ(statements.value(0),
              QStringLiteral("CREATE TABLE T(A Integer not null UNIQUE ,B Integer not null "
                             ",constraint T_B primary  key(B))"));
}

TEST_F(SchemaCopyTest, ReplacesDoubleQuotesInTheWholeStatement) {
    tpl.addTable(
        QStringLiteral("T"),
        {ScriptedTemplate::column(QStringLiteral("A"), adVarWChar, 10, true, QStringLiteral("\"a\"\"b\"")),
         ScriptedTemplate::column(QStringLiteral("B"), adVarWChar, 10, true, QStringLiteral("\"it's\""))});
    ASSERT_TRUE(run());
    // A default holding a single quote stays as Jet stored it and breaks the server's statement.
    EXPECT_EQ(
        statements.value(0),
        QStringLiteral("CREATE TABLE T(A nvarchar (10) DEFAULT 'a''b' ,B nvarchar (10) DEFAULT 'it's' )"));
}

TEST_F(SchemaCopyTest, SkipsSystemAndTemporaryEntriesButCountsThem) {
    const auto col = ScriptedTemplate::column(QStringLiteral("A"), adInteger);
    tpl.addTable(QStringLiteral("Goods"), {col});
    tpl.addTable(QStringLiteral("MSysObjects"), {col}, QStringLiteral("SYSTEM TABLE"));
    tpl.addTable(QStringLiteral("msysaces"), {col}, QStringLiteral("SYSTEM TABLE"));
    tpl.addTable(QStringLiteral("~TMPCLP1234"), {col});
    tpl.addTable(QStringLiteral("Units"), {col}, QStringLiteral("VIEW"));
    ASSERT_TRUE(run());
    EXPECT_EQ(statements, (QStringList{QStringLiteral("CREATE TABLE Goods(A Integer )"),
                                       QStringLiteral("CREATE TABLE Units(A Integer )")}));
    EXPECT_EQ(progress.max(PW::ProgressBar1), 5);
    EXPECT_EQ(progress.value(PW::ProgressBar1), 5);
    // Once per entry while collecting names, once per entry while creating, once per column.
    EXPECT_EQ(port.doEventsCount, 5 + 5 + 2);
}

TEST_F(SchemaCopyTest, ReadsTheTemplateOnceForAllTablesAndLookups) {
    for (const char* name : {"A1", "B2", "C3"})
        tpl.addTable(QString::fromLatin1(name),
                     {ScriptedTemplate::column(QStringLiteral("X"), adInteger, 4, false),
                      ScriptedTemplate::column(QStringLiteral("Y"), adVarWChar, 5)});
    ASSERT_TRUE(run());
    EXPECT_EQ(statements.size(), 3);
    EXPECT_EQ(tpl.opens, 1);
    EXPECT_EQ(tpl.catalogReads, 1);
    EXPECT_EQ(tpl.queries,
              (QStringList{QStringLiteral("Select * From A1"), QStringLiteral("Select * From B2"),
                           QStringLiteral("Select * From C3")}));
}

TEST_F(SchemaCopyTest, CopiesRowsOneStatementEach) {
    tpl.addTable(QStringLiteral("T"), {ScriptedTemplate::column(QStringLiteral("A"), adVarWChar, 20),
                                       ScriptedTemplate::column(QStringLiteral("B"), adInteger),
                                       ScriptedTemplate::column(QStringLiteral("C"), adBoolean),
                                       ScriptedTemplate::column(QStringLiteral("D"), adDate)});
    tpl.setRows(QStringLiteral("T"),
                {{QStringLiteral("x"), 1, true, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))},
                 {QStringLiteral(" O'Brien "), QVariant(), false, QVariant()},
                 {QStringLiteral("中文"), -2, QVariant(), QDateTime(QDate(2024, 1, 1), QTime())}});
    ASSERT_TRUE(run());
    EXPECT_EQ(
        statements.mid(1),
        (QStringList{QStringLiteral("Insert into T(A,B,C,D) values('x',1,1,'2024-03-05 14:07:09')"),
                     QStringLiteral("Insert into T(A,B,C,D) values('O''Brien',null,0,null)"),
                     QStringLiteral("Insert into T(A,B,C,D) values('中文',-2,null,'2024-01-01 00:00:00')")}));
}

TEST_F(SchemaCopyTest, MovesTheBarsAndWritesTheLabels) {
    tpl.addTable(QStringLiteral("Rows10"), {ScriptedTemplate::column(QStringLiteral("A"), adInteger),
                                            ScriptedTemplate::column(QStringLiteral("B"), adInteger)});
    QVector<QVector<QVariant>> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({i, i});
    tpl.setRows(QStringLiteral("Rows10"), rows);
    tpl.addTable(QStringLiteral("Empty"), {ScriptedTemplate::column(QStringLiteral("A"), adInteger),
                                           ScriptedTemplate::column(QStringLiteral("B"), adInteger),
                                           ScriptedTemplate::column(QStringLiteral("C"), adInteger)});
    ASSERT_TRUE(run());
    EXPECT_EQ(statements.size(), 1 + 10 + 1);
    EXPECT_TRUE(
        log.contains(QStringLiteral("L1=正在创建Rows10表，请稍后……|L2=正在创建Rows10表结构|B1=1/2|B2=2/2")));
    EXPECT_TRUE(log.contains(
        QStringLiteral("L1=正在创建Rows10表，请稍后……|L2=正在插入表Rows10的初始数据|B1=1/2|B2=10/11")));
    // A table without rows keeps the column count of its structure step.
    EXPECT_EQ(log.back(),
              QStringLiteral("L1=正在创建Empty表，请稍后……|L2=正在创建Empty表结构|B1=2/2|B2=3/3"));
    EXPECT_TRUE(progress.isVisible(PW::Label2));
    EXPECT_TRUE(progress.isVisible(PW::ProgressBar2));
}

TEST_F(SchemaCopyTest, AFailingTableIsReportedAndTheNextOneIsStillCreated) {
    const auto col = ScriptedTemplate::column(QStringLiteral("A"), adInteger);
    tpl.addTable(QStringLiteral("Order Details"), {col});
    tpl.addTable(QStringLiteral("Units"), {col});
    ASSERT_TRUE(run(QStringLiteral("^CREATE TABLE Order Details")));
    EXPECT_EQ(statements, QStringList{QStringLiteral("CREATE TABLE Units(A Integer )")});
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("CreatTable::服务器拒绝了语句"));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
}

TEST_F(SchemaCopyTest, AFailingInsertEndsThatTableOnly) {
    const auto col = ScriptedTemplate::column(QStringLiteral("A"), adInteger);
    tpl.addTable(QStringLiteral("T"), {col});
    tpl.setRows(QStringLiteral("T"), {{1}, {2}, {3}});
    tpl.addTable(QStringLiteral("U"), {col});
    tpl.setRows(QStringLiteral("U"), {{4}});
    ASSERT_TRUE(run(QStringLiteral("values\\(2\\)")));
    EXPECT_EQ(statements, (QStringList{QStringLiteral("CREATE TABLE T(A Integer )"),
                                       QStringLiteral("Insert into T(A) values(1)"),
                                       QStringLiteral("CREATE TABLE U(A Integer )"),
                                       QStringLiteral("Insert into U(A) values(4)")}));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("CreatTable::服务器拒绝了语句"));
}

TEST_F(SchemaCopyTest, ATableTheTemplateCannotReadIsReported) {
    const auto col = ScriptedTemplate::column(QStringLiteral("A"), adInteger);
    tpl.addTable(QStringLiteral("Broken"), {col});
    tpl.addTable(QStringLiteral("Fine"), {col});
    tpl.failQueryOn(QStringLiteral("Broken"), QStringLiteral("找不到输入表"));
    ASSERT_TRUE(run());
    EXPECT_EQ(statements, QStringList{QStringLiteral("CREATE TABLE Fine(A Integer )")});
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("CreatTable::找不到输入表"));
}

TEST_F(SchemaCopyTest, ATemplateThatCannotBeOpenedFailsTheEnumeration) {
    tpl.failOpen(QStringLiteral("找不到文件"));
    EXPECT_FALSE(run());
    EXPECT_TRUE(statements.isEmpty());
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("XZBJG::找不到文件"));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
}

TEST_F(SchemaCopyTest, LooksUpNullabilityDefaultsAndKeys) {
    CatalogColumn bare;
    bare.name = QStringLiteral("Bare");
    bare.type = adInteger;
    tpl.addTable(QStringLiteral("T"),
                 {ScriptedTemplate::column(QStringLiteral("Req"), adInteger, 4, false, 7),
                  ScriptedTemplate::column(QStringLiteral("Opt"), adVarWChar, 5, true), bare});
    tpl.addKey(QStringLiteral("T"), QStringLiteral("FK"), adKeyForeign, {QStringLiteral("OPT")});
    SchemaCopy copy(
        TemplateConnectString(QStringLiteral("/prog/")), [](const QString&) {}, progress);
    QString def = QStringLiteral("stale");
    EXPECT_EQ(copy.GetFieldIndex(QStringLiteral("T"), QStringLiteral("Req"), def), QStringLiteral("True"));
    EXPECT_EQ(def, QStringLiteral("7"));
    EXPECT_EQ(copy.GetFieldIndex(QStringLiteral("t"), QStringLiteral("opt"), def), QStringLiteral("False"));
    EXPECT_EQ(def, QString());
    EXPECT_EQ(copy.GetFieldIndex(QStringLiteral("T"), QStringLiteral("Bare"), def), QString());
    EXPECT_EQ(copy.GetFieldIndex(QStringLiteral("T"), QStringLiteral("Missing"), def),
              QStringLiteral("False"));
    EXPECT_EQ(copy.GetFieldIndex(QStringLiteral("Nowhere"), QStringLiteral("Req"), def),
              QStringLiteral("False"));

    int type = 0;
    EXPECT_TRUE(copy.CheckKeys(QStringLiteral("T"), QStringLiteral("opt"), type));
    EXPECT_EQ(type, adKeyForeign);
    EXPECT_FALSE(copy.CheckKeys(QStringLiteral("T"), QStringLiteral("Req"), type));
    EXPECT_THROW(copy.CheckKeys(QStringLiteral("Nowhere"), QStringLiteral("Req"), type), RuntimeError);
    EXPECT_EQ(tpl.catalogReads, 1);
}

}  // namespace
}  // namespace ztgl
