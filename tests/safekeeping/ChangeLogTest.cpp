// The record of changes itself: the table made on first use, a change and its row in one
// transaction, what a read-only manager's database does; and the statements on SQL Server (reading
// by set and date: SafekeepingTest.TheRecordHoldsEveryActionAndItsOutcome and the record window).
#include "audit/ChangeLog.h"

#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "RecordingUiPort.h"
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
    QStringList ztmlNames() const { return folder.query("KXPUB.MDB", "select ZTMC from ZTML order by Id"); }
    static void addSet() {
        gConn->Execute(
            "insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values('1','甲','_BK001','2024-01-01',1)");
    }

    AdminFolder folder;
    RecordingUiPort port;
    const ChangeLog::Entry entry{ChangeLog::Create, "1", "甲", QString()};
};

// Without a login the row names the system account.
TEST_F(ChangeLogTest, AnOlderManagerDatabaseGetsTheTableOnFirstUse) {
    const QString table = "select name from sqlite_master where type='table' and name='CZRZ'";
    EXPECT_TRUE(folder.query("KXPUB.MDB", table).isEmpty());
    EXPECT_TRUE(ChangeLog::Read().isEmpty()) << "reading makes the table too";
    EXPECT_EQ(folder.query("KXPUB.MDB", table).size(), 1);
    ChangeLog::Failed({ChangeLog::Retire, "2", "乙", QString()}, "不行");
    const QVector<ChangeEntry> all = ChangeLog::Read();
    ASSERT_EQ(all.size(), 1);
    const ChangeEntry& e = all[0];
    EXPECT_EQ(QStringList({e.operatorName, e.workstation, e.action, e.setId, e.setName, e.outcome, e.detail}),
              QStringList({'[' + SystemAccountName() + ']', QSysInfo::machineHostName(), "注销帐套", "2",
                           "乙", "失败", "不行"}));
    EXPECT_LE(qAbs(e.time.secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_TRUE(port.messages.isEmpty());
}

// The change and its row stand or fall together.
TEST_F(ChangeLogTest, ChangeAndRowAreOneTransaction) {
    const auto failing = [] {
        addSet();
        throw RuntimeError(RuntimeError::DatabaseError, "断了");
    };
    EXPECT_THROW(ChangeLog::Recorded(entry, failing), RuntimeError);
    EXPECT_TRUE(ztmlNames().isEmpty());
    EXPECT_TRUE(ChangeLog::Read().isEmpty());

    // A row that cannot be written takes the change back with it.
    gConn->Execute("DROP TABLE CZRZ");
    gConn->Execute("CREATE TABLE CZRZ (Id COUNTER NOT NULL, CZSJ DATETIME, MUST TEXT(5) NOT NULL)");
    EXPECT_THROW(ChangeLog::Recorded(entry, &addSet), RuntimeError);
    EXPECT_TRUE(ztmlNames().isEmpty());
    QString error;
    EXPECT_FALSE(ChangeLog::Append(entry, true, &error));
    EXPECT_FALSE(error.isEmpty());

    gConn->Execute("DROP TABLE CZRZ");
    ChangeLog::Recorded(entry, &addSet, [] { return false; });
    EXPECT_EQ(ztmlNames(), QStringList{"甲"});
    ASSERT_EQ(ChangeLog::Read().size(), 1);
    EXPECT_EQ(ChangeLog::Read().first().outcome, "失败") << "the change's own verdict";
}

TEST_F(ChangeLogTest, AReadOnlyManagerDatabaseChangesNothingUnrecorded) {
    Close_Connect();
    gConnectString = AdminFolder::connectString(folder.file("KXPUB.MDB"), true);
    ASSERT_EQ(Open_Connect(), 1);
    QString error;
    EXPECT_FALSE(ChangeLog::Append(entry, true, &error));
    EXPECT_FALSE(error.isEmpty());
    bool ran = false;
    EXPECT_THROW(ChangeLog::Recorded(entry, [&] { ran = true; }), RuntimeError);
    EXPECT_FALSE(ran) << "without its row the change does not start";
    EXPECT_THROW(ChangeLog::Read(), RuntimeError);
}

TEST(ChangeLogSqlServer, StatementsOfTheTableAndOfARecordedChange) {
    ResetGlobals();
    RecordingUiPort port;
    ScriptedServer server;
    gDBType = kSqlServer;
    gConnectString = "Provider=SQLOLEDB.1;User ID=sa;Initial Catalog=MAIN;Data Source=SRV";
    ASSERT_EQ(Open_Connect(), 1);
    gOperator = OperatorInfo{"3", "o'neil", QString()};
    server.failOn("^select \\* from CZRZ where Id=0$", 208, "对象名 'CZRZ' 无效。");
    server.calls.clear();

    ChangeLog::Recorded({ChangeLog::Disable, "12", "华东'分公司", QString()},
                        [] { gConn->Execute("Update ZTML set UserFlag=0 WHERE ID='12'"); });
    EXPECT_EQ(
        server.trail(),
        QStringList({"select * from CZRZ where Id=0",
                     "CREATE TABLE CZRZ (Id int IDENTITY(1,1) NOT NULL PRIMARY KEY, CZSJ datetime NOT "
                     "NULL, CZY nvarchar(30), GZZ nvarchar(64), CZLX nvarchar(10), ZTID "
                     "nvarchar(10), ZTMC nvarchar(50), CZJG nvarchar(4), CZSM nvarchar(255))",
                     "begin", "Update ZTML set UserFlag=0 WHERE ID='12'",
                     "insert into CZRZ(CZSJ,CZY,GZZ,CZLX,ZTID,ZTMC,CZJG,CZSM) values(getdate(),'o''neil','" +
                         QSysInfo::machineHostName() + "','停用帐套','12','华东''分公司','成功','')",
                     "commit"}));
    Close_Connect();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl::test
