// Backing up, restoring and retiring the sets of a SQL Server manager's database: the statements
// on the scripted server, and what refuses a backup.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ScriptedCatalogueFixture.h"
#include "ScriptedTemplate.h"
#include "ShownLines.h"
#include "ado/Connection.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "process/IniFile.h"
#include "safekeeping/BackupFile.h"
#include "safekeeping/SafekeepingCommands.h"

namespace ztgl::test {
namespace {

const QString kServerFile = QStringLiteral("D:\\DATA\\BK003_20240305-142007.bak");

class ServerSafekeepingTest : public ScriptedCatalogueFixture {
protected:
    void SetUp() override {
        ScriptedCatalogueFixture::SetUp();
        gAppPath = dir.path() + QLatin1Char('/');
        gIniFile = gAppPath + "kxconfig.ini";
        QFile(gAppPath + kTemplateFileName).open(QIODevice::WriteOnly);
        tpl.addTable("Users", {ScriptedTemplate::column("Id", ado::adVarWChar, 10)});
        tpl.addTable("Goods", {ScriptedTemplate::column("SPBH", ado::adVarWChar, 20)});
        gManagerDBName = "MAIN";
        answer("^select getdate\\(\\) as sj$", {"sj"}, {QDateTime(QDate(2024, 3, 5), QTime(14, 20, 7))});
        answer("from dbo.sysdatabases where name='MAIN'$", {"FileName"}, {"D:\\DATA\\MAIN.mdf"});
        answer("from dbo.sysdatabases where name='MAIN_BK003'$", {"name"}, {"MAIN_BK003"});
        answer("^RESTORE HEADERONLY", {"BackupSetGUID"}, {"6F9619FF-8B86-D011-B42D-00C04FC964FF"});
        server.onQuery("INFORMATION_SCHEMA.TABLES",
                       ScriptedServer::rows({"TABLE_NAME"}, {{"Goods"}, {"Users"}}));
        server.onQuery("^RESTORE FILELISTONLY",
                       ScriptedServer::rows({"LogicalName", "Type"},
                                            {{"MAIN_BK003_data", "D"}, {"MAIN_BK003_log", "L"}}));
        answer("^select max\\(convert\\(int,ID\\)\\) as ls_bm from ZTML$", {"ls_bm"}, {3});
    }
    void answer(const QString& pattern, const QStringList& columns, const QVector<QVariant>& row) {
        server.onQuery(pattern, ScriptedServer::rows(columns, {row}));
    }
    // Set 3 as ZTML lists it; the first answer scripted stays.
    void setFlag(int flag) {
        answer("^select \\* from ZTML where Id='3'$", {"Id", "ZTMC", "ZTLJ", "CreateTime", "UserFlag"},
               {"3", "华东", "MAIN_BK003", "2024-01-01", flag});
    }
    // The backup of set 3 as the GUI makes it; then the server's calls and the messages forgotten.
    QString backup() {
        setFlag(1);
        const QString file = commands.BackupSet("3");
        EXPECT_FALSE(file.isEmpty());
        server.calls.clear();
        port.messages.clear();
        return file;
    }
    QStringList backupStatements(const QString& serverFile) const {
        return {"BACKUP DATABASE MAIN_BK003 TO DISK = '" + serverFile + "' WITH CHECKSUM, COPY_ONLY, INIT",
                "RESTORE VERIFYONLY FROM DISK = '" + serverFile + "' WITH CHECKSUM"};
    }

