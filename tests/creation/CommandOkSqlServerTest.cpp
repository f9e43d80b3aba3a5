#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "ScriptedTemplate.h"
#include "ado/DataType.h"
#include "creation/AccountSetRows.h"
#include "creation/AccountSetEditor.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "operators/SetMima.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

using test::RecordingUiPort;
using test::ScriptedServer;
using test::ScriptedTemplate;

// The whole road of a new set on SQL Server, as the statements reach the server.
class CommandOkSqlServer : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ASSERT_TRUE(dir.isValid());
        gAppPath = dir.path() + QLatin1Char('/');
        QFile templateFile(gAppPath + kTemplateFileName);
        ASSERT_TRUE(templateFile.open(QIODevice::WriteOnly));
        templateFile.close();
        gDBType = kSqlServer;
        gManagerDBName = QStringLiteral("MAIN");
        gConnectString = cs(QStringLiteral("MAIN"));
        server.ignore(QStringLiteral("CZRZ"));  // the record of changes has tests of its own
        server.onQuery(
            QStringLiteral("^select getdate\\(\\) as sj$"),
            ScriptedServer::rows({QStringLiteral("sj")}, {{QDateTime(QDate(2024, 3, 5), QTime(9, 30, 0))}}));
        server.onQuery(
            QStringLiteral("where name='MAIN'$"),
            ScriptedServer::rows({QStringLiteral("FileName")}, {{QStringLiteral("D:\\DATA\\MAIN.mdf")}}));
        tpl.addTable(QStringLiteral("Users"),
                     {ScriptedTemplate::column(QStringLiteral("Id"), ado::adVarWChar, 10, false),
                      ScriptedTemplate::column(QStringLiteral("Uname"), ado::adVarWChar, 30, false),
                      ScriptedTemplate::column(QStringLiteral("PWD"), ado::adVarWChar, 200, true,
                                               QStringLiteral("\"\""))});
        tpl.addKey(QStringLiteral("Users"), QStringLiteral("PrimaryKey"), ado::adKeyPrimary,
                   {QStringLiteral("Id")});
        tpl.setRows(QStringLiteral("Users"),
                    {{QStringLiteral("0"), QStringLiteral("管理员"), QStringLiteral("")}});
        ASSERT_EQ(Open_Connect(), 1);
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }
    static QString cs(const QString& catalog) {
        return QStringLiteral(
                   "Provider=SQLOLEDB;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=") +
               catalog + QStringLiteral(";Data Source=SRV");
    }

    QTemporaryDir dir;
    RecordingUiPort port;
    ScriptedServer server;
    ScriptedTemplate tpl;
};

TEST_F(CommandOkSqlServer, NewSet) {
    AccountSetEditor e(nullptr);
    e.EditId = QStringLiteral("12");
    e.Form_Load();
    EXPECT_EQ(e.lblCreateTime, QStringLiteral("2024-03-05"));
    e.TxtDB = {QStringLiteral(" 华东公司 "), QStringLiteral("张三"), QStringLiteral("a b"),
               QStringLiteral("a b")};
    server.calls.clear();
    e.Command_OK();

    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("已经成功创建新帐套！"));
    EXPECT_EQ(server.opened(), (QStringList{cs(QStringLiteral("master")), cs(QStringLiteral("MAIN_BK012")),
                                            cs(QStringLiteral("MAIN_BK012"))}));
    EXPECT_EQ(server.queries(),
              (QStringList{QStringLiteral("select * from ZTML where ZTMC='华东公司'"),
                           QStringLiteral("select * from dbo.sysdatabases where name='MAIN'"),
                           QStringLiteral("select * from dbo.sysdatabases where name='MAIN_BK012'"),
                           QStringLiteral("select getdate() as sj")}));
    EXPECT_EQ(
        server.executed(),
        (QStringList{
            QStringLiteral(
                "CREATE DATABASE MAIN_BK012 ON (NAME = MAIN_BK012_data,FILENAME = "
                "'D:\\DATA\\MAIN_BK012.mdf',SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 10%) LOG ON (NAME = "
                "'MAIN_BK012_log',FILENAME = 'D:\\DATA\\MAIN_BK012.ldf',SIZE =2MB,MAXSIZE = "
                "5MB,FILEGROWTH = 5MB)"),
            QStringLiteral("CREATE TABLE Users(Id nvarchar (10) not null ,Uname nvarchar (30) not null ,PWD "
                           "nvarchar (200) DEFAULT '' ,constraint Users_Id primary  key(Id))"),
            QStringLiteral("Insert into Users(Id,Uname,PWD) values('0','管理员','')"),
            QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) "
                           "values('12','华东公司','MAIN_BK012','2024-03-05',1)"),
            QStringLiteral("Update Users set Uname='张三',PWD=") +
                GetSqlVal(Set_Mima(QStringLiteral("0a b0"))) + QStringLiteral(" where Id='0'"),
        }));
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
    EXPECT_TRUE(e.saved());
}

