// The permission upgrade: the statements on the scripted SQL Server, and the rows it leaves in real
// set databases of the embedded engine (the Access kind).
#include <gtest/gtest.h>

#include "CatalogueFolder.h"
#include "RecordingUiPort.h"
#include "ScriptedCatalogueFixture.h"
#include "catalogue/AccountSetList.h"
#include "catalogue/PermissionUpgrade.h"
#include "process/Globals.h"

namespace ztgl::test {
namespace {

const QStringList kTenStatements = {
    QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                   "('10','其它权限','FuncQiTa',1,2,'',10)"),
    QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                   "('1001','使用往来单位','frmSYWLDW',1,2,'',1001)"),
    QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                   "('100101','供应商','frmSYWLDWGYS',1,2,'',100101)"),
    QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                   "('100102','客户','frmSYWLDWKH',1,2,'',100102)"),
    QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                   "('100103','供应商+客户','frmSYWLDWGYS+KH',1,2,'',100103)"),
    QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','FuncQiTa')"),
    QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','frmSYWLDW')"),
    QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','frmSYWLDWGYS')"),
    QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','frmSYWLDWKH')"),
    QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','frmSYWLDWGYS+KH')"),
};

const QString kMarkerQuery = QStringLiteral("select * from BaseLimits where ID='10'");
const QString kDone = QStringLiteral("已经成功升级数据库！");
const QString kNothingToDo = QStringLiteral("数据库已经被升级，无需再次升级！");
const QString kFailed = QStringLiteral("DateBaseModifyByZavrin()::升级数据库失败。");

QString setString(const QString& name) {
    return QStringLiteral(
               "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;Initial Catalog=%1;"
               "Data Source=SRV")
        .arg(name);
}

class PermissionUpgradeTest : public ScriptedCatalogueFixture {
protected:
    // ZTML as "select * from ZTML " returns it (any order the server likes).
    void catalogue(const QStringList& databases) {
        QVector<QVector<QVariant>> rows;
        int id = 0;
        for (const QString& db : databases)
            rows.push_back({QString::number(++id), db, db, "2024-01-01", 1});
        server.onQuery(QStringLiteral("^select \\* from ZTML $"),
                       ScriptedServer::rows({"Id", "ZTMC", "ZTLJ", "CreateTime", "UserFlag"}, rows));
    }
    void markerPresent() {
        server.onQuery(QStringLiteral("^select \\* from BaseLimits where ID='10'$"),
                       ScriptedServer::rows({"ID", "lName"}, {{"10", "其它权限"}}));
    }
    // Every call, as text.
    QStringList trail() const {
        static const char* const kinds[] = {"open ", "", "", "close", "begin", "commit", "rollback"};
        QStringList out;
        for (const auto& c : server.calls)
            out << QLatin1String(kinds[c.kind]) +
                       (c.kind <= ScriptedServer::Call::Query ? c.text : QString());
        return out;
    }
    void expectOnlyMessage(const QString& text) {
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].text, text);
        EXPECT_EQ(port.messages[0].title, QStringLiteral("进销存管理系统"));
        EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
        EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
    }
};

TEST_F(PermissionUpgradeTest, EmptyCatalogueOpensNothingAndSaysAlreadyUpgraded) {
    catalogue({});
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::AlreadyUpgraded);
    EXPECT_EQ(trail(), QStringList{QStringLiteral("select * from ZTML ")});
    expectOnlyMessage(kNothingToDo);
}

TEST_F(PermissionUpgradeTest, EachSetWithoutMarkerGetsTheTenStatementsInOneTransaction) {
    catalogue({QStringLiteral("MAIN_BK001"), QStringLiteral("MAIN_BK002")});
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Upgraded);
    QStringList expected{QStringLiteral("select * from ZTML ")};
    for (const QString& db : {QStringLiteral("MAIN_BK001"), QStringLiteral("MAIN_BK002")}) {
        expected << QStringLiteral("open ") + setString(db) << kMarkerQuery << QStringLiteral("begin");
        expected << kTenStatements;
        expected << QStringLiteral("commit") << QStringLiteral("close");
    }
    EXPECT_EQ(trail(), expected);
    expectOnlyMessage(kDone);
}

TEST_F(PermissionUpgradeTest, SetsWithTheMarkerGetNothing) {
    catalogue({QStringLiteral("MAIN_BK001"), QStringLiteral("MAIN_BK002")});
    markerPresent();
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::AlreadyUpgraded);
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_EQ(server.opened(), QStringList({setString("MAIN_BK001"), setString("MAIN_BK002")}));
    expectOnlyMessage(kNothingToDo);
}