    QTemporaryDir dir;
    ScriptedTemplate tpl;
    SafekeepingCommands commands;
};

TEST_F(ServerSafekeepingTest, BackupOnTheServerIsVerifiedAndItsManifestStaysBesideTheProgram) {
    setFlag(1);
    const QString file = commands.BackupSet("3");
    EXPECT_EQ(file, gAppPath + "backup/BK003_20240305-142007.ztbak");
    EXPECT_EQ(server.executed(), backupStatements(kServerFile));
    EXPECT_TRUE(
        server.queries().contains("RESTORE HEADERONLY FROM DISK = '" + kServerFile + QLatin1Char('\'')));
    const BackupManifest m = BackupFile::ReadManifest(file);
    EXPECT_EQ(QStringList(
                  {m.kind, m.serverFile, m.backupSetGuid, m.tables.join(','), m.time.toString(Qt::ISODate)}),
              QStringList({kSqlServer, kServerFile, "6F9619FF-8B86-D011-B42D-00C04FC964FF", "Goods,Users",
                           "2024-03-05T14:20:07"}));
    EXPECT_EQ(shownLines(port), QStringList{msgLine("已经成功备份帐套“华东”！\r\n备份文件：" +
                                                    QDir::toNativeSeparators(file))});

    // A folder of the server's own, named in the configuration.
    Write_Ini("BACKUP", "SERVER_FOLDER", "E:\\BAK", gIniFile);
    server.calls.clear();
    commands.BackupSet("3");
    EXPECT_EQ(server.executed(), backupStatements("E:\\BAK\\BK003_20240305-142007_2.bak"));

    // A backup the server cannot verify is no backup.
    server.failOn("^RESTORE VERIFYONLY", 3013, "RESTORE VERIFYONLY 异常终止。");
    port.messages.clear();
    EXPECT_TRUE(commands.BackupSet("3").isEmpty());
    EXPECT_EQ(shownLines(port), QStringList{msgLine("BackupSet():RESTORE VERIFYONLY 异常终止。")});
    EXPECT_EQ(QDir(gAppPath + "backup").entryList(QDir::Files).size(), 2);
}

TEST_F(ServerSafekeepingTest, RestoreOverItsSetInSingleUserModeAfterABackupOfIt) {
    const QString file = backup();
    port.answer(MsgAnswer::Yes);
    EXPECT_TRUE(commands.Restore(file, false));
    EXPECT_EQ(port.messages[0].text, QStringLiteral("将用备份中的数据替换帐套“华东”（编号3，数据库MAIN_"
                                                    "BK003）的全部现有数据。\r\n备份时间：2024-03-05 "
                                                    "14:20:07，备份人：[") +
                                         BackupFile::ReadManifest(file).operatorName.mid(1) +
                                         "。\r\n恢复前会先自动备份该帐套的现有数据。\r\n确定要恢复吗？");
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::YesNo);
    const QStringList expected =
        QStringList{"RESTORE VERIFYONLY FROM DISK = '" + kServerFile + "' WITH CHECKSUM"} +
        backupStatements("D:\\DATA\\BK003_20240305-142007_2.bak") +
        QStringList{"ALTER DATABASE MAIN_BK003 SET SINGLE_USER WITH ROLLBACK IMMEDIATE",
                    "RESTORE DATABASE MAIN_BK003 FROM DISK = '" + kServerFile + "' WITH REPLACE, CHECKSUM",
                    "ALTER DATABASE MAIN_BK003 SET MULTI_USER"};
    EXPECT_EQ(server.executed(), expected);
    EXPECT_TRUE(port.messages.last().text.startsWith("已经成功恢复帐套“华东”！\r\n恢复前的数据已备份到："));

