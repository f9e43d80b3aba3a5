#include <QDateTime>
#include <algorithm>

#include "CreationFixture.h"
#include "JetFiles.h"
#include "LiveSqlServer.h"
#include "ado/Connection.h"
#include "creation/TargetConnection.h"
#include "demo/DemoTemplate.h"

namespace ztgl::test {
namespace {

const QString kQuestion =
    msgLine(QStringLiteral("将要创建的数据库已经存在，是否要继续创建数据库？\r\n是，继续创建数据库，"
                           "覆盖原来的数据库；\r\n否，停止执行创建数据库！"),
            MsgIcon::Information, "提示信息", MsgButtons::YesNo);

TEST(DatabaseCreationText, DataDirectoryStatementAndTemplate) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"E:\\SQL\\Data\\mgr.mdf", "E:\\SQL\\Data\\"}, {"/var/opt/mssql/data/mgr.mdf", "/var/opt/mssql/data/"},
        {"C:\\a/b\\c.mdf", "C:\\a/b\\"}, {"mgr.mdf", ""}, {"", ""}};
    // clang-format on
    for (const auto& [fileName, directory] : cases)
        EXPECT_EQ(DatabaseCreation::DataDirectory(QString::fromLatin1(fileName)),
                  QString::fromLatin1(directory))
            << fileName;
    EXPECT_EQ(TemplateConnectString("D:\\ZT\\"),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data "
                             "Source=D:\\ZT\\MWMSD_NULL.mdb;Mode=Read|Write;Jet OLEDB:Database Password=;"));
}

// --- SQL Server: CREATE DATABASE, then the schema copy; the whole road of Command_OK ---

const QString kCreate = QStringLiteral(
    "CREATE DATABASE MAIN_BK001 ON (NAME = MAIN_BK001_data,FILENAME = 'D:\\DATA\\MAIN_BK001.mdf',SIZE =2MB,"
    "MAXSIZE = 5MB,FILEGROWTH = 10%) LOG ON (NAME = 'MAIN_BK001_log',FILENAME = 'D:\\DATA\\MAIN_BK001.ldf',"
    "SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 5MB)");

class SqlServerCreation : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ASSERT_TRUE(dir.isValid());
        gAppPath = dir.path() + QLatin1Char('/');
        JetFiles::write(gAppPath + kTemplateFileName, "");  // only its existence is tested
        gDBType = kSqlServer;
        gManagerDBName = "MAIN";
        gConnectString = cs("MAIN");
        server.ignore("CZRZ");  // the record of changes has tests of its own
        server.onQuery("^select getdate\\(\\) as sj$",
                       ScriptedServer::rows({"sj"}, {{QDateTime(QDate(2024, 3, 5), QTime(9, 30))}}));
        server.onQuery("^select \\* from dbo\\.sysdatabases where name='MAIN'$",
                       ScriptedServer::rows({"FileName"}, {{"D:\\DATA\\MAIN.mdf"}}));
        tpl.addTable("Users", {ScriptedTemplate::column("Id", ado::adVarWChar, 10, false),
                               ScriptedTemplate::column("Uname", ado::adVarWChar, 30, false),
                               ScriptedTemplate::column("PWD", ado::adVarWChar, 200, true, "\"\"")});
        tpl.addKey("Users", "PrimaryKey", ado::adKeyPrimary, {"Id"});
        tpl.setRows("Users", {{"0", "管理员", ""}});
        ASSERT_EQ(Open_Connect(), 1);
        progress.Show();
        server.calls.clear();
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }

    bool create() {
        DatabaseCreation creation(target, progress);
        const bool ok = creation.CreateDataBase("MAIN_BK001");
        EXPECT_FALSE(creation.errorPending());
        EXPECT_FALSE(target.isOpen());
        return ok;
    }
    // A loaded editor; a new set's (Id 1) with its boxes filled.
    std::unique_ptr<AccountSetEditor> newEditor(AccountSetRows* rows = nullptr,
                                                const QString& modifiedId = {}) {
        auto e = std::make_unique<AccountSetEditor>(rows);
        e->IsNew = modifiedId.isEmpty();
        e->EditId = e->IsNew ? "1" : modifiedId;
        e->Form_Load();
        if (e->IsNew)
            e->TxtDB = {" 华东公司 ", "张三", "a b", "a b"};
        server.calls.clear();
        return e;
    }
    static QString cs(const QString& catalog) {
        return "Provider=SQLOLEDB;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=" +
               catalog + ";Data Source=SRV";
    }

    QTemporaryDir dir;
    RecordingUiPort port;
    ScriptedServer server;
    ScriptedTemplate tpl;
    TargetConnection target;
    ProgressWindow progress;
};

