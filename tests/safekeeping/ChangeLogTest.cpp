// The record of changes itself: a change and its row in one transaction, what a read-only manager's
// database does, and the statements on SQL Server (the table made on first use, who, where and
// reading by set and date: SafekeepingTest.TheRecordHoldsEveryActionAndItsOutcome, the record window).
#include "audit/ChangeLog.h"

#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {
namespace {

class ChangeLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok());
        ASSERT_TRUE(folder.openInProcess());
    }

    AdminFolder folder;
    RecordingUiPort port;
    const ChangeLog::Entry entry{ChangeLog::Create, "1", "甲", QString()};
};

// Without its row a change does not stand: a row that cannot be written takes the change back, and
// on a read-only manager's database the change does not start (a change that fails takes its row
// back: ServerSafekeepingTest.RetireDropsTheDatabaseWithTheCatalogueRowInOneTransaction).
TEST_F(ChangeLogTest, NoChangeStandsWithoutItsRow) {
    gConn->Execute("CREATE TABLE CZRZ (Id COUNTER NOT NULL, CZSJ DATETIME, MUST TEXT(5) NOT NULL)");
    const auto addSet = [] {
        gConn->Execute(
            "insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values('1','甲','_BK001','2024-01-01',1)");
    };
    EXPECT_THROW(ChangeLog::Recorded(entry, addSet), RuntimeError);
    EXPECT_TRUE(folder.query("KXPUB.MDB", "select ZTMC from ZTML").isEmpty());

    gConn->Execute("DROP TABLE CZRZ");
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