TEST_F(PermissionUpgradeTest, FailingInsertRollsTheSetBackAndStopsTheRun) {
    catalogue({QStringLiteral("MAIN_BK001"), QStringLiteral("MAIN_BK002"), QStringLiteral("MAIN_BK003")});
    server.failOn(QStringLiteral("values \\('0','frmSYWLDWGYS'\\)"), -2147217873,
                  QStringLiteral("违反了 PRIMARY KEY 约束"));
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);
    const QStringList t = trail();
    QStringList expected{QStringLiteral("select * from ZTML "),
                         QStringLiteral("open ") + setString("MAIN_BK001"), kMarkerQuery,
                         QStringLiteral("begin")};
    expected << kTenStatements.mid(0, 8) << QStringLiteral("rollback") << QStringLiteral("close");
    EXPECT_EQ(t, expected) << "the second and third sets are not visited";
    expectOnlyMessage(kFailed + QStringLiteral("违反了 PRIMARY KEY 约束"));
}

TEST_F(PermissionUpgradeTest, DatabaseThatCannotBeOpenedStopsTheRunThere) {
    catalogue({QStringLiteral("MAIN_BK001"), QStringLiteral("MAIN_BK002"), QStringLiteral("MAIN_BK003")});
    server.failOpen(QStringLiteral("Initial Catalog=MAIN_BK002;"),
                    QStringLiteral("无法打开登录所请求的数据库"));
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);
    EXPECT_EQ(server.opened(), QStringList({setString("MAIN_BK001"), setString("MAIN_BK002")}));
    EXPECT_EQ(server.executed(), kTenStatements) << "the first set is upgraded";
    expectOnlyMessage(kFailed + QStringLiteral("无法打开登录所请求的数据库"));
}

TEST_F(PermissionUpgradeTest, MissingCatalogueTableIsReported) {
    server.failOn(QStringLiteral("^select \\* from ZTML $"), -2147217865,
                  QStringLiteral("对象名 'ZTML' 无效。"));
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);
    expectOnlyMessage(kFailed + QStringLiteral("对象名 'ZTML' 无效。"));
}

TEST_F(PermissionUpgradeTest, BaseStringWithoutEndOfCatalogIsReported) {
    gConnectString = QStringLiteral("Provider=SQLOLEDB.1;Data Source=SRV;Initial Catalog=MAIN");
    catalogue({QStringLiteral("MAIN_BK001")});
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);
    EXPECT_TRUE(server.opened().isEmpty());
    expectOnlyMessage(kFailed + QStringLiteral("无效的过程调用或参数"));
}

TEST_F(PermissionUpgradeTest, ConfirmationComesFirstAndNoStopsEverything) {
    catalogue({QStringLiteral("MAIN_BK001")});
    port.answer(MsgAnswer::No);
    EXPECT_EQ(ConfirmPermissionUpgrade(), UpgradeResult::Refused);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text,
              QStringLiteral("升级数据库将为每一个帐套补充“其它权限”及往来单位的使用权限，确定要升级吗？"));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(server.calls.isEmpty());

    port.answer(MsgAnswer::Yes);
    RunPermissionUpgrade();
    ASSERT_EQ(port.messages.size(), 3);
    EXPECT_EQ(port.messages[2].text, kDone);
    EXPECT_EQ(server.executed(), kTenStatements);
}

TEST_F(PermissionUpgradeTest, TheListWindowsHiddenButtonRunsItWithoutQuestion) {
    setZtml({});
    catalogue({QStringLiteral("MAIN_BK001")});
    markerPresent();
    AccountSetList list;
    list.Form_Load();
    list.command1_Click(5);
    expectOnlyMessage(kNothingToDo);
}

using SetDb = CatalogueFolder::SetDb;

const QStringList kUpgradedLimits = {
    QStringLiteral("01|基础资料|FuncJiChu|1|1||1"),
    QStringLiteral("10|其它权限|FuncQiTa|1|2||10"),
    QStringLiteral("1001|使用往来单位|frmSYWLDW|1|2||1001"),
    QStringLiteral("100101|供应商|frmSYWLDWGYS|1|2||100101"),
    QStringLiteral("100102|客户|frmSYWLDWKH|1|2||100102"),
    QStringLiteral("100103|供应商+客户|frmSYWLDWGYS+KH|1|2||100103"),
};
const QStringList kUpgradedGrants = {
    QStringLiteral("0|FuncJiChu"),    QStringLiteral("0|FuncQiTa"),    QStringLiteral("0|frmSYWLDW"),
    QStringLiteral("0|frmSYWLDWGYS"), QStringLiteral("0|frmSYWLDWKH"), QStringLiteral("0|frmSYWLDWGYS+KH"),
};

