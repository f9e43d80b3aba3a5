// The manager's database held locked by another program's writer while an operation runs: the
// operation waits a moment, then reports the lock in its own words and changes nothing of the
// locked database; once the writer is gone the same operation succeeds.
#include <gtest/gtest.h>

#include "FaultFolder.h"
#include "operators/SetMima.h"

namespace ztgl::test {
namespace {

using Lock = ForeignWriter::Lock;

// The database the foreign writer holds and how; what the message starts with, before the lock's
// text; whether the open itself is refused (3045), not a write (3050); where the operation's work
// shows: this query on this file gives this value.
struct LockCase {
    const char* name;
    QStringList args;
    const char* lockedFile;
    Lock lock;
    const char* label;
    bool inUse;
    const char* doneFile;
    const char* doneSql;
    QString doneValue;
};

class ManagerLocked : public ::testing::TestWithParam<LockCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
        ASSERT_EQ(folder.create("甲公司").code, 0);
        ASSERT_EQ(folder.create("乙公司").code, 0);
        ASSERT_EQ(folder.admin({"--yes", "disable", "2"}).code, 0);
    }
    bool done() const {
        const LockCase& c = GetParam();
        return folder.query(c.doneFile, c.doneSql) == QStringList{c.doneValue};
    }
    FaultFolder folder;
};

TEST_P(ManagerLocked, ReportsTheLockChangesNothingAndSucceedsOnceItIsGone) {
    const LockCase& c = GetParam();
    const QString locked = folder.file(c.lockedFile);
    const QStringList before = folder.dump(c.lockedFile);
    {
        ForeignWriter writer(locked, c.lock);
        ASSERT_TRUE(writer.holds());
        const AdminRun r = folder.admin(c.args);
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        const QString text = c.inUse
                                 ? QStringLiteral("无法使用“%1”；文件正被其他用户独占使用。请稍后再试。")
                                 : QStringLiteral("无法锁定文件“%1”：数据库正被其他用户修改。请稍后再试。");
        EXPECT_TRUE(r.err.contains(c.label + text.arg(locked))) << r.err.toStdString();
    }
    EXPECT_EQ(folder.dump(c.lockedFile), before) << "a half change";
    EXPECT_FALSE(done());
    EXPECT_EQ(folder.inconsistencies(), QStringList());

    const AdminRun again = folder.admin(c.args);
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_TRUE(done());
    EXPECT_EQ(folder.inconsistencies(), QStringList());
}

// The upgrade only reads the catalogue: one held exclusively (a writer in the middle of its
// commit) stops it before anything is read. It writes the sets: a set held by another writer stops
// the run there, and that set stays as it was (the sets before it keep their new rows).
// clang-format off
INSTANTIATE_TEST_SUITE_P(Operations, ManagerLocked, ::testing::Values(
    LockCase{"Disable", {"--yes", "disable", "1"}, "KXPUB.MDB", Lock::Write, "SetUserFlag():", false,
             "KXPUB.MDB", "select UserFlag from ZTML where Id='1'", "0"},
    LockCase{"Enable", {"--yes", "enable", "2"}, "KXPUB.MDB", Lock::Write, "SetUserFlag():", false,
             "KXPUB.MDB", "select UserFlag from ZTML where Id='2'", "1"},
    LockCase{"PasswordChange", {"passwd", "--user", "admin", "--old", "", "--new", "新密码"}, "KXPUB.MDB", Lock::Write,
             "ExecuteNonQuerySql():", false, "KXPUB.MDB", "select UserPwds from ZTUsers where Id='1'",
             Set_Mima("admin新密码admin")},
    LockCase{"Creation", {"--yes", "create", "--name", "丙公司", "--user", "u", "--password", "p"}, "KXPUB.MDB",
             Lock::Write, "Command_OK()::", false, "KXPUB.MDB", "select ZTLJ from ZTML where ZTMC='丙公司'", "_BK003"},
    LockCase{"UpgradeWhileTheCatalogueIsCommitted", {"--yes", "upgrade"}, "KXPUB.MDB", Lock::Exclusive,
             "Open_Connect():", true, "_BK001.MDB", "select count(*) from BaseLimits where ID='10'", "1"},
    LockCase{"UpgradeOfASetHeldByAnotherWriter", {"--yes", "upgrade"}, "_BK002.MDB", Lock::Write,
             "DateBaseModifyByZavrin()::升级数据库失败。", false, "_BK002.MDB",
             "select count(*) from BaseLimits where ID='10'", "1"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Another writer on the catalogue does not stop the upgrade, which only reads it.
TEST(ManagerLockedByAWriter, DoesNotStopTheUpgrade) {
    FaultFolder folder;
    ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
    ASSERT_EQ(folder.create("甲公司").code, 0);
    ForeignWriter writer(folder.file("KXPUB.MDB"), Lock::Write);
    ASSERT_TRUE(writer.holds());
    const AdminRun r = folder.admin({"--yes", "upgrade"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("已经成功升级数据库！")) << r.err.toStdString();
}

}  // namespace
}  // namespace ztgl::test