TEST_F(CommandOkSqlServer, ModifyWithoutNewPasswordWritesOnlyTheName) {
    server.onQuery(QStringLiteral("^select \\* from ZTML where Id='3'$"),
                   ScriptedServer::rows({QStringLiteral("Id"), QStringLiteral("ZTMC"), QStringLiteral("ZTLJ"),
                                         QStringLiteral("CreateTime"), QStringLiteral("UserFlag")},
                                        {{QStringLiteral("3"), QStringLiteral("华东公司"),
                                          QStringLiteral("MAIN_BK003"), QVariant(), 1}}));
    server.onQuery(QStringLiteral("^select \\* from Users where Id='0'$"),
                   ScriptedServer::rows({QStringLiteral("Id"), QStringLiteral("Uname")},
                                        {{QStringLiteral("0"), QStringLiteral("张三")}}));
    AccountSetEditor e(nullptr);
    e.EditId = QStringLiteral("3");
    e.IsNew = false;
    e.Form_Load();
    ASSERT_FALSE(e.isUnloaded());
    EXPECT_EQ(e.TxtDB[1], QStringLiteral("张三"));
    EXPECT_EQ(e.lblCreateTime, QStringLiteral("2024-03-05"));  // no CreateTime: the server's date
    e.TxtDB[0] = QStringLiteral("华东分公司");
    e.TxtDB[1] = QStringLiteral("李四");
    port.answer(MsgAnswer::Yes);
    server.calls.clear();
    e.Command_OK();
    EXPECT_EQ(server.queries(),
              (QStringList{QStringLiteral("select * from ZTML where ZTMC='华东分公司' AND ID<>'3'"),
                           QStringLiteral("select * from Users where Id <> '0' and Uname='李四'")}));
    EXPECT_EQ(server.executed(),
              (QStringList{QStringLiteral("Update ZTML set ZTMC='华东分公司' where Id='3'"),
                           QStringLiteral("Update Users set Uname='李四' where Id='0'")}));
    EXPECT_EQ(server.opened(),
              (QStringList{cs(QStringLiteral("MAIN_BK003")), cs(QStringLiteral("MAIN_BK003"))}));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[1].text, QStringLiteral("已经成功修改帐套！"));
}

TEST_F(CommandOkSqlServer, AFailingDatabaseLeavesNoCatalogueRow) {
    server.failOn(QStringLiteral("^CREATE DATABASE"));
    AccountSetEditor e(nullptr);
    e.EditId = QStringLiteral("1");
    e.Form_Load();
    e.TxtDB = {QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("p"), QStringLiteral("p")};
    e.Command_OK();
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("创建数据库失败！"));
    for (const QString& sql : server.executed())
        EXPECT_FALSE(sql.startsWith(QStringLiteral("insert into ZTML")));
    EXPECT_TRUE(e.isVisible());
    EXPECT_TRUE(e.isEnabled());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
}

TEST_F(CommandOkSqlServer, AFailingUserUpdateKeepsTheSetInTheCatalogue) {
    server.failOn(QStringLiteral("^Update Users"), -2147217900, QStringLiteral("列名 'Uname' 无效。"));
    struct Rows final : AccountSetRows {
        int appended = 0;
        void appendNewSet(const QString&, const QString&, const QString&, const QString&) override {
            ++appended;
        }
        void renameCurrentSet(const QString&) override {}
    } rows;
    AccountSetEditor e(&rows);
    e.EditId = QStringLiteral("1");
    e.Form_Load();
    e.TxtDB = {QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("p"), QStringLiteral("p")};
    e.Command_OK();
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("Command_OK()::列名 'Uname' 无效。"));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    // The set is in the catalogue, so the list shows it and the editor closes.
    EXPECT_EQ(rows.appended, 1);
    EXPECT_TRUE(e.isUnloaded());
    EXPECT_FALSE(e.saved());
    EXPECT_FALSE(e.progress().isLoaded());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
}

TEST_F(CommandOkSqlServer, AServerErrorDuringTheChecksIsReportedAndNothingIsWritten) {
    server.failOn(QStringLiteral("^select \\* from ZTML where ZTMC"), -2147467259,
                  QStringLiteral("连接已断开"));
    AccountSetEditor e(nullptr);
    e.EditId = QStringLiteral("1");
    e.Form_Load();
    e.TxtDB = {QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("p"), QStringLiteral("p")};
    server.calls.clear();
    e.Command_OK();
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("Command_OK()::连接已断开"));
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_TRUE(e.isVisible());
    EXPECT_FALSE(e.isUnloaded());
}

}  // namespace
}  // namespace ztgl