TEST_F(SqlServerCreation, NewSet) {
    auto e = newEditor();  // its creation date: the server's, in the ZTML row below
    QStringList steps;
    ProgressSteps::attach(e->progress(), steps);
    e->Command_OK();

    EXPECT_EQ(shownLines(port), QStringList{msgLine("已经成功创建新帐套！")});
    EXPECT_TRUE(e->saved());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
    EXPECT_EQ(server.opened(), (QStringList{cs("master"), cs("MAIN_BK001"), cs("MAIN_BK001")}));
    EXPECT_EQ(server.queries(), (QStringList{"select * from ZTML where ZTMC='华东公司'",
                                             "select * from dbo.sysdatabases where name='MAIN'",
                                             "select * from dbo.sysdatabases where name='MAIN_BK001'",
                                             "select getdate() as sj"}));
    EXPECT_EQ(server.executed(),
              (QStringList{
                  kCreate,
                  QStringLiteral("CREATE TABLE Users(Id nvarchar (10) not null ,Uname nvarchar (30) not null "
                                 ",PWD nvarchar (200) DEFAULT '' ,constraint Users_Id primary  key(Id))"),
                  "Insert into Users(Id,Uname,PWD) values('0','管理员','')",
                  QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) "
                                 "values('1','华东公司','MAIN_BK001','2024-03-05',1)"),
                  "Update Users set Uname='张三',PWD=" + GetSqlVal(Set_Mima("0a b0")) + " where Id='0'"}));
    // Every connection to the new database is closed again.
    EXPECT_EQ(std::count_if(server.calls.begin(), server.calls.end(),
                            [](const auto& c) { return c.kind == ScriptedServer::Call::Close; }),
              3);
    const QString head = "正在创建帐套“ 华东公司 ”|";
    EXPECT_EQ(steps,
              (QStringList{"|", "repaint", head, head + "创建数据库MAIN_BK001,请稍后……",
                           head + "准备创建表结构、复制表数据，请稍后……", head + "正在创建Users表，请稍后……",
                           head + "创建帐套信息，请稍后……", head + "新建帐套用户，请稍后……"}));
}

