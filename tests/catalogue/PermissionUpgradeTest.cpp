// The permission upgrade: the statements on the scripted SQL Server, and the rows it leaves in real
// set databases of the embedded engine (the Access kind).
#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "RecordingUiPort.h"
#include "ScriptedCatalogueFixture.h"
#include "ShownLines.h"
#include "catalogue/AccountSetList.h"
#include "catalogue/PermissionUpgrade.h"
#include "process/Globals.h"

namespace ztgl::test {
namespace {

const QString kLimits = "INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values ";
const QString kGrant = "INSERT INTO User_Permissions(UserID,OperationID) values ('0','%1')";
const QStringList kTenStatements = {
    kLimits + "('10','其它权限','FuncQiTa',1,2,'',10)",
    kLimits + "('1001','使用往来单位','frmSYWLDW',1,2,'',1001)",
    kLimits + "('100101','供应商','frmSYWLDWGYS',1,2,'',100101)",
    kLimits + "('100102','客户','frmSYWLDWKH',1,2,'',100102)",
    kLimits + "('100103','供应商+客户','frmSYWLDWGYS+KH',1,2,'',100103)",
    kGrant.arg("FuncQiTa"),
    kGrant.arg("frmSYWLDW"),
    kGrant.arg("frmSYWLDWGYS"),
    kGrant.arg("frmSYWLDWKH"),
    kGrant.arg("frmSYWLDWGYS+KH"),
};

const QString kMarkerQuery = "select * from BaseLimits where ID='10'";
const QString kDone = "已经成功升级数据库！";
const QString kNothingToDo = "数据库已经被升级，无需再次升级！";
const QString kFailed = "DateBaseModifyByZavrin()::升级数据库失败。";

QString setString(const QString& name) {
    return "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;Initial Catalog=" + name +
           ";Data Source=SRV";
}

class PermissionUpgradeTest : public ScriptedCatalogueFixture {
protected:
    // ZTML as "select * from ZTML " returns it (any order the server likes).
    void catalogue(const QStringList& databases) {
        QVector<QVector<QVariant>> rows;
        for (const QString& db : databases)
            rows.push_back({QString::number(rows.size() + 1), db, db, "2024-01-01", 1});
        server.onQuery("^select \\* from ZTML $",
                       ScriptedServer::rows({"Id", "ZTMC", "ZTLJ", "CreateTime", "UserFlag"}, rows));
    }
    void markerPresent() {
        server.onQuery("^select \\* from BaseLimits where ID='10'$",
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
        EXPECT_EQ(shownLines(port), QStringList{msgLine(text, MsgIcon::Information, "进销存管理系统")});
    }
};

// Each set without the marker gets the ten statements in one transaction, a set with it nothing; a
// failing insert rolls its set back and stops the run, as does a set database that cannot be opened,
// a missing catalogue table or a base string without the end of its catalog name.
struct RunCase {
    const char* name;
    QStringList sets;
    bool marker;
    QString failOn, failOpen, base;
    UpgradeResult result;
    QString message;
    QStringList trail;  // after the catalogue's query
};

class PermissionUpgradeRun : public PermissionUpgradeTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(PermissionUpgradeRun, OverTheCatalogue) {
    const RunCase& c = GetParam();
    if (!c.failOn.isEmpty())
        server.failOn(c.failOn, -2147217873, c.message.mid(kFailed.size()));
    if (!c.failOpen.isEmpty())
        server.failOpen(c.failOpen, c.message.mid(kFailed.size()));
    catalogue(c.sets);
    if (c.marker)
        markerPresent();
    if (!c.base.isEmpty())
        gConnectString = c.base;
    EXPECT_EQ(DateBaseModifyByZavrin(), c.result);
    EXPECT_EQ(trail(), QStringList{"select * from ZTML "} + c.trail);
    expectOnlyMessage(c.message);
}

QStringList visit(const QString& db, const QStringList& inside) {
    return QStringList{"open " + setString(db), kMarkerQuery} + inside + QStringList{"close"};
}
QStringList upgrade(int statements = 10) {
    return QStringList{"begin"} + kTenStatements.mid(0, statements) +
           QStringList{statements == 10 ? "commit" : "rollback"};
}
const auto kUpgraded = UpgradeResult::Upgraded, kAlready = UpgradeResult::AlreadyUpgraded,
           kFailedRun = UpgradeResult::Failed;

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, PermissionUpgradeRun, ::testing::Values(
    RunCase{"EmptyCatalogue", {}, false, {}, {}, {}, kAlready, kNothingToDo, {}},
    RunCase{"TwoSets", {"MAIN_BK001", "MAIN_BK002"}, false, {}, {}, {}, kUpgraded, kDone,
            visit("MAIN_BK001", upgrade()) + visit("MAIN_BK002", upgrade())},
    RunCase{"MarkerPresent", {"MAIN_BK001", "MAIN_BK002"}, true, {}, {}, {}, kAlready, kNothingToDo,
            visit("MAIN_BK001", {}) + visit("MAIN_BK002", {})},
    RunCase{"FailingInsert", {"MAIN_BK001", "MAIN_BK002", "MAIN_BK003"}, false, "values \\('0','frmSYWLDWGYS'\\)", {},
            {}, kFailedRun, kFailed + "违反了 PRIMARY KEY 约束", visit("MAIN_BK001", upgrade(8))},
    RunCase{"SetThatCannotBeOpened", {"MAIN_BK001", "MAIN_BK002", "MAIN_BK003"}, false, {}, "Initial Catalog=MAIN_BK002;",
            {}, kFailedRun, kFailed + "无法打开登录所请求的数据库",
            visit("MAIN_BK001", upgrade()) + QStringList{"open " + setString("MAIN_BK002")}},
    RunCase{"MissingCatalogueTable", {}, false, "^select \\* from ZTML $", {}, {}, kFailedRun,
            kFailed + "对象名 'ZTML' 无效。", {}},
    RunCase{"BaseStringWithoutEndOfCatalog", {"MAIN_BK001"}, false, {}, {},
            "Provider=SQLOLEDB.1;Data Source=SRV;Initial Catalog=MAIN", kFailedRun, kFailed + "无效的过程调用或参数", {}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The confirmation comes first and No stops everything; the list window's hidden button runs the
// upgrade without a question.
TEST_F(PermissionUpgradeTest, ConfirmationComesFirstAndNoStopsEverything) {
    catalogue({"MAIN_BK001"});
    EXPECT_EQ(ConfirmPermissionUpgrade(), UpgradeResult::Refused);
    const QString question =
        msgLine("升级数据库将为每一个帐套补充“其它权限”及往来单位的使用权限，确定要升级吗？",
                MsgIcon::Information, "提示信息", MsgButtons::YesNo);
    EXPECT_EQ(shownLines(port), QStringList{question});
    EXPECT_TRUE(server.calls.isEmpty());

    port.answer(MsgAnswer::Yes);
    RunPermissionUpgrade();
    ASSERT_EQ(port.messages.size(), 3);
    EXPECT_EQ(port.messages[2].text, kDone);
    EXPECT_EQ(server.executed(), kTenStatements);

    port.messages.clear();
    setZtml({});
    markerPresent();
    AccountSetList list;
    list.Form_Load();
    list.command1_Click(5);
    expectOnlyMessage(kNothingToDo);
}

using SetDb = CatalogueFolder::SetDb;

const QStringList kUpgradedLimits = {
    "01|基础资料|FuncJiChu|1|1||1",          "10|其它权限|FuncQiTa|1|2||10",
    "1001|使用往来单位|frmSYWLDW|1|2||1001", "100101|供应商|frmSYWLDWGYS|1|2||100101",
    "100102|客户|frmSYWLDWKH|1|2||100102",   "100103|供应商+客户|frmSYWLDWGYS+KH|1|2||100103",
};
// Sorted here (the engine's collation is not the point).
const QStringList kUpgradedGrants = {"0|FuncJiChu",    "0|FuncQiTa",        "0|frmSYWLDW",
                                     "0|frmSYWLDWGYS", "0|frmSYWLDWGYS+KH", "0|frmSYWLDWKH"};

class PermissionUpgradeJetTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()); }
    QStringList limits(const QString& ztlj) const {
        return folder.query(
            folder.setFile(ztlj),
            "select ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX from BaseLimits order by lPX");
    }
    QStringList grants(const QString& ztlj) const {
        QStringList rows =
            folder.query(folder.setFile(ztlj), "select UserID,OperationID from User_Permissions");
        rows.sort();
        return rows;
    }

