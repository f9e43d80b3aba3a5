// The permission upgrade on the embedded engine (the Access kind), over real set databases.
#include <gtest/gtest.h>

#include "CatalogueFolder.h"
#include "RecordingUiPort.h"
#include "catalogue/PermissionUpgrade.h"
#include "process/Globals.h"

namespace ztgl::test {
namespace {

using SetDb = CatalogueFolder::SetDb;

const QString kFailed = QStringLiteral("DateBaseModifyByZavrin()::升级数据库失败。");

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
