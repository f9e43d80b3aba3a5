#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "AccountSetFolder.h"
#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "ScriptedTemplate.h"
#include "ado/DataType.h"
#include "creation/ProgressWindow.h"
#include "creation/DatabaseCreation.h"
#include "creation/TargetConnection.h"
#include "creation/TemplateDatabase.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

using test::AccountSetFolder;
using test::RecordingUiPort;
using test::ScriptedServer;
using test::ScriptedTemplate;
using PW = ProgressWindow;

const QString kQuestion = QStringLiteral(
    "将要创建的数据库已经存在，是否要继续创建数据库？\r\n是，继续创建数据库，覆盖原来的数据库；\r\n否，停止执"
    "行创建数据库！");

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void expectQuestion(const test::ShownMessage& m) {
    EXPECT_EQ(m.text, kQuestion);
    EXPECT_EQ(m.title, QStringLiteral("提示信息"));
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, MsgButtons::YesNo);
}

TEST(DatabaseCreationText, DataDirectoryIsCutAfterTheLastSeparator) {
    const struct {
        const char* fileName;
        const char* directory;
    } cases[] = {
        {"E:\\SQL\\Data\\mgr.mdf", "E:\\SQL\\Data\\"},
        {"/var/opt/mssql/data/mgr.mdf", "/var/opt/mssql/data/"},
        {"C:\\a/b\\c.mdf", "C:\\a/b\\"},
        {"mgr.mdf", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DatabaseCreation::DataDirectory(QString::fromLatin1(c.fileName)),
                  QString::fromLatin1(c.directory))
            << c.fileName;
}

TEST(DatabaseCreationText, CreateDatabaseStatement) {
    EXPECT_EQ(
        DatabaseCreation::CreateDatabaseStatement(QStringLiteral("MAIN_BK001"), QStringLiteral("D:\\DATA\\")),
        QStringLiteral("CREATE DATABASE MAIN_BK001 ON (NAME = MAIN_BK001_data,FILENAME = "
                       "'D:\\DATA\\MAIN_BK001.mdf',SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 10%) LOG ON (NAME = "
                       "'MAIN_BK001_log',FILENAME = 'D:\\DATA\\MAIN_BK001.ldf',SIZE =2MB,MAXSIZE = "
                       "5MB,FILEGROWTH = 5MB)"));
    EXPECT_EQ(DatabaseCreation::OverwriteQuestion(), kQuestion);
}

TEST(DatabaseCreationText, TemplateConnectString) {
    EXPECT_EQ(TemplateConnectString(QStringLiteral("D:\\ZT\\")),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data "
                             "Source=D:\\ZT\\MWMSD_NULL.mdb;Mode=Read|Write;Jet OLEDB:Database Password=;"));
}

// --- Access: a byte copy of the template ---

class AccessCreation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
        progress.Show();
    }
    bool create(const QString& name) {
        DatabaseCreation creation(target, progress);
        const bool ok = creation.CreateDataBase(name);
        EXPECT_FALSE(creation.errorPending());
        return ok;
    }

    RecordingUiPort port;
    AccountSetFolder folder;
    TargetConnection target;
    ProgressWindow progress;
};

TEST_F(AccessCreation, CopiesTheTemplateByteForByteUnderTheSpellingItsConnectionStringNames) {
    ASSERT_TRUE(create(QStringLiteral("_BK001")));
    const QString made = folder.file(QStringLiteral("_BK001.MDB"));
    ASSERT_TRUE(QFile::exists(made));
    EXPECT_EQ(contents(made), contents(folder.file(QStringLiteral("MWMSD_NULL.mdb"))));
    EXPECT_EQ(gTemplateConnectString, TemplateConnectString(folder.path()));
    EXPECT_EQ(progress.caption(PW::Label1), QStringLiteral("创建数据库_BK001,请稍后……"));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(target.isOpen());
}

TEST_F(AccessCreation, AnExistingSetIsKeptOnNo) {
    const QString made = folder.file(QStringLiteral("_BK002.MDB"));
    QFile old(made);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("books of a company");
    old.close();
    port.answer(MsgAnswer::No);
    EXPECT_FALSE(create(QStringLiteral("_BK002")));
    ASSERT_EQ(port.messages.size(), 1);
    expectQuestion(port.messages[0]);
    EXPECT_EQ(contents(made), QByteArray("books of a company"));
}

TEST_F(AccessCreation, AnExistingSetIsReplacedOnYesWhateverTheCaseOfItsName) {
    const QString lower = folder.file(QStringLiteral("_BK003.mdb"));
    QFile old(lower);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    port.answer(MsgAnswer::Yes);
    ASSERT_TRUE(create(QStringLiteral("_BK003")));
    ASSERT_EQ(port.messages.size(), 1);
    expectQuestion(port.messages[0]);
    EXPECT_FALSE(QFile::exists(lower));
    EXPECT_EQ(contents(folder.file(QStringLiteral("_BK003.MDB"))),
              contents(folder.file(QStringLiteral("MWMSD_NULL.mdb"))));
}

