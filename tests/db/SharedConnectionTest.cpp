// Connection strings (built from a DBCONNECT profile, read from kxconfig.ini as the suite's main program
// writes it, derived for an account set), the shared connection gConn and recordsets on it.
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "DbFixture.h"
#include "JetTestDatabase.h"
#include "RuntimeErrorOf.h"
#include "ScriptedServer.h"
#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "catalogue/AccountSetList.h"
#include "catalogue/PermissionUpgrade.h"
#include "creation/AccountSetEditor.h"
#include "platform/Codepage936.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

namespace ztgl::test {
namespace {

const QString kSqlBase =
    u"Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=MAIN;"
    "Data Source=SRV"_s;
const QString kUnusable = u"连接无法用于执行此操作。在此上下文中它可能已被关闭或无效。"_s;
const QString kNotSet = u"对象变量或 With 块变量未设置"_s;

class SharedConnectionTest : public DbFixture {
protected:
    void writeIni(const QString& text) {
        gIniFile = dir.filePath(u"kxconfig.ini"_s);
        QFile f(gIniFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(cp936::encode(text));  // as the suite's main program writes it
    }
    QTemporaryDir dir;
    ScriptedServer server;  // SQL Server
};

TEST_F(SharedConnectionTest, BuildsTheStringOfTheKind) {
    // Provider, Password, PersistSecurityInfo, UserID, DBName, DataSource, NetworkLibrary.
    const DBProfile sql{u"SQLOLEDB.1"_s, u"pw"_s, QString(), u"sa"_s, u"KXPUB"_s, u"SRV01"_s, QString()};
    // DBName, UserID and NetworkLibrary are not used for Access.
    const DBProfile access{u"Microsoft.Jet.OLEDB.4.0"_s, u"secret"_s,  QString(), u"sa"_s, u"KXPUB"_s,
                           u"D:\\KXDATA\\KXPUB.MDB"_s,   u"DBMSSOCN"_s};
    const auto with = [](DBProfile p, QString DBProfile::*field, const char* value) {
        p.*field = u(value);
        return p;
    };
    const QString accessText =
        u"Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=%1;Data Source=D:\\KXDATA\\KXPUB.MDB;Mode=Read|Write;Jet OLEDB:Database Password=%2"_s;
    const QString sqlText =
        u"Provider=SQLOLEDB.1;Password=%1;Persist Security Info=%2;User ID=sa;Initial Catalog=KXPUB;Data Source=SRV01"_s;
    // clang-format off
    const struct { QString kind; DBProfile profile; QString expected; } cases[] = {
        {kAccess, access, accessText.arg(u"False"_s, u"secret"_s)}, {kAccess, with(access, &DBProfile::PersistSecurityInfo, "True"), accessText.arg(u"True"_s, u"secret"_s)},
        {kAccess, with(access, &DBProfile::Password, ""), accessText.arg(u"False"_s, QString())}, {kSqlServer, sql, sqlText.arg(u"pw"_s, u"False"_s)},
        {kSqlServer, with(sql, &DBProfile::NetworkLibrary, "DBMSSOCN"), sqlText.arg(u"pw"_s, u"False"_s) + u";Network Library=DBMSSOCN"_s},
        {kSqlServer, with(with(sql, &DBProfile::PersistSecurityInfo, "True"), &DBProfile::Password, ""), sqlText.arg(QString(), u"True"_s)},
        // Values go in as they are: a ";" in a value breaks the string.
        {kSqlServer, with(sql, &DBProfile::Password, "a;b c"), sqlText.arg(u"a;b c"_s, u"False"_s)},
        {u"[microsoft access]"_s, access, QString()}, {u"Microsoft SQL Server"_s, sql, QString()}, {u" [Microsoft Access]"_s, access, QString()}, {QString(), sql, QString()},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(Build_ConnectString(c.kind, c.profile), c.expected) << c.kind.toStdString();
    expectNoMessages();
}

// The profile as the suite's main program writes it, in code page 936; the Access kind read and opened:
// StartupTest.SingleUserEditionOpensTheConnectionAndShowsTheLogin.
TEST_F(SharedConnectionTest, ReadsTheProfileOfTheFile) {
    writeIni(
        u"[dbconnect]\r\nnetwork_library=DBMSSOCN\r\nUSER_ID=sa\r\nPassword=  p w  "
        u"\r\nDBNAME=KXPUB\r\nPERSIST_SECURITY_INFO=True\r\n"
        "DATA_SOURCE=财务服务器\r\nPROVIDER=SQLOLEDB.1\r\nDBTYPE=[Microsoft SQL Server]\r\n"_s);
    EXPECT_EQ(
        Get_ConnectString(),
        u"Provider=SQLOLEDB.1;Password=p w;Persist Security Info=True;User ID=sa;Initial Catalog=KXPUB;Data Source=财务服务器;Network Library=DBMSSOCN"_s);
    EXPECT_EQ(gDBType, kSqlServer);

    // An unknown kind gives nothing but is still the kind; the start-up then opens nothing, silently.
    writeIni(u"[DBCONNECT]\r\nDBTYPE=[Microsoft Oracle]\r\nPROVIDER=MSDAORA\r\n"_s);
    gConnectString = Get_ConnectString();
    EXPECT_EQ(gConnectString, QString());
    EXPECT_EQ(gDBType, u"[Microsoft Oracle]"_s);
    EXPECT_EQ(Open_Connect(), 0);
    QFile::remove(gIniFile);
    EXPECT_EQ(Get_ConnectString(), QString());
    EXPECT_EQ(gDBType, QString());
    expectNoMessages();
}

TEST_F(SharedConnectionTest, RefusesNoStringAndTheErrorMarkerSilently) {
    for (const char* cs : {"", "   ", "'ERROR'", "  'ERROR'  "}) {
        gConnectString = u(cs);
        EXPECT_EQ(Open_Connect(), 0) << cs;
    }
    EXPECT_EQ(gConn, nullptr);
    EXPECT_TRUE(server.calls.isEmpty());
    expectNoMessages();
}

TEST_F(SharedConnectionTest, OpensTheUntrimmedStringWithTwoMinutesToWaitAndASecondOpenReplacesIt) {
    gConnectString = u" "_s + kSqlBase + u" "_s;
    EXPECT_EQ(Open_Connect(), 1);
    ASSERT_NE(gConn, nullptr);
    EXPECT_EQ(gConn->State(), ado::adStateOpen);
    EXPECT_EQ(gConn->connectionString(), gConnectString);
    EXPECT_EQ(gConn->connectionTimeout(), 120);
    const ado::Connection* first = gConn.get();
    ASSERT_EQ(Open_Connect(), 1);
    EXPECT_NE(gConn.get(), first);
    EXPECT_EQ(server.opened(), QStringList({gConnectString, gConnectString}));
    ASSERT_EQ(server.calls.size(), 3);
    EXPECT_EQ(server.calls[1].kind, ScriptedServer::Call::Close) << "the first is closed by its release";
    Close_Connect();
    EXPECT_EQ(gConn, nullptr);
    EXPECT_EQ(server.calls.back().kind, ScriptedServer::Call::Close);
    Close_Connect();  // closing twice is harmless
    expectNoMessages();
}

TEST_F(SharedConnectionTest, FailedOpenIsReportedOnceAndGivesZero) {
    server.failOpen(u"SRV"_s, u"[DBNETLIB][ConnectionOpen (Connect()).]SQL Server 不存在或访问被拒绝。"_s);
    const QString missingFile = JetTestDatabase::connectionStringFor(dir.filePath(u"KXPUB.MDB"_s));
    // clang-format off
    const struct { QString cs, report; } cases[] = {
        {kSqlBase, u"[DBNETLIB][ConnectionOpen (Connect()).]SQL Server 不存在或访问被拒绝。"_s},
        {u"'error'"_s, u"未找到提供程序“”。该程序可能未正确安装。"_s},
        {u"Provider=MSDAORA;Data Source=ORCL"_s, u"未找到提供程序“MSDAORA”。该程序可能未正确安装。"_s},
        {missingFile, u"找不到文件“%1”。"_s.arg(dir.filePath(u"KXPUB.MDB"_s))},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cs.toStdString());
        port.messages.clear();
        gConnectString = c.cs;
        EXPECT_EQ(Open_Connect(), 0);
        expectOneReport(u"Open_Connect():"_s + c.report);
        ASSERT_NE(gConn, nullptr) << "the new connection object stays, closed";
        EXPECT_EQ(gConn->State(), ado::adStateClosed);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(u"KXPUB.MDB"_s))) << "opening never creates the file";
}

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
        const RuntimeError e = errorOf([&] { Open_Recordset(rs, u"select * from ZTML"_s); });
        EXPECT_EQ(e.number(), 3709);
        EXPECT_EQ(e.description(), kUnusable);
        EXPECT_EQ(rs.State(), 0);
        expectOneReport(u"Open_Recordset():"_s + (closed ? kUnusable : kNotSet));
    }
    EXPECT_TRUE(server.queries().isEmpty());
}