    CatalogueFolder folder;
    RecordingUiPort port;
};

// Disabled sets are upgraded too, an upgraded one gets nothing; a failure inside a set rolls that set
// back and stops the run there; once the set is mended the next run upgrades the rest.
TEST_F(PermissionUpgradeJetTest, FailureInsideASetLeavesThatSetUntouchedForTheNextRun) {
    folder.addSet("1", "甲", "MAIN_BK001", 1, SetDb::Upgraded);
    folder.addSet("2", "乙", "MAIN_BK002", 0, SetDb::Fresh);
    folder.addSet("3", "丙", "MAIN_BK003", 1, SetDb::NoPermissions);
    folder.addSet("4", "丁", "MAIN_BK004", 1, SetDb::Fresh);

    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Failed);  // its message: PermissionUpgradeRun
    EXPECT_EQ(limits("MAIN_BK001"), kUpgradedLimits.mid(0, 2)) << "already upgraded: nothing added";
    EXPECT_EQ(grants("MAIN_BK001"), QStringList{QStringLiteral("0|FuncJiChu")});
    EXPECT_EQ(limits("MAIN_BK002"), kUpgradedLimits);
    EXPECT_EQ(grants("MAIN_BK002"), kUpgradedGrants);
    EXPECT_EQ(limits("MAIN_BK003"), kUpgradedLimits.mid(0, 1)) << "the five rows rolled back with the grants";
    EXPECT_EQ(limits("MAIN_BK004").size(), 1) << "sets after the failing one are not visited";

    folder.execute(folder.setFile("MAIN_BK003"),
                   "CREATE TABLE User_Permissions (UserID TEXT(10), OperationID TEXT(50))");
    EXPECT_EQ(DateBaseModifyByZavrin(), UpgradeResult::Upgraded);
    EXPECT_EQ(port.messages.back().text, kDone);
    EXPECT_EQ(grants("MAIN_BK003"), kUpgradedGrants.mid(1));
    for (const char* set : {"MAIN_BK002", "MAIN_BK003", "MAIN_BK004"})
        EXPECT_EQ(limits(set), kUpgradedLimits) << set << ": upgraded once";
}

}  // namespace
}  // namespace ztgl::test
