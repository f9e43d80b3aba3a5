// The manager's database held locked by another program's writer while an operation runs: the
// operation waits a moment, then reports the lock in its own words and changes nothing of the
// locked database; once the writer is gone the same operation succeeds.
#include <gtest/gtest.h>

#include <functional>

#include "FaultFolder.h"
#include "operators/SetMima.h"

namespace ztgl {
namespace {

using test::AdminRun;
using test::FaultFolder;
using test::ForeignWriter;
using Lock = ForeignWriter::Lock;

const QString kManager = QStringLiteral("KXPUB.MDB");

struct LockCase {
    const char* name;
    QStringList args;
    QString lockedFile;  // the database the foreign writer holds
    Lock lock;
    QString label;                                 // what the message starts with, before the lock's text
    bool lockedLikeInUse;                          // the open itself is refused (3045), not a write (3050)
    std::function<bool(const FaultFolder&)> done;  // the operation's work is there
};
void PrintTo(const LockCase& c, std::ostream* os) {
    *os << c.name;
}

QString flagOf(const FaultFolder& f, const char* id) {
    return f.query(kManager, QStringLiteral("select UserFlag from ZTML where Id='%1'").arg(QLatin1String(id)))
        .value(0);
}

bool upgraded(const FaultFolder& f) {
    for (const QString& set : {QStringLiteral("_BK001.MDB"), QStringLiteral("_BK002.MDB")})
        if (f.query(set, QStringLiteral("select ID from BaseLimits where ID='10'")).size() != 1)
            return false;
    return true;
}

const QString kLockedText = QStringLiteral("无法锁定文件“%1”：数据库正被其他用户修改。请稍后再试。");
const QString kInUseText = QStringLiteral("无法使用“%1”；文件正被其他用户独占使用。请稍后再试。");

class ManagerLocked : public ::testing::TestWithParam<LockCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
        ASSERT_EQ(folder.create(QStringLiteral("甲公司")).code, 0);
        ASSERT_EQ(folder.create(QStringLiteral("乙公司")).code, 0);
        ASSERT_EQ(
            folder.admin({QStringLiteral("--yes"), QStringLiteral("disable"), QStringLiteral("2")}).code, 0);
    }
    FaultFolder folder;
};

TEST_P(ManagerLocked, ReportsTheLockChangesNothingAndSucceedsOnceItIsGone) {
    const LockCase& c = GetParam();
    const QStringList before = folder.dump(c.lockedFile);
    {
        ForeignWriter writer(folder.file(c.lockedFile), c.lock);
        ASSERT_TRUE(writer.holds());
        const AdminRun r = folder.admin(c.args);
        EXPECT_EQ(r.code, 1) << r.err.toStdString();
        const QString expected =
            c.label + (c.lockedLikeInUse ? kInUseText : kLockedText).arg(folder.file(c.lockedFile));
        EXPECT_TRUE(r.err.contains(expected)) << r.err.toStdString();
    }
    EXPECT_EQ(folder.dump(c.lockedFile), before) << "a half change";
    EXPECT_FALSE(c.done(folder));
    EXPECT_EQ(folder.inconsistencies(), QStringList());

    const AdminRun again = folder.admin(c.args);
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_TRUE(c.done(folder));
    EXPECT_EQ(folder.inconsistencies(), QStringList());
}

const QString kYes = QStringLiteral("--yes");

INSTANTIATE_TEST_SUITE_P(
    Operations, ManagerLocked,
    ::testing::Values(
        LockCase{"Disable",
                 {kYes, QStringLiteral("disable"), QStringLiteral("1")},
                 kManager,
                 Lock::Write,
                 QStringLiteral("SetUserFlag():"),
                 false,
                 [](const FaultFolder& f) { return flagOf(f, "1") == QLatin1String("0"); }},
        LockCase{"Enable",
                 {kYes, QStringLiteral("enable"), QStringLiteral("2")},
                 kManager,
                 Lock::Write,
                 QStringLiteral("SetUserFlag():"),
                 false,
                 [](const FaultFolder& f) { return flagOf(f, "2") == QLatin1String("1"); }},
        LockCase{"PasswordChange",
                 {QStringLiteral("passwd"), QStringLiteral("--user"), QStringLiteral("admin"),
                  QStringLiteral("--old"), QString(), QStringLiteral("--new"), QStringLiteral("新密码")},
                 kManager,
                 Lock::Write,
                 QStringLiteral("ExecuteNonQuerySql():"),
                 false,
                 [](const FaultFolder& f) {
                     return f.query(kManager, QStringLiteral("select UserPwds from ZTUsers where Id='1'")) ==
                            QStringList{Set_Mima(QStringLiteral("admin新密码admin"))};
                 }},
        LockCase{"Creation",
                 {kYes, QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("丙公司"),
                  QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password"),
                  QStringLiteral("p")},
                 kManager,
                 Lock::Write,
                 QStringLiteral("Command_OK()::"),
                 false,
                 [](const FaultFolder& f) {
                     return f.query(kManager, QStringLiteral("select ZTLJ from ZTML where ZTMC='丙公司'")) ==
                            QStringList{QStringLiteral("_BK003")};
                 }},
        // The upgrade only reads the catalogue: another writer there does not stop it; one that holds
        // it exclusively (in the middle of its commit) does, before anything is read.
        LockCase{"UpgradeWhileTheCatalogueIsCommitted",
                 {kYes, QStringLiteral("upgrade")},
                 kManager,
                 Lock::Exclusive,
                 QStringLiteral("Open_Connect():"),
                 true,
                 &upgraded},
        // It writes the sets: a set held by another writer stops the run there, and that set stays as
        // it was (the sets before it keep their new rows).
        LockCase{"UpgradeOfASetHeldByAnotherWriter",
                 {kYes, QStringLiteral("upgrade")},
                 QStringLiteral("_BK002.MDB"),
                 Lock::Write,
                 QStringLiteral("DateBaseModifyByZavrin()::升级数据库失败。"),
                 false,
                 &upgraded}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ManagerLockedByAWriter, DoesNotStopTheUpgradeWhichOnlyReadsTheCatalogue) {
    FaultFolder folder;
    ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
    ASSERT_EQ(folder.create(QStringLiteral("甲公司")).code, 0);
    ForeignWriter writer(folder.file(kManager), Lock::Write);
    ASSERT_TRUE(writer.holds());
    const AdminRun r = folder.admin({kYes, QStringLiteral("upgrade")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("已经成功升级数据库！"))) << r.err.toStdString();
}

}  // namespace
}  // namespace ztgl