// Without gConn each reader goes its own way: those that open their recordset through Open_Recordset
// see its report and then their own failure; those that run their statement on gConn report once.
TEST_F(SharedConnectionTest, EveryReaderOfTheSharedConnectionFollowsItsOwnTrap) {
    gDBType = kAccess;
    const QString title = gAppTitle = u"进销存"_s;
    // clang-format off
    const struct { const char* name; std::function<void()> run; QStringList lines; } cases[] = {
        {"SetMSFlexGrid1Date",
         [] {
             AccountSetList list;
             list.loadLayout();
             EXPECT_FALSE(list.SetMSFlexGrid1Date());
             EXPECT_EQ(list.grid().Row(), 0);
         },
         {msgLine(u"Open_Recordset():"_s + kNotSet), msgLine(u"SetMSFlexGrid1Date():"_s + kUnusable)}},
        {"DateBaseModifyByZavrin", [] { EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed); },
         {msgLine(u"DateBaseModifyByZavrin()::升级数据库失败。"_s + kNotSet, MsgIcon::Information, title)}},
        {"LoadSetInfo",
         [] {
             AccountSetEditor editor(nullptr);
             editor.EditId = u"1"_s;
             editor.IsNew = false;
             editor.Form_Load();
             EXPECT_TRUE(editor.isUnloaded());
         },
         {msgLine(u"LoadSetInfo():"_s + kNotSet)}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        port.messages.clear();
        c.run();
        EXPECT_EQ(shownLines(port), c.lines);
    }
}

