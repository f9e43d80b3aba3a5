// The shared connection gConn, recordsets on it, and the account-set connection strings.
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "DbFixture.h"
#include "JetTestDb.h"
#include "ScriptedServer.h"
#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"
#include "catalogue/AccountSetList.h"
#include "catalogue/PermissionUpgrade.h"
#include "creation/AccountSetEditor.h"
#include "operators/ChangePasswordForm.h"
#include "operators/LoginForm.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {
namespace {

const QString kSqlBase = QStringLiteral(
    "Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=MAIN;"
    "Data Source=SRV");

class SharedConnectionTest : public DbFixture {
protected:
    ScriptedServer server;  // SQL Server
};

TEST_F(SharedConnectionTest, RefusesNoStringAndTheErrorMarkerSilently) {
    for (const QString& cs : {QString(), QStringLiteral(""), QStringLiteral("   "), QStringLiteral("'ERROR'"),
                              QStringLiteral("  'ERROR'  ")}) {
        EXPECT_EQ(Open_Connect(), 0) << cs.toStdString();
    }
    EXPECT_EQ(gConn, nullptr);
    EXPECT_TRUE(server.calls.isEmpty());
    expectNoMessages();
}

TEST_F(SharedConnectionTest, MarkerInOtherCaseIsAStringLikeAnyOther) {
    gConnectString = QStringLiteral("'error'");
    EXPECT_EQ(Open_Connect(), 0);
    expectOneReport(QStringLiteral("Open_Connect():未找到提供程序“”。该程序可能未正确安装。"));
}

TEST_F(SharedConnectionTest, OpensTheUntrimmedStringWithTwoMinutesToWait) {
    gConnectString = QStringLiteral(" ") + kSqlBase + QStringLiteral(" ");
    EXPECT_EQ(Open_Connect(), 1);
    ASSERT_NE(gConn, nullptr);
    EXPECT_EQ(gConn->State(), ado::adStateOpen);
    EXPECT_EQ(gConn->connectionString(), gConnectString);
    EXPECT_EQ(gConn->connectionTimeout(), 120);
    EXPECT_EQ(server.opened(), QStringList{gConnectString});
    expectNoMessages();
}

TEST_F(SharedConnectionTest, SecondOpenReplacesTheFirstConnection) {
    gConnectString = kSqlBase;
    ASSERT_EQ(Open_Connect(), 1);
    const ado::Connection* first = gConn.get();
    ASSERT_EQ(Open_Connect(), 1);
    EXPECT_NE(gConn.get(), first);
    ASSERT_EQ(server.calls.size(), 3);
    EXPECT_EQ(server.calls[0].kind, ScriptedServer::Call::Open);
    EXPECT_EQ(server.calls[1].kind, ScriptedServer::Call::Close) << "the first is closed by its release";
    EXPECT_EQ(server.calls[2].kind, ScriptedServer::Call::Open);
}

TEST_F(SharedConnectionTest, FailedOpenIsReportedOnceAndGivesZero) {
    server.failOpen(QStringLiteral("SRV"),
                    QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server 不存在或访问被拒绝。"));
    gConnectString = kSqlBase;
    EXPECT_EQ(Open_Connect(), 0);
    expectOneReport(QStringLiteral(
        "Open_Connect():[DBNETLIB][ConnectionOpen (Connect()).]SQL Server 不存在或访问被拒绝。"));
    ASSERT_NE(gConn, nullptr) << "the new connection object stays, closed";
    EXPECT_EQ(gConn->State(), ado::adStateClosed);
}

TEST_F(SharedConnectionTest, UnknownProviderIsReported) {
    gConnectString = QStringLiteral("Provider=MSDAORA;Data Source=ORCL");
    EXPECT_EQ(Open_Connect(), 0);
    expectOneReport(QStringLiteral("Open_Connect():未找到提供程序“MSDAORA”。该程序可能未正确安装。"));
}

TEST_F(SharedConnectionTest, UnreachableAccessFileIsReportedWithTheEnginesText) {
    QTemporaryDir dir;
    gDBType = kAccess;
    gConnectString = JetTestDatabase::connectionStringFor(dir.filePath(QStringLiteral("KXPUB.MDB")));
    QString engineText;
    try {
        ado::Connection probe;
        probe.setConnectionString(gConnectString);
        probe.Open();
    } catch (const std::exception& e) {
        engineText = errorText(e);
    }
    ASSERT_FALSE(engineText.isEmpty());
    EXPECT_EQ(Open_Connect(), 0);
    expectOneReport(QStringLiteral("Open_Connect():") + engineText);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("KXPUB.MDB"))))
        << "opening never creates the file";
}