// A folder in the way is no database file: there is nothing to overwrite, the copy fails.
TEST_F(AccessCreation, AFileThatCannotBeWrittenFailsWithoutAMessageOfItsOwn) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("_BK004.MDB")));
    EXPECT_FALSE(create(QStringLiteral("_BK004")));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_TRUE(QFileInfo(folder.file(QStringLiteral("_BK004.MDB"))).isDir());
}

TEST(AccessCreationWithoutTemplate, ReturnsFalseAtOnceAndMakesNothing) {
    RecordingUiPort port;
    AccountSetFolder folder(false);
    ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
    gTemplateConnectString = QStringLiteral("before");
    TargetConnection target;
    ProgressWindow progress;
    progress.Show();
    DatabaseCreation creation(target, progress);
    EXPECT_FALSE(creation.CreateDataBase(QStringLiteral("_BK001")));
    EXPECT_FALSE(creation.errorPending());
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("_BK001.MDB"))));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(gTemplateConnectString, QStringLiteral("before"));
    EXPECT_EQ(progress.caption(PW::Label1), QString());
}

// --- SQL Server: CREATE DATABASE, then the schema copy ---

class SqlServerCreation : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        ASSERT_TRUE(dir.isValid());
        gAppPath = dir.path() + QLatin1Char('/');
        QFile templateFile(gAppPath + kTemplateFileName);  // only its existence is tested
        ASSERT_TRUE(templateFile.open(QIODevice::WriteOnly));
        templateFile.close();
        gDBType = kSqlServer;
        gManagerDBName = QStringLiteral("MAIN");
        gConnectString = QStringLiteral(
            "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;Initial "
            "Catalog=MAIN;Data "
            "Source=SRV");
        tpl.addTable(QStringLiteral("Units"),
                     {ScriptedTemplate::column(QStringLiteral("DWBH"), ado::adVarWChar, 6, false),
                      ScriptedTemplate::column(QStringLiteral("DWMC"), ado::adVarWChar, 10, false)});
        tpl.addKey(QStringLiteral("Units"), QStringLiteral("PrimaryKey"), ado::adKeyPrimary,
                   {QStringLiteral("DWBH")});
        tpl.setRows(QStringLiteral("Units"), {{QStringLiteral("01"), QStringLiteral("个")}});
        server.onQuery(
            QStringLiteral("^select \\* from dbo\\.sysdatabases where name='MAIN'$"),
            ScriptedServer::rows({QStringLiteral("name"), QStringLiteral("FileName")},
                                 {{QStringLiteral("MAIN"), QStringLiteral("E:\\SQL\\Data\\mgr.mdf")}}));
        progress.Show();
    }
    void TearDown() override { ResetGlobals(); }

    bool create(const QString& name = QStringLiteral("MAIN_BK001")) {
        DatabaseCreation creation(target, progress);
        const bool ok = creation.CreateDataBase(name);
        pending = creation.errorPending();
        return ok;
    }
    QString connectString(const QString& catalog) const {
        return QStringLiteral(
                   "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;Initial "
                   "Catalog=%1;Data Source=SRV")
            .arg(catalog);
    }

    QTemporaryDir dir;
    RecordingUiPort port;
    ScriptedServer server;
    ScriptedTemplate tpl;
    TargetConnection target;
    ProgressWindow progress;
    bool pending = false;
};

const QString kCreate = QStringLiteral(
    "CREATE DATABASE MAIN_BK001 ON (NAME = MAIN_BK001_data,FILENAME = 'E:\\SQL\\Data\\MAIN_BK001.mdf',SIZE "
    "=2MB,"
    "MAXSIZE = 5MB,FILEGROWTH = 10%) LOG ON (NAME = 'MAIN_BK001_log',FILENAME = "
    "'E:\\SQL\\Data\\MAIN_BK001.ldf',SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 5MB)");

TEST_F(SqlServerCreation, CreatesTheDatabaseThenItsTablesAndRows) {
    ASSERT_TRUE(create());
    EXPECT_FALSE(pending);
    EXPECT_EQ(server.opened(), (QStringList{connectString(QStringLiteral("master")),
                                            connectString(QStringLiteral("MAIN_BK001"))}));
    EXPECT_EQ(server.queries(),
              (QStringList{QStringLiteral("select * from dbo.sysdatabases where name='MAIN'"),
                           QStringLiteral("select * from dbo.sysdatabases where name='MAIN_BK001'")}));
    EXPECT_EQ(server.executed(),
              (QStringList{
                  kCreate,
                  QStringLiteral("CREATE TABLE Units(DWBH nvarchar (6) not null ,DWMC nvarchar (10) not null "
                                 ",constraint Units_DWBH primary  key(DWBH))"),
                  QStringLiteral("Insert into Units(DWBH,DWMC) values('01','个')")}));
    // Both connections are closed again.
    int closes = 0;
    for (const auto& c : server.calls)
        closes += c.kind == ScriptedServer::Call::Close;
    EXPECT_EQ(closes, 2);
    EXPECT_FALSE(target.isOpen());
    EXPECT_EQ(progress.caption(PW::Label1), QStringLiteral("正在创建Units表，请稍后……"));
    EXPECT_TRUE(progress.isVisible(PW::ProgressBar1));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(gTemplateConnectString, TemplateConnectString(gAppPath));
}

