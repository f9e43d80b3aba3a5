// Faults met while the program runs on a demo folder: the program killed in the middle of a
// creation, the manager's database held locked by another program, a set's database gone, the
// disk full.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>

#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#endif

#include "FaultFolder.h"
#include "JetFiles.h"
#include "RecordingUiPort.h"
#include "ado/Connection.h"
#include "ado/JetOnlineCopy.h"
#include "catalogue/AccountSetList.h"
#include "creation/AccountSetEditor.h"
#include "operators/SetMima.h"

namespace ztgl::test {
namespace {

// The program killed (SIGKILL) at each step of creating an Access set: during the copy of the
// template, after the copy, after the catalogue row. The kill comes from the program itself at a
// named step (ZTGL_KILL_AT, see platform/KillPoint.h), so it falls exactly where the test wants it.
// After the kill: whether the new set's file exists, whether its catalogue row does.
struct KillCase {
    const char* step;
    bool fileMade, rowWritten;
};

class KillDuringCreation : public FaultTest<KillCase> {
protected:
    QStringList ztml() const {
        return folder.query("KXPUB.MDB", "select Id, ZTMC, ZTLJ, UserFlag from ZTML order by Id");
    }
    QString defaultUser(const QString& file) const {
        return folder.query(file, "select Uname, PWD from Users where Id='0'").value(0);
    }
};

TEST_P(KillDuringCreation, LeavesCatalogueAndFilesAgreeingAndCreatingAgainCompletesTheSet) {
    const KillCase& c = GetParam();
    ASSERT_EQ(folder.create("老公司").code, 0);
    const QByteArray oldSet = folder.bytes("_BK001.MDB");
    const AdminRun killed = folder.create("新公司", [&](QProcess&, QProcessEnvironment& env) {
        env.insert("ZTGL_KILL_AT", QString::fromLatin1(c.step));
    });
    ASSERT_EQ(killed.signal, SIGKILL) << killed.err;

    EXPECT_EQ(folder.inconsistencies(), QStringList());
    EXPECT_EQ(folder.bytes("_BK001.MDB"), oldSet) << "another set was touched";
    EXPECT_EQ(QFile::exists(folder.file("_BK002.MDB")), c.fileMade);
    // Killed in the middle of the copy, the partial copy is not named like a set.
    EXPECT_EQ(QFile::exists(folder.file("_BK002.MDB.part")), !c.fileMade);
    EXPECT_EQ(ztml().mid(0, 1), QStringList{"1|老公司|_BK001|1"});
    EXPECT_EQ(ztml().size(), c.rowWritten ? 2 : 1);

    if (!c.rowWritten) {
        // Creating again, with Yes to the overwrite question a file left behind may bring.
        const AdminRun again = folder.create("新公司", {}, true);
        EXPECT_EQ(again.code, 0) << again.err;
        EXPECT_EQ(again.err.contains("将要创建的数据库已经存在"), c.fileMade) << again.err;
    } else {
        // The set is catalogued with the template's default user, as a failed user update leaves
        // it: creating it again is refused by its name, modifying it completes it.
        EXPECT_NE(defaultUser("_BK002.MDB").section(QLatin1Char('|'), 0, 0), "王五");
        const AdminRun again = folder.create("新公司", {}, true);
        EXPECT_EQ(again.code, 1);
        EXPECT_TRUE(again.err.contains("已经存在“新公司”帐套，请重新录入帐套名称！")) << again.err;
        EXPECT_EQ(folder.admin({"modify", "2", "--user", "王五", "--password", "pw"}).code, 0);
    }
    EXPECT_EQ(ztml().value(1), "2|新公司|_BK002|1");
    EXPECT_EQ(defaultUser("_BK002.MDB"), "王五|" + Set_Mima("0pw0"));
    EXPECT_FALSE(QFile::exists(folder.file("_BK002.MDB.part")));
    EXPECT_EQ(folder.inconsistencies(), QStringList());
    EXPECT_EQ(folder.bytes("_BK001.MDB"), oldSet);
}

INSTANTIATE_TEST_SUITE_P(Steps, KillDuringCreation,
                         ::testing::Values(KillCase{"copy", false, false}, KillCase{"copied", true, false},
                                           KillCase{"catalogued", true, true}),
                         [](const auto& info) { return std::string(info.param.step); });

// The manager's database held locked by another program's writer while an operation runs: the
// operation waits a moment, then reports the lock in its own words and changes nothing of the
// locked database; once the writer is gone the same operation succeeds.
using Lock = ForeignWriter::Lock;

// The database the foreign writer holds and how; what the message starts with, before the lock's
// text (none: the operation is not stopped); whether the open itself is refused (3045), not a write
// (3050); where the operation's work shows: this query on this file gives this value.
struct LockCase {
    const char *name, *args, *lockedFile;
    Lock lock;
    const char* label;
    bool inUse;
    const char *doneFile, *doneSql;
    QString doneValue;
};

class ManagerLocked : public FaultTest<LockCase, true> {
protected:
    bool done() const {
        return folder.query(GetParam().doneFile, GetParam().doneSql) == QStringList{GetParam().doneValue};
    }
    AdminRun run() const { return folder.admin(QString::fromUtf8(GetParam().args).split(QLatin1Char(' '))); }
};

TEST_P(ManagerLocked, ReportsTheLockChangesNothingAndSucceedsOnceItIsGone) {
    const LockCase& c = GetParam();
    const QString locked = folder.file(c.lockedFile);
    const QStringList before = folder.dump(c.lockedFile);
    {
        ForeignWriter writer(locked, c.lock);
        ASSERT_TRUE(writer.holds());
        const AdminRun r = run();
        if (!c.label) {
            EXPECT_EQ(r.code, 0) << r.err;
            EXPECT_TRUE(done());
            return;
        }
        EXPECT_EQ(r.code, 1) << r.err;
        const QString text = c.inUse
                                 ? QStringLiteral("无法使用“%1”；文件正被其他用户独占使用。请稍后再试。")
                                 : QStringLiteral("无法锁定文件“%1”：数据库正被其他用户修改。请稍后再试。");
        EXPECT_TRUE(r.err.contains(c.label + text.arg(locked))) << r.err;
    }
    EXPECT_EQ(folder.dump(c.lockedFile), before) << "a half change";
    EXPECT_FALSE(done());
    EXPECT_EQ(folder.inconsistencies(), QStringList());

    const AdminRun again = run();
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_TRUE(done());
    EXPECT_EQ(folder.inconsistencies(), QStringList());
}

// The upgrade only reads the catalogue: another writer on it does not stop it, one held exclusively
// (a writer in the middle of its commit) stops it before anything is read. It writes the sets: a set held by
// another writer stops the run there, and that set stays as it was (the sets before it keep their new rows).
// clang-format off
INSTANTIATE_TEST_SUITE_P(Operations, ManagerLocked, ::testing::Values(
    LockCase{"Disable", "--yes disable 1", "KXPUB.MDB", Lock::Write, "SetUserFlag():", false, "KXPUB.MDB",
             "select UserFlag from ZTML where Id='1'", "0"},
    LockCase{"PasswordChange", "passwd --user admin --old  --new 新密码", "KXPUB.MDB", Lock::Write, "ExecuteNonQuerySql():",
             false, "KXPUB.MDB", "select UserPwds from ZTUsers where Id='1'", Set_Mima("admin新密码admin")},
    LockCase{"Creation", "--yes create --name 丙公司 --user u --password p", "KXPUB.MDB", Lock::Write, "Command_OK()::",
             false, "KXPUB.MDB", "select ZTLJ from ZTML where ZTMC='丙公司'", "_BK003"},
    LockCase{"UpgradeWhileTheCatalogueIsWritten", "--yes upgrade", "KXPUB.MDB", Lock::Write, nullptr, false,
             "_BK001.MDB", "select count(*) from BaseLimits where ID='10'", "1"},
    LockCase{"UpgradeWhileTheCatalogueIsCommitted", "--yes upgrade", "KXPUB.MDB", Lock::Exclusive, "Open_Connect():", true,
             "_BK001.MDB", "select count(*) from BaseLimits where ID='10'", "1"},
    LockCase{"UpgradeOfASetHeldByAnotherWriter", "--yes upgrade", "_BK002.MDB", Lock::Write,
             "DateBaseModifyByZavrin()::升级数据库失败。", false, "_BK002.MDB", "select count(*) from BaseLimits where ID='10'", "1"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A set held exclusively by a writer in the middle of its commit while it is copied for a backup:
// the copy waits for the writer and then takes the whole set.
TEST(SetHeldDuringACopy, TheCopyWaitsForTheWriterAndTakesTheWholeSet) {
    FaultFolder folder;
    ASSERT_TRUE(folder.ok() && folder.create("甲公司").code == 0) << folder.error().toStdString();
    ado::Connection from;
    from.setConnectionString(AdminFolder::connectString(folder.file("_BK001.MDB")));
    from.Open();
    auto writer = std::make_unique<ForeignWriter>(folder.file("_BK001.MDB"), Lock::Exclusive);
    ASSERT_TRUE(writer->holds());
    std::thread release([&writer] {
        QThread::msleep(300);
        writer.reset();
    });
    EXPECT_NO_THROW(ado::JetOnlineCopyToFile(from, folder.file("copy.MDB")));
    release.join();
    from.Close();
    EXPECT_EQ(folder.dump("copy.MDB"), folder.dump("_BK001.MDB"));
}

// A set's database deleted, or replaced by something that is no database, while the list window
// shows the set. Every command on it says what is wrong in the program's words; the others still
// work on it where they do not need its database, and the program goes on working.
using Col = AccountSetList::Column;

// The bytes of the file kept (-1: the file deleted), the bytes written after them, and the
// engine's text for it (%1 the file).
struct Breakage {
    const char* name;
    int keep;
    const char *bytes, *error;
};

class SetDatabaseGone : public FaultTest<Breakage, true> {
protected:
    void SetUp() override {
        FaultTest::SetUp();
        ASSERT_TRUE(folder.openInProcess());
        list.Form_Load();
        ASSERT_EQ(list.grid().Rows(), 3);
    }
    // Modify on the row, made current as a click does: the default user the editor shows, or
    // nothing when it closed at once.
    QString modify(int row) {
        list.moveTo(row);
        list.MSFlexGrid1_Click();
        QString user;
        port.onModal([&](ModalForm& form) {
            auto& editor = dynamic_cast<AccountSetEditor&>(form);
            editor.Form_Load();
            user = editor.isUnloaded() ? QString() : editor.TxtDB[AccountSetEditor::BoxUser];
        });
        list.command1_Click(3);
        return user;
    }
    QString lastMessage() const { return port.messages.isEmpty() ? QString() : port.messages.last().text; }

    RecordingUiPort port;
    AccountSetList list;
};

TEST_P(SetDatabaseGone, EveryCommandOnItSaysWhyAndTheProgramGoesOn) {
    const QString broken = folder.file("_BK001.MDB");
    const QByteArray head = folder.bytes("_BK001.MDB").left(GetParam().keep);
    ASSERT_TRUE(QFile::remove(broken));
    if (GetParam().keep >= 0)
        JetFiles::write(broken, head + GetParam().bytes);
    const QString error = QString::fromUtf8(GetParam().error).arg(QDir::toNativeSeparators(broken));

    // Modify: the editor cannot show the set's default user; it says why and closes.
    EXPECT_EQ(modify(1), QString());
    EXPECT_EQ(lastMessage(), "LoadDefaultUser():" + error);

    // Disable and enable write only the catalogue: they work as for any set.
    port.answer(MsgAnswer::Yes);
    list.command1_Click(1);
    EXPECT_EQ(list.grid().TextMatrix(1, Col::ColStatus), AccountSetList::kDisabled);
    port.answer(MsgAnswer::Yes);
    list.command1_Click(2);
    EXPECT_EQ(list.grid().TextMatrix(1, Col::ColStatus), AccountSetList::kInUse);

    // The upgrade stops at the set, saying why.
    list.DateBaseModifyByZavrin();
    EXPECT_EQ(lastMessage(), "DateBaseModifyByZavrin()::升级数据库失败。" + error);

    // The program goes on: the list reads again, the other set opens.
    ASSERT_TRUE(list.SetMSFlexGrid1Date());
    EXPECT_EQ(list.grid().Rows(), 3);
    EXPECT_EQ(modify(2), "王五");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ways, SetDatabaseGone, ::testing::Values(
    Breakage{"Deleted", -1, "", "找不到文件“%1”。"},
    Breakage{"ReplacedByText", 0, "这不是数据库\r\n", "无法识别的数据库格式“%1”。"},
    Breakage{"CutShort", 8192, "", "无法打开数据库“%1”。文件可能已经损坏。"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The disk full while the template is copied for a new Access set. The program folder lies on a
// small file system of its own (a tmpfs mounted in a mount namespace of this test process, which
// nothing else sees and which goes with the process). Where the test may not mount, the copy gets
// a limit on the size of the files it writes instead (RLIMIT_FSIZE): its writes fail just the same.
#ifdef Q_OS_LINUX
bool mountSmall(const QString& dir, qint64 bytes, unsigned long flags = 0) {
    const QByteArray options = "size=" + QByteArray::number(bytes);
    return mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", flags, options.constData()) == 0;
}

bool ownMountNamespace() {
    return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

qint64 usedBytes(const QString& dir) {
    qint64 used = 0;
    for (const QFileInfo& f : QDir(dir).entryInfoList(QDir::Files))
        used += (f.size() + 4095) / 4096 * 4096;
    return used;
}

TEST(DiskFull, DuringTheCopyOfTheTemplate) {
    QTemporaryDir base;
    const QString dir = base.filePath("program");
    ASSERT_TRUE(QDir().mkpath(dir));
    const bool mounted = ownMountNamespace() && mountSmall(dir, 8 << 20);
    RecordProperty("full_disk", mounted ? "tmpfs" : "RLIMIT_FSIZE");
    // Gone before the temporary folder is removed (whose removal it would otherwise block).
    const std::unique_ptr<const char, std::function<void(const char*)>> unmount(
        "", [&](const char*) { mounted&& umount2(QFile::encodeName(dir).constData(), MNT_DETACH); });
    FaultFolder folder(dir);
    ASSERT_TRUE(folder.ok()) << folder.error();
    ASSERT_EQ(folder.create("老公司").code, 0);
    const QByteArray oldSet = folder.bytes("_BK001.MDB");
    const qint64 half = QFileInfo(folder.file("MWMSD_NULL.mdb")).size() / 2;

    AdminSetup full;
    if (mounted) {
        // Room for half a template more.
        ASSERT_TRUE(mountSmall(dir, usedBytes(dir) + half / 4096 * 4096, MS_REMOUNT));
    } else {
        full = [half](QProcess& p, QProcessEnvironment&) {
            p.setChildProcessModifier([half] {
                const rlimit limit{rlim_t(half), rlim_t(half)};
                setrlimit(RLIMIT_FSIZE, &limit);
                signal(SIGXFSZ, SIG_IGN);
            });
        };
    }
    const AdminRun r = folder.create("新公司", full);
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_TRUE(r.err.contains("创建数据库失败！")) << r.err;
    EXPECT_EQ(folder.query("KXPUB.MDB", "select count(*) from ZTML"), QStringList{"1"});
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({"KXPUB.MDB", "MWMSD_NULL.mdb", "_BK001.MDB", "kxconfig.ini"}))
        << "no partial file left";
    EXPECT_EQ(folder.bytes("_BK001.MDB"), oldSet);
    EXPECT_EQ(folder.inconsistencies(), QStringList());
}
#endif

}  // namespace
}  // namespace ztgl::test