// The real SQL Server engine on a loopback port where nothing listens: refused at once.
TEST(SharedConnectionOdbc, UnreachableServerIsReportedOnceWithTheEnginesText) {
    RecordingUiPort port;
    ResetGlobals();
    gDBType = kSqlServer;
    gConnectString = QStringLiteral(
        "Provider=SQLOLEDB.1;Password=x;Persist Security Info=False;User ID=sa;Initial Catalog=KXPUB;"
        "Data Source=127.0.0.1,1");
    QString engineText;
    try {
        ado::Connection probe;
        probe.setConnectionString(gConnectString);
        probe.setConnectionTimeout(2);
        probe.Open();
    } catch (const std::exception& e) {
        engineText = errorText(e);
    }
    ASSERT_FALSE(engineText.isEmpty());
    EXPECT_EQ(Open_Connect(), 0);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("Open_Connect():") + engineText);
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    ResetGlobals();
}

TEST_F(SharedConnectionTest, OpensTheManagersAccessDatabase) {
    JetTestDb db({QStringLiteral("CREATE TABLE ZTML (ID TEXT(10), ZTMC TEXT(50))"),
                  QStringLiteral("INSERT INTO ZTML VALUES ('1', '北京分公司')")},
                 JetTestDb::Use::SetGlobals);
    ASSERT_EQ(Open_Connect(), 1);
    ado::Recordset rs;
    Open_Recordset(rs, QStringLiteral("select * from ZTML"));
    ASSERT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Fields(QStringLiteral("ztmc")).text(), QStringLiteral("北京分公司"));
    Close_Recordset(rs);
    expectNoMessages();
}

const QString kUnusable = QStringLiteral("连接无法用于执行此操作。在此上下文中它可能已被关闭或无效。");

// Binding to a missing or closed gConn is Open_Recordset's own error, reported under its label;
// the open that follows is the caller's and fails with 3709 for the caller's trap.
TEST_F(SharedConnectionTest, OpenRecordsetReportsItsOwnErrorsAndTheCallersOpenFails) {
    gConnectString = kSqlBase;
    for (const bool closed : {false, true}) {
        SCOPED_TRACE(closed ? "closed" : "missing");
        port.messages.clear();
        if (closed) {
            ASSERT_EQ(Open_Connect(), 1);
            gConn->Close();
        }
        ado::Recordset rs;
        try {
            Open_Recordset(rs, QStringLiteral("select * from ZTML"));
            ADD_FAILURE() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 3709);
            EXPECT_EQ(e.description(), kUnusable);
        }
        EXPECT_EQ(rs.State(), 0);
        expectOneReport(QStringLiteral("Open_Recordset():") +
                        (closed ? kUnusable : QStringLiteral("对象变量或 With 块变量未设置")));
    }
    EXPECT_TRUE(server.queries().isEmpty());
}