    // A failing restore opens the database to all again.
    server.failOn("^RESTORE DATABASE", 3101, "数据库正在使用，无法获得对数据库的排他访问权。");
    server.calls.clear();
    port.answer(MsgAnswer::Yes);
    EXPECT_FALSE(commands.Restore(file, false));
    EXPECT_EQ(server.executed().last(), "ALTER DATABASE MAIN_BK003 SET MULTI_USER");
    EXPECT_EQ(port.messages.last().text, "RestoreBackup():数据库正在使用，无法获得对数据库的排他访问权。");
}

TEST_F(ServerSafekeepingTest, RestoreAsNewMovesTheFilesAndTakesOnlyTheBackupTheManifestNames) {
    const QString file = backup();
    EXPECT_TRUE(commands.Restore(file, true));
    EXPECT_EQ(
        server.executed(),
        (QStringList{
            "RESTORE VERIFYONLY FROM DISK = '" + kServerFile + "' WITH CHECKSUM",
            "RESTORE DATABASE MAIN_BK004 FROM DISK = '" + kServerFile +
                QStringLiteral("' WITH CHECKSUM, MOVE 'MAIN_BK003_data' TO 'D:\\DATA\\MAIN_BK004.mdf', MOVE "
                               "'MAIN_BK003_log' TO 'D:\\DATA\\MAIN_BK004.ldf'"),
            QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) "
                           "values('4','华东（恢复）','MAIN_BK004','2024-03-05',1)")}));
    EXPECT_EQ(port.messages.last().text,
              "已经成功把备份恢复为新帐套“华东（恢复）”（编号4，数据库MAIN_BK004）！");

    // The catalogue refuses the set: the new database goes again.
    server.failOn("^insert into ZTML", -2147217873, "违反了 PRIMARY KEY 约束。");
    server.calls.clear();
    EXPECT_FALSE(commands.Restore(file, true));
    EXPECT_EQ(server.executed().last(), "DROP DATABASE MAIN_BK004");

    // The manifest names another backup than the one the server now holds in that file.
    server.calls.clear();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray bytes = f.readAll().replace("6F9619FF", "00000000");
    f.seek(0);
    f.write(bytes);
    f.close();
    for (bool asNew : {false, true}) {
        port.messages.clear();
        EXPECT_FALSE(commands.Restore(file, asNew));
        EXPECT_EQ(shownLines(port), QStringList{msgLine("服务器上的备份文件“" + kServerFile +
                                                        "”不是备份清单“" + file + "”所记的那一份备份。")});
    }
    EXPECT_TRUE(server.executed().filter("RESTORE DATABASE").isEmpty());
}

TEST_F(ServerSafekeepingTest, RetireDropsTheDatabaseWithTheCatalogueRowInOneTransaction) {
    setFlag(0);
    port.answer(MsgAnswer::Yes);
    EXPECT_TRUE(commands.Retire("3"));
    const QStringList retirement = {"begin", "delete from ZTML where Id='3'",
                                    "ALTER DATABASE MAIN_BK003 SET SINGLE_USER WITH ROLLBACK IMMEDIATE",
                                    "DROP DATABASE MAIN_BK003", "commit"};
    EXPECT_EQ(server.trail(false), backupStatements(kServerFile) + retirement);
    EXPECT_EQ(port.messages.last().text,
              "已经注销帐套“华东”！\r\n注销前的备份：" +
                  QDir::toNativeSeparators(gAppPath + "backup/BK003_20240305-142007.ztbak"));

    server.failOn("^DROP DATABASE", 3702, "无法删除数据库，因为该数据库当前正在使用。");
    server.calls.clear();
    port.answer(MsgAnswer::Yes);
    EXPECT_FALSE(commands.Retire("3"));
    EXPECT_EQ(server.trail(false).filter(QRegularExpression("^(commit|rollback)$")), QStringList{"rollback"})
        << "the row stays";
    EXPECT_EQ(server.executed().last(), "ALTER DATABASE MAIN_BK003 SET MULTI_USER");
}

TEST_F(ServerSafekeepingTest, RotationRemovesTheServersOldBackupFileToo) {
    setFlag(1);
    setZtml({{"3", "华东", "MAIN_BK003", "2024-01-01", 1}});
    int failed = -1;
    EXPECT_EQ(commands.BackupAll(1, &failed).size(), 1);
    server.calls.clear();
    EXPECT_EQ(commands.BackupAll(1, &failed).size(), 1);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(server.executed().last(),
              "EXECUTE master.dbo.xp_delete_file 0, '" + kServerFile + QLatin1Char('\''));
    EXPECT_EQ(QDir(gAppPath + "backup").entryList(QDir::Files), QStringList{"BK003_20240305-142007_2.ztbak"});
}

}  // namespace
}  // namespace ztgl::test