TEST_F(SqlServerCreation, ALinuxServerReportsSlashPaths) {
    ScriptedServer slashServer;
    slashServer.onQuery(QStringLiteral("name='MAIN'$"),
                        ScriptedServer::rows({QStringLiteral("FileName")},
                                             {{QStringLiteral("/var/opt/mssql/data/MAIN.mdf")}}));
    DatabaseCreation creation(target, progress);
    ASSERT_TRUE(creation.CreateDataBase(QStringLiteral("MAIN_BK001")));
    ASSERT_FALSE(slashServer.executed().isEmpty());
    EXPECT_TRUE(slashServer.executed()[0].contains(
        QStringLiteral("FILENAME = '/var/opt/mssql/data/MAIN_BK001.mdf'")));
    EXPECT_TRUE(slashServer.executed()[0].contains(
        QStringLiteral("FILENAME = '/var/opt/mssql/data/MAIN_BK001.ldf'")));
}

TEST_F(SqlServerCreation, ANullFileNameGivesFilesWithoutDirectory) {
    ScriptedServer other;
    other.onQuery(QStringLiteral("name='MAIN'$"),
                  ScriptedServer::rows({QStringLiteral("FileName")}, {{QVariant()}}));
    DatabaseCreation creation(target, progress);
    ASSERT_TRUE(creation.CreateDataBase(QStringLiteral("MAIN_BK001")));
    EXPECT_TRUE(other.executed().value(0).contains(QStringLiteral("FILENAME = 'MAIN_BK001.mdf'")));
}

TEST_F(SqlServerCreation, AnExistingDatabaseIsDroppedOnYes) {
    server.onQuery(QStringLiteral("name='MAIN_BK001'$"),
                   ScriptedServer::rows({QStringLiteral("name")}, {{QStringLiteral("MAIN_BK001")}}));
    port.answer(MsgAnswer::Yes);
    ASSERT_TRUE(create());
    ASSERT_EQ(port.messages.size(), 1);
    expectQuestion(port.messages[0]);
    EXPECT_EQ(server.executed().mid(0, 2),
              (QStringList{QStringLiteral("Drop DATABASE MAIN_BK001"), kCreate}));
}

TEST_F(SqlServerCreation, AnExistingDatabaseIsLeftAloneOnNo) {
    server.onQuery(QStringLiteral("name='MAIN_BK001'$"),
                   ScriptedServer::rows({QStringLiteral("name")}, {{QStringLiteral("MAIN_BK001")}}));
    port.answer(MsgAnswer::No);
    EXPECT_FALSE(create());
    EXPECT_FALSE(pending);
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_EQ(server.opened().size(), 1);
    EXPECT_EQ(server.calls.back().kind, ScriptedServer::Call::Close);
    EXPECT_FALSE(target.isOpen());
}

TEST_F(SqlServerCreation, AFailingCreateStatementFailsWithoutAMessage) {
    server.failOn(QStringLiteral("^CREATE DATABASE"), -2147217900, QStringLiteral("磁盘已满"));
    EXPECT_FALSE(create());
    EXPECT_FALSE(pending);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(server.calls.back().kind, ScriptedServer::Call::Close);
    EXPECT_FALSE(target.isOpen());
    EXPECT_EQ(tpl.opens, 0);
}

TEST_F(SqlServerCreation, AnUnreachableServerFails) {
    server.failOpen(QStringLiteral("Initial Catalog=master"));
    EXPECT_FALSE(create());
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(SqlServerCreation, AnUnreadableTemplateFailsAfterTheDatabaseWasMade) {
    tpl.failOpen(QStringLiteral("无法打开模板"));
    EXPECT_FALSE(create());
    EXPECT_EQ(server.executed(), QStringList{kCreate});
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("XZBJG::无法打开模板"));
    EXPECT_FALSE(target.isOpen());
}

// Records every step text the progress window shows in its first line.
class StepRecorder final : public ProgressWindow::View {
public:
    explicit StepRecorder(QStringList& steps) : m_steps(steps) {}
    void progressChanged(const ProgressWindow& window) override {
        const QString text = window.caption(PW::Label1);
        if (m_steps.isEmpty() || m_steps.back() != text) m_steps << text;
    }
    void repaintNow() override {}

private:
    QStringList& m_steps;
};

TEST_F(SqlServerCreation, StepTextsOfTheProgressWindowInOrder) {
    QStringList steps;
    progress.setViewFactory([&steps](ProgressWindow&) { return std::make_unique<StepRecorder>(steps); });
    progress.Show();
    ASSERT_TRUE(create());
    EXPECT_EQ(steps, (QStringList{QString(), QStringLiteral("创建数据库MAIN_BK001,请稍后……"),
                                  QStringLiteral("准备创建表结构、复制表数据，请稍后……"),
                                  QStringLiteral("正在创建Units表，请稍后……")}));
}

}  // namespace
}  // namespace ztgl