TEST_F(SqlServerCreation, ModifyWithoutNewPasswordWritesOnlyTheName) {
    server.onQuery("^select \\* from ZTML where Id='3'$",
                   ScriptedServer::rows({"Id", "ZTMC", "ZTLJ", "CreateTime", "UserFlag"},
                                        {{"3", "华东公司", "MAIN_BK003", QVariant(), 1}}));
    server.onQuery("^select \\* from Users where Id='0'$",
                   ScriptedServer::rows({"Id", "Uname"}, {{"0", "张三"}}));
    RecordingRows rows;
    auto e = newEditor(&rows, "3");
    ASSERT_FALSE(e->isUnloaded());
    EXPECT_EQ(QStringList(e->TxtDB.begin(), e->TxtDB.end()), (QStringList{"华东公司", "张三", "", ""}));
    EXPECT_EQ(e->lblCreateTime, "2024-03-05");  // no CreateTime: the server's date
    e->TxtDB[0] = "华东分公司";
    e->TxtDB[1] = "李四";
    port.answer(MsgAnswer::Yes);
    e->Command_OK();
    EXPECT_EQ(server.queries(), (QStringList{"select * from ZTML where ZTMC='华东分公司' AND ID<>'3'",
                                             "select * from Users where Id <> '0' and Uname='李四'"}));
    EXPECT_EQ(server.executed(), (QStringList{"Update ZTML set ZTMC='华东分公司' where Id='3'",
                                              "Update Users set Uname='李四' where Id='0'"}));
    EXPECT_EQ(server.opened(), (QStringList{cs("MAIN_BK003"), cs("MAIN_BK003")}));
    EXPECT_EQ(
        shownLines(port),
        (QStringList{msgLine("确定不修改用户的密码？", MsgIcon::Information, "提示信息", MsgButtons::YesNo),
                     msgLine("已经成功修改帐套！")}));
    EXPECT_TRUE(e->saved());
    EXPECT_EQ(rows.calls, (QVector<QStringList>{{"rename", "华东分公司"}}));
    // Modifying never disables the main window; it only makes sure it is usable at the end.
    EXPECT_EQ(port.mainWindowEnabled, QVector<bool>{true});
}

// A database that cannot be made leaves no catalogue row and the editor back for a retry; a
// server error during the checks writes nothing; a failing user update keeps the set in the
// catalogue, so the list shows it and the editor closes.
struct CommandOkFailure {
    const char *name, *failOn;
    int code;
    const char *text, *message;
    bool catalogued;
};

class SqlServerCommandOk : public SqlServerCreation,
                           public ::testing::WithParamInterface<CommandOkFailure> {};