class PermissionUpgradeJetTest : public ::testing::Test {
protected:
    void SetUp() override {
        gAppTitle = QStringLiteral("进销存管理系统");
        ASSERT_TRUE(folder.ok());
    }

    QStringList limits(const QString& ztlj) const {
        return folder.query(
            folder.setFile(ztlj),
            QStringLiteral("select ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX from BaseLimits "
                           "order by lPX"));
    }
    // Granted rights, sorted here (the engine's collation is not the point).
    QStringList grants(const QString& ztlj) const {
        QStringList rows = folder.query(folder.setFile(ztlj),
                                        QStringLiteral("select UserID,OperationID from User_Permissions"));
        rows.sort();
        return rows;
    }
    static QStringList sorted(QStringList rows) {
        rows.sort();
        return rows;
    }
    QString lastMessage() const { return port.messages.isEmpty() ? QString() : port.messages.back().text; }

    CatalogueFolder folder;
    RecordingUiPort port;
};

TEST_F(PermissionUpgradeJetTest, UpgradedDisabledAndMissingSets) {
    folder.addSet("1", "甲", "MAIN_BK001", 1, SetDb::Upgraded);
    folder.addSet("2", "乙", "MAIN_BK002", 0, SetDb::Fresh);  // disabled sets are upgraded too
    folder.addSet("3", "丙", "MAIN_BK003", 1, SetDb::Missing);
    folder.addSet("4", "丁", "MAIN_BK004", 1, SetDb::Fresh);

    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(lastMessage().startsWith(kFailed)) << lastMessage().toStdString();
    EXPECT_GT(lastMessage().size(), kFailed.size()) << "the engine's reason follows";
    EXPECT_EQ(port.messages[0].title, QStringLiteral("进销存管理系统"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);

    EXPECT_EQ(limits("MAIN_BK001"), kUpgradedLimits.mid(0, 2)) << "already upgraded: nothing added";
    EXPECT_EQ(grants("MAIN_BK001"), QStringList{QStringLiteral("0|FuncJiChu")});
    EXPECT_EQ(limits("MAIN_BK002"), kUpgradedLimits);
    EXPECT_EQ(grants("MAIN_BK002"), sorted(kUpgradedGrants));
    EXPECT_FALSE(folder.exists(folder.setFile("MAIN_BK003"))) << "no database is made where one is missing";
    EXPECT_EQ(limits("MAIN_BK004").size(), 1) << "sets after the failing one are not visited";

    // Once the missing set's database is back, the next run finishes and upgrades the rest.
    folder.createSetDb("MAIN_BK003", SetDb::Fresh);
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Upgraded);
    EXPECT_EQ(lastMessage(), QStringLiteral("已经成功升级数据库！"));
    EXPECT_EQ(limits("MAIN_BK003"), kUpgradedLimits);
    EXPECT_EQ(limits("MAIN_BK004"), kUpgradedLimits);
    EXPECT_EQ(limits("MAIN_BK002"), kUpgradedLimits) << "nothing doubled";

    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::AlreadyUpgraded);
    EXPECT_EQ(lastMessage(), QStringLiteral("数据库已经被升级，无需再次升级！"));
    EXPECT_EQ(port.messages.size(), 3);
}

TEST_F(PermissionUpgradeJetTest, FailureInsideASetLeavesThatSetUntouchedForTheNextRun) {
    folder.addSet("1", "甲", "MAIN_BK001", 1, SetDb::Fresh);
    folder.addSet("2", "乙", "MAIN_BK002", 1, SetDb::NoPermissions);

    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);
    EXPECT_TRUE(lastMessage().startsWith(kFailed));
    EXPECT_EQ(limits("MAIN_BK001"), kUpgradedLimits);
    EXPECT_EQ(limits("MAIN_BK002"), kUpgradedLimits.mid(0, 1))
        << "the five rows were rolled back with the grants";

    folder.execute(folder.setFile("MAIN_BK002"),
                   QStringLiteral("CREATE TABLE User_Permissions (UserID TEXT(10), OperationID TEXT(50))"));
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Upgraded);
    EXPECT_EQ(limits("MAIN_BK002"), kUpgradedLimits);
    EXPECT_EQ(grants("MAIN_BK002"), sorted(kUpgradedGrants.mid(1)));
}

}  // namespace
}  // namespace ztgl::test
