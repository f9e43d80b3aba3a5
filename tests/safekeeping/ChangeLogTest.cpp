// The record of changes itself: the table made on first use, a change and its row in one
// transaction, what a read-only manager's database does, reading by set and date; and the
// statements on SQL Server.
#include "audit/ChangeLog.h"

#include <gtest/gtest.h>

#include "RecordingUiPort.h"
#include "SafekeepingFolder.h"
#include "ScriptedServer.h"
#include "platform/RuntimeError.h"
#include "platform/SystemAccount.h"

namespace ztgl::test {
namespace {

class ChangeLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.openInProcess());
    }
    QStringList tables() const {
        return folder.query(
            QStringLiteral("KXPUB.MDB"),
            QStringLiteral("select name from sqlite_master where type='table' and name='CZRZ'"));
    }
    QStringList ztmlNames() const {
        return folder.query(QStringLiteral("KXPUB.MDB"), QStringLiteral("select ZTMC from ZTML order by Id"));
    }
    static void addSet() {
        gConn->Execute(QStringLiteral(
            "insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values('1','甲','_BK001','2024-01-01',1)"));
    }

    SafekeepingFolder folder;
    RecordingUiPort port;
};

TEST_F(ChangeLogTest, AnOlderManagerDatabaseGetsTheTableOnFirstUseAndRowsReadBackByFilter) {
    EXPECT_TRUE(tables().isEmpty());
    EXPECT_TRUE(ChangeLog::Read().isEmpty()) << "reading makes the table too";
    EXPECT_EQ(tables().size(), 1);
    ASSERT_TRUE(ChangeLog::Append(
        {ChangeLog::Backup, QStringLiteral("1"), QStringLiteral("甲"), QStringLiteral("a.ztbak")}, true));
    gOperator = OperatorInfo{QStringLiteral("1"), QStringLiteral("admin"), QString()};
    ChangeLog::Failed({ChangeLog::Retire, QStringLiteral("2"), QStringLiteral("乙"), QString()},
                      QStringLiteral("不行"));

    const QVector<ChangeEntry> all = ChangeLog::Read();
    ASSERT_EQ(all.size(), 2);
    EXPECT_LT(all[0].id, all[1].id);
    EXPECT_EQ(all[0].operatorName, QLatin1Char('[') + SystemAccountName() + QLatin1Char(']')) << "no login";
    EXPECT_FALSE(SystemAccountName().isEmpty());
    EXPECT_EQ(all[1].operatorName, QStringLiteral("admin"));
    EXPECT_EQ(all[0].workstation, QSysInfo::machineHostName());
    EXPECT_LE(qAbs(all[0].time.secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_EQ((QStringList{all[1].action, all[1].setId, all[1].setName, all[1].outcome, all[1].detail}),
              (QStringList{QStringLiteral("注销帐套"), QStringLiteral("2"), QStringLiteral("乙"),
                           QStringLiteral("失败"), QStringLiteral("不行")}));
    EXPECT_EQ(ChangeLog::Read(QStringLiteral("2")).size(), 1);
    EXPECT_EQ(ChangeLog::Read(QString(), QDate::currentDate()).size(), 2);
    EXPECT_TRUE(ChangeLog::Read(QString(), QDate::currentDate().addDays(1)).isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
}

// The change and its row stand or fall together.
TEST_F(ChangeLogTest, ChangeAndRowAreOneTransaction) {
    const ChangeLog::Entry entry{ChangeLog::Create, QStringLiteral("1"), QStringLiteral("甲"), QString()};
    EXPECT_THROW(ChangeLog::Recorded(entry,
                                     [] {
                                         addSet();
                                         throw RuntimeError(RuntimeError::DatabaseError,
                                                            QStringLiteral("断了"));
                                     }),
                 RuntimeError);
    EXPECT_TRUE(ztmlNames().isEmpty());
    EXPECT_TRUE(ChangeLog::Read().isEmpty());

    // A row that cannot be written takes the change back with it.
    gConn->Execute(QStringLiteral("DROP TABLE CZRZ"));
    gConn->Execute(
        QStringLiteral("CREATE TABLE CZRZ (Id COUNTER NOT NULL, CZSJ DATETIME, MUST TEXT(5) NOT NULL)"));
    EXPECT_THROW(ChangeLog::Recorded(entry, &addSet), RuntimeError);
    EXPECT_TRUE(ztmlNames().isEmpty());
    QString error;
    EXPECT_FALSE(ChangeLog::Append(entry, true, &error));
    EXPECT_FALSE(error.isEmpty());

    gConn->Execute(QStringLiteral("DROP TABLE CZRZ"));
    ChangeLog::Recorded(entry, &addSet, [] { return false; });
    EXPECT_EQ(ztmlNames(), QStringList{QStringLiteral("甲")});
    ASSERT_EQ(ChangeLog::Read().size(), 1);
    EXPECT_EQ(ChangeLog::Read().first().outcome, QStringLiteral("失败")) << "the change's own verdict";
}

TEST_F(ChangeLogTest, AReadOnlyManagerDatabaseChangesNothingUnrecorded) {
    Close_Connect();
    gConnectString = SafekeepingFolder::connectString(folder.file(QStringLiteral("KXPUB.MDB")), true);
    ASSERT_EQ(Open_Connect(), 1);
    QString error;
    EXPECT_FALSE(
        ChangeLog::Append({ChangeLog::Backup, QStringLiteral("1"), QString(), QString()}, true, &error));
    EXPECT_FALSE(error.isEmpty());
    bool ran = false;
    EXPECT_THROW(ChangeLog::Recorded({ChangeLog::Disable, QStringLiteral("1"), QString(), QString()},
                                     [&] { ran = true; }),
                 RuntimeError);
    EXPECT_FALSE(ran) << "without its row the change does not start";
    EXPECT_THROW(ChangeLog::Read(), RuntimeError);
}

TEST(ChangeLogSqlServer, StatementsOfTheTableAndOfARecordedChange) {
    ResetGlobals();
    RecordingUiPort port;
    ScriptedServer server;
    gDBType = kSqlServer;
    gConnectString = QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=MAIN;Data Source=SRV");
    ASSERT_EQ(Open_Connect(), 1);
    gOperator = OperatorInfo{QStringLiteral("3"), QStringLiteral("o'neil"), QString()};
    server.failOn(QStringLiteral("^select \\* from CZRZ where Id=0$"), 208,
                  QStringLiteral("对象名 'CZRZ' 无效。"));
    server.calls.clear();

    ChangeLog::Recorded({ChangeLog::Disable, QStringLiteral("12"), QStringLiteral("华东'分公司"), QString()},
                        [] { gConn->Execute(QStringLiteral("Update ZTML set UserFlag=0 WHERE ID='12'")); });
    QStringList trail;
    for (const auto& c : server.calls)
        trail << (c.kind == ScriptedServer::Call::Begin    ? QStringLiteral("begin")
                  : c.kind == ScriptedServer::Call::Commit ? QStringLiteral("commit")
                                                           : c.text);
    EXPECT_EQ(
        trail,
        (QStringList{
            QStringLiteral("select * from CZRZ where Id=0"),
            QStringLiteral("CREATE TABLE CZRZ (Id int IDENTITY(1,1) NOT NULL PRIMARY KEY, CZSJ datetime NOT "
                           "NULL, CZY nvarchar(30), GZZ nvarchar(64), CZLX nvarchar(10), ZTID "
                           "nvarchar(10), ZTMC nvarchar(50), CZJG nvarchar(4), CZSM nvarchar(255))"),
            QStringLiteral("begin"), QStringLiteral("Update ZTML set UserFlag=0 WHERE ID='12'"),
            QStringLiteral("insert into CZRZ(CZSJ,CZY,GZZ,CZLX,ZTID,ZTMC,CZJG,CZSM) values(getdate(),"
                           "'o''neil','") +
                QSysInfo::machineHostName() + QStringLiteral("','停用帐套','12','华东''分公司','成功','')"),
            QStringLiteral("commit")}));
    Close_Connect();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl::test