TEST_P(SqlServerCommandOk, Fails) {
    const CommandOkFailure& c = GetParam();
    RecordingRows rows;
    server.failOn(QString::fromUtf8(c.failOn), c.code, QString::fromUtf8(c.text));
    auto e = newEditor(&rows);
    e->Command_OK();
    EXPECT_EQ(shownLines(port), QStringList{msgLine(QString::fromUtf8(c.message))});
    EXPECT_EQ(server.executed().filter("insert into ZTML").size(), c.catalogued ? 1 : 0);
    EXPECT_EQ(rows.calls.size(), c.catalogued ? 1 : 0);
    EXPECT_EQ(e->isUnloaded(), c.catalogued);
    EXPECT_EQ(e->isVisible(), !c.catalogued);
    EXPECT_TRUE(e->isEnabled());
    EXPECT_FALSE(e->saved() || e->progress().isLoaded());
    EXPECT_EQ(port.mainWindowEnabled.value(port.mainWindowEnabled.size() - 1, true), true);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, SqlServerCommandOk, ::testing::Values(
    CommandOkFailure{"Create", "^CREATE DATABASE", -2147217900, "磁盘已满", "创建数据库失败！", false},
    CommandOkFailure{"Check", "^select \\* from ZTML where ZTMC", -2147467259, "连接已断开", "Command_OK()::连接已断开", false},
    CommandOkFailure{"UserUpdate", "^Update Users", -2147217900, "列名 'Uname' 无效。", "Command_OK()::列名 'Uname' 无效。", true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// An existing database is dropped on Yes. No to the overwrite question, a server that cannot be
// reached, a CREATE DATABASE the server refuses: False, without a message of its own. A template
// that cannot be read after the database was made: the schema copy's message. Each case: the
// answer to the overwrite question (Ok: the database does not exist yet); `executed`: the statements
// sent first (the only ones unless it succeeds); `closesLast`: the last call closes what was opened.
struct CreateCase {
    const char *name, *failOpen, *failOn, *noTemplate;
    MsgAnswer answer;
    QStringList executed;
    QString message;
    int opened, templateOpens;
    bool closesLast;
};

class SqlServerCreate : public SqlServerCreation, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(SqlServerCreate, Database) {
    const CreateCase& c = GetParam();
    if (c.answer != MsgAnswer::Ok) {
        server.onQuery("name='MAIN_BK001'$", ScriptedServer::rows({"name"}, {{"MAIN_BK001"}}));
        port.answer(c.answer);
    }
    if (*c.failOpen)
        server.failOpen(QString::fromUtf8(c.failOpen));
    if (*c.failOn)
        server.failOn(QString::fromUtf8(c.failOn), -2147217900, "磁盘已满");
    if (*c.noTemplate)
        tpl.failOpen(QString::fromUtf8(c.noTemplate));
    const bool created = c.answer == MsgAnswer::Yes;
    EXPECT_EQ(create(), created);
    EXPECT_EQ(server.executed().mid(0, created ? c.executed.size() : -1), c.executed);
    EXPECT_EQ(shownLines(port), c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_EQ(server.opened().size(), c.opened);
    EXPECT_EQ(tpl.opens, c.templateOpens);
    EXPECT_EQ(server.calls.back().kind == ScriptedServer::Call::Close, c.closesLast);
    EXPECT_EQ(progress.isVisible(PW::ProgressBar1), c.templateOpens > 0);  // the schema copy began
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, SqlServerCreate, ::testing::Values(
    CreateCase{"Yes", "", "", "", MsgAnswer::Yes, {"Drop DATABASE MAIN_BK001", kCreate}, kQuestion, 2, 1, true},
    CreateCase{"No", "", "", "", MsgAnswer::No, {}, kQuestion, 1, 0, true},
    CreateCase{"Unreachable", "Initial Catalog=master", "", "", MsgAnswer::Ok, {}, QString(), 1, 0, false},
    CreateCase{"Refused", "", "^CREATE DATABASE", "", MsgAnswer::Ok, {kCreate}, QString(), 1, 0, true},
    CreateCase{"UnreadableTemplate", "", "", "无法打开模板", MsgAnswer::Ok, {kCreate}, msgLine("XZBJG::无法打开模板"), 2, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A real SQL Server, when ZTGL_TEST_SQLSERVER_ODBC holds an ODBC connection string
// ("SERVER=host[,port];UID=…;PWD=…[;Port=…]"): the demo template is built in a new database
// beside master's files, checked, and dropped again.
TEST(CreationLive, BuildsTheDemoTemplateOnSqlServer) {
    const QString master = LiveSqlServerConnectString("master");
    if (master.isEmpty())
        GTEST_SKIP() << "ZTGL_TEST_SQLSERVER_ODBC not set";
    ResetGlobals();
    RecordingUiPort port;
    port.answer(MsgAnswer::Yes);  // a leftover of an earlier run is replaced
    QTemporaryDir dir;
    gAppPath = dir.path() + QLatin1Char('/');
    QString error;
    ASSERT_TRUE(WriteDemoTemplate(gAppPath + kTemplateFileName, &error)) << error.toStdString();
    gDBType = kSqlServer;
    gManagerDBName = "master";
    gConnectString = master;
    const QString name = QStringLiteral("ztgl_live_BK%1").arg(QDateTime::currentMSecsSinceEpoch() % 1000);
    TargetConnection target;
    ProgressWindow progress;
    progress.Show();
    EXPECT_TRUE(DatabaseCreation(target, progress).CreateDataBase(name));
    for (const auto& m : port.messages)
        EXPECT_NE(m.buttons, MsgButtons::Ok) << m.text.toStdString();
    ado::Connection conn;
    conn.setConnectionString(gConnectString);
    conn.Open();
    const auto tables = conn.query("select count(*) from " + name + ".INFORMATION_SCHEMA.TABLES");
    EXPECT_GE(tables.rows.value(0).value(0).toInt(), 25);
    conn.Execute("IF DB_ID('" + name + "') IS NOT NULL DROP DATABASE " + name);
    conn.Close();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl::test