// Without gConn every procedure that reads the shared connection goes its own way: those that
// open their recordset through Open_Recordset see its report and then their own failure; those
// that run their statement on gConn themselves report once; the server clock reports nothing.
TEST_F(SharedConnectionTest, EveryReaderOfTheSharedConnectionFollowsItsOwnTrap) {
    gDBType = kAccess;
    gAppTitle = QStringLiteral("进销存");
    const QString report = QStringLiteral("Open_Recordset():对象变量或 With 块变量未设置");
    const QString notSet = QStringLiteral("对象变量或 With 块变量未设置");
    const struct {
        const char* name;
        std::function<void()> run;
        QStringList texts;
        QString lastTitle;
    } cases[] = {
        {"GetUserInformation",
         [] { EXPECT_EQ(LoginForm::GetUserInformation(QStringLiteral("admin")).Id, QStringLiteral("-1")); },
         {report, QStringLiteral("GetUserInformation():") + kUnusable},
         QStringLiteral("提示信息")},
        {"Cmd_Ok",
         [] {
             ChangePasswordForm form;
             EXPECT_FALSE(form.Cmd_Ok());
         },
         {report, QStringLiteral("Cmd_Ok():") + kUnusable},
         QStringLiteral("错误信息")},
        {"SetMSFlexGrid1Date",
         [] {
             AccountSetList list;
             list.loadLayout();
             EXPECT_FALSE(list.SetMSFlexGrid1Date());
             EXPECT_EQ(list.grid().Row(), 0);
         },
         {report, QStringLiteral("SetMSFlexGrid1Date():") + kUnusable},
         QStringLiteral("提示信息")},
        {"Get_UniqV",
         [] { EXPECT_EQ(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")), 0); },
         {QStringLiteral("Get_UniqV():") + notSet},
         QStringLiteral("提示信息")},
        {"Get_ServerTime", [] { EXPECT_EQ(Get_ServerTime().size(), 19); }, {}, QString()},
        {"DateBaseModifyByZavrin",
         [] { EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed); },
         {QStringLiteral("DateBaseModifyByZavrin()::升级数据库失败。") + notSet},
         QStringLiteral("进销存")},
        {"LoadSetInfo",
         [] {
             AccountSetEditor editor(nullptr);
             editor.EditId = QStringLiteral("1");
             editor.IsNew = false;
             editor.Form_Load();
             EXPECT_TRUE(editor.isUnloaded());
         },
         {QStringLiteral("LoadSetInfo():") + notSet},
         QStringLiteral("提示信息")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        port.messages.clear();
        c.run();
        QStringList texts;
        for (const ShownMessage& m : port.messages)
            texts << m.text;
        EXPECT_EQ(texts, c.texts);
        if (!port.messages.isEmpty()) {
            EXPECT_EQ(port.messages.front().title,
                      texts.size() > 1 ? QStringLiteral("提示信息") : c.lastTitle);
            EXPECT_EQ(port.messages.back().title, c.lastTitle);
        }
    }
}

TEST_F(SharedConnectionTest, OpenRecordsetFetchesOnGConnAndReplacesTheOldRows) {
    server.onQuery(
        QStringLiteral("from ZTML"),
        ScriptedServer::rows({QStringLiteral("ID")}, {{QStringLiteral("1")}, {QStringLiteral("2")}}));
    gConnectString = kSqlBase;
    ASSERT_EQ(Open_Connect(), 1);
    ado::Recordset rs;
    Open_Recordset(rs, QStringLiteral("select * from ZTML"));
    EXPECT_EQ(rs.RecordCount(), 2);
    rs.MoveNext();
    Open_Recordset(rs, QStringLiteral("select * from Other"));
    EXPECT_EQ(rs.State(), 1);
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(server.queries(),
              (QStringList{QStringLiteral("select * from ZTML"), QStringLiteral("select * from Other")}));
}

TEST_F(SharedConnectionTest, OpenRecordsetPassesEngineErrorsOnUnreported) {
    server.failOn(QStringLiteral("ZTMX"), -2147217865, QStringLiteral("对象名 'ZTMX' 无效。"));
    gConnectString = kSqlBase;
    ASSERT_EQ(Open_Connect(), 1);
    ado::Recordset rs;
    try {
        Open_Recordset(rs, QStringLiteral("select * from ZTMX"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), -2147217865);
        EXPECT_EQ(e.description(), QStringLiteral("对象名 'ZTMX' 无效。"));
    }
    expectNoMessages();
}

TEST_F(SharedConnectionTest, CloseRecordsetClosesOpenAndIgnoresClosed) {
    ado::Recordset rs;
    Close_Recordset(rs);
    EXPECT_EQ(rs.State(), 0);
    rs.OpenRows(ScriptedServer::rows({QStringLiteral("A")}, {{1}}));
    ASSERT_EQ(rs.State(), 1);
    Close_Recordset(rs);
    EXPECT_EQ(rs.State(), 0);
    EXPECT_EQ(rs.RecordCount(), -1);
    Close_Recordset(rs);
    expectNoMessages();
}

TEST_F(SharedConnectionTest, CloseConnectClosesAndReleasesQuietly) {
    Close_Connect();
    EXPECT_EQ(gConn, nullptr);
    gConnectString = kSqlBase;
    ASSERT_EQ(Open_Connect(), 1);
    Close_Connect();
    EXPECT_EQ(gConn, nullptr);
    ASSERT_FALSE(server.calls.isEmpty());
    EXPECT_EQ(server.calls.back().kind, ScriptedServer::Call::Close);
    Close_Connect();
    expectNoMessages();
}

struct ZtCase {
    const char* name;
    QString kind;
    QString setName;
    QString base;
    QString expected;
};
void PrintTo(const ZtCase& c, std::ostream* os) {
    *os << c.name;
}

class ZtConnectStringTest : public DbFixture, public ::testing::WithParamInterface<ZtCase> {};

TEST_P(ZtConnectStringTest, DerivesTheSetsString) {
    gDBType = GetParam().kind;
    EXPECT_EQ(Get_ZtConnectString(GetParam().setName, GetParam().base), GetParam().expected);
    expectNoMessages();
}

const QString kAccessBase = QStringLiteral(
    "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=D:\\DATA\\KXPUB.MDB;"
    "Mode=Read|Write;Jet OLEDB:Database Password=pw");

INSTANTIATE_TEST_SUITE_P(
    Kinds, ZtConnectStringTest,
    ::testing::Values(
        ZtCase{"SqlServerCatalogReplaced", kSqlServer, QStringLiteral("ZT002"), kSqlBase,
               QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;"
                              "Initial Catalog=ZT002;Data Source=SRV")},
        ZtCase{
            "SqlServerSmallLetterKeyKept", kSqlServer, QStringLiteral("MAIN_BK002"),
            QStringLiteral("Provider=SQLOLEDB;initial catalog=Main;Data Source=SRV;Network Library=DBMSSOCN"),
            QStringLiteral(
                "Provider=SQLOLEDB;initial catalog=MAIN_BK002;Data Source=SRV;Network Library=DBMSSOCN")},
        ZtCase{"SqlServerEmptyCatalog", kSqlServer, QStringLiteral("master"),
               QStringLiteral("Provider=SQLOLEDB;Initial Catalog=;Data Source=SRV"),
               QStringLiteral("Provider=SQLOLEDB;Initial Catalog=master;Data Source=SRV")},
        ZtCase{"SqlServerCatalogFirst", kSqlServer, QStringLiteral("X"),
               QStringLiteral("INITIAL CATALOG=MAIN;Provider=SQLOLEDB"),
               QStringLiteral("INITIAL CATALOG=X;Provider=SQLOLEDB")},
        ZtCase{"SqlServerWithoutCatalogGetsOne", kSqlServer, QStringLiteral("MAIN_BK002"),
               QStringLiteral("Provider=SQLOLEDB;Data Source=SRV"),
               QStringLiteral("Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=MAIN_BK002")},
        ZtCase{"SqlServerWithoutCatalogEndingInSemicolon", kSqlServer, QStringLiteral("MAIN_BK002"),
               QStringLiteral("Provider=SQLOLEDB;Data Source=SRV;"),
               QStringLiteral("Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=MAIN_BK002")},
        ZtCase{"SqlServerCatalogWithBlanksReplaced", kSqlServer, QStringLiteral("MAIN_BK002"),
               QStringLiteral("Provider=SQLNCLI11; initial catalog = MAIN ;Data Source=SRV"),
               QStringLiteral("Provider=SQLNCLI11; initial catalog =MAIN_BK002;Data Source=SRV")},
        ZtCase{"UnknownKindTakesTheSqlServerRule", QStringLiteral("[microsoft access]"), QStringLiteral("ZT"),
               kSqlBase,
               QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;"
                              "Initial Catalog=ZT;Data Source=SRV")},
        ZtCase{
            "AccessFileReplaced", kAccess, QStringLiteral("ZT002"), kAccessBase,
            QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                           "Data Source=D:\\DATA\\ZT002.MDB;Mode=Read|Write;Jet OLEDB:Database Password=pw")},
        ZtCase{
            "AccessChineseFolder", kAccess, QStringLiteral("帐套_BK001"),
            QStringLiteral(
                "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\进销存\\KXPUB.MDB;Mode=Read|Write"),
            QStringLiteral(
                "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\进销存\\帐套_BK001.MDB;Mode=Read|Write")},
        ZtCase{"AccessSmallLettersUnchanged", kAccess, QStringLiteral("ZT002"),
               QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\DATA\\KXPUB.mdb"),
               QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\DATA\\KXPUB.mdb")},
        ZtCase{"AccessEveryOccurrence", kAccess, QStringLiteral("A"),
               QStringLiteral("Data Source=C:\\KXPUB.MDB\\KXPUB.MDB"),
               QStringLiteral("Data Source=C:\\A.MDB\\A.MDB")},
        ZtCase{"AccessCatalogItemUntouched", kAccess, QStringLiteral("A"),
               QStringLiteral("Initial Catalog=MAIN;Data Source=D:\\KXPUB.MDB"),
               QStringLiteral("Initial Catalog=MAIN;Data Source=D:\\A.MDB")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SharedConnectionTest, CatalogWithoutFollowingSemicolonIsInvalidArgument) {
    gDBType = kSqlServer;
    try {
        Get_ZtConnectString(QStringLiteral("ZT"),
                            QStringLiteral("Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=MAIN"));
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 5);
        EXPECT_EQ(e.description(), QStringLiteral("无效的过程调用或参数"));
    }
    expectNoMessages();
}

// The derived string opens the set's own file beside the manager's database.
TEST_F(SharedConnectionTest, DerivedAccessStringOpensTheSetsFile) {
    JetTestDb manager({}, JetTestDb::Use::SetGlobals);
    ado::CreateJetDatabase(manager.folder() + QStringLiteral("/MAIN_BK001.MDB"));
    ado::Connection conn;
    conn.setConnectionString(Get_ZtConnectString(QStringLiteral("MAIN_BK001"), gConnectString));
    conn.Open();
    conn.Execute(QStringLiteral("CREATE TABLE Users (ID TEXT(10))"));
    conn.Close();
    EXPECT_TRUE(QFile::exists(manager.folder() + QStringLiteral("/MAIN_BK001.MDB")));
}

}  // namespace
}  // namespace ztgl::test