TEST_F(SharedConnectionTest, DerivesTheSetsString) {
    const QString accessBase =
        u"Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=D:\\DATA\\KXPUB.MDB;Mode=Read|Write;Jet OLEDB:Database Password=pw"_s;
    // clang-format off
    const struct { QString kind; const char *name, *base, *expected; } cases[] = {
        {kSqlServer, "ZT002", nullptr, "Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=ZT002;Data Source=SRV"},
        {kSqlServer, "MAIN_BK002", "Provider=SQLOLEDB;initial catalog=Main;Data Source=SRV;Network Library=X", "Provider=SQLOLEDB;initial catalog=MAIN_BK002;Data Source=SRV;Network Library=X"},
        {kSqlServer, "master", "Provider=SQLOLEDB;Initial Catalog=;Data Source=SRV", "Provider=SQLOLEDB;Initial Catalog=master;Data Source=SRV"},
        {kSqlServer, "X", "INITIAL CATALOG=MAIN;Provider=SQLOLEDB", "INITIAL CATALOG=X;Provider=SQLOLEDB"},
        // A server-supplied string without a catalog gets one.
        {kSqlServer, "MAIN_BK002", "Provider=SQLOLEDB;Data Source=SRV", "Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=MAIN_BK002"},
        {kSqlServer, "MAIN_BK002", "Provider=SQLOLEDB;Data Source=SRV;", "Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=MAIN_BK002"},
        {kSqlServer, "MAIN_BK002", "Provider=SQLNCLI11; initial catalog = MAIN ;Data Source=SRV", "Provider=SQLNCLI11; initial catalog =MAIN_BK002;Data Source=SRV"},
        {u"[microsoft access]"_s, "ZT", nullptr, "Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=ZT;Data Source=SRV"},
        {kAccess, "ZT002", nullptr, "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=D:\\DATA\\ZT002.MDB;Mode=Read|Write;Jet OLEDB:Database Password=pw"},
        {kAccess, "帐套_BK001", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\进销存\\KXPUB.MDB;Mode=Read|Write", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\进销存\\帐套_BK001.MDB;Mode=Read|Write"},
        {kAccess, "ZT002", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\DATA\\KXPUB.mdb", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\DATA\\KXPUB.mdb"},
        {kAccess, "A", "Data Source=C:\\KXPUB.MDB\\KXPUB.MDB", "Data Source=C:\\A.MDB\\A.MDB"},
        {kAccess, "A", "Initial Catalog=MAIN;Data Source=D:\\KXPUB.MDB", "Initial Catalog=MAIN;Data Source=D:\\A.MDB"},
    };
    // clang-format on
    for (const auto& c : cases) {
        gDBType = c.kind;
        const QString base = c.base ? u(c.base) : c.kind == kAccess ? accessBase : kSqlBase;
        EXPECT_EQ(Get_ZtConnectString(u(c.name), base), u(c.expected)) << c.expected;
    }
    gDBType = kSqlServer;
    const RuntimeError e = errorOf(
        [] { Get_ZtConnectString(u"ZT"_s, u"Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=MAIN"_s); });
    EXPECT_EQ(e.number(), 5);
    EXPECT_EQ(e.description(), u"无效的过程调用或参数"_s);
    expectNoMessages();
}

}  // namespace
}  // namespace ztgl::test
