// The disk full while the template is copied for a new Access set. The program folder lies on a
// small file system of its own (a tmpfs mounted in a mount namespace of this test process, which
// nothing else sees and which goes with the process). Where the test may not mount, the copy gets
// a limit on the size of the files it writes instead (RLIMIT_FSIZE): its writes fail just the same.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <memory>

#ifdef Q_OS_LINUX
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#endif

#include "FaultFolder.h"

namespace ztgl::test {
namespace {

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
    ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
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
    EXPECT_EQ(r.code, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("创建数据库失败！")) << r.err.toStdString();
    EXPECT_EQ(folder.query("KXPUB.MDB", "select count(*) from ZTML"), QStringList{"1"});
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({"KXPUB.MDB", "MWMSD_NULL.mdb", "_BK001.MDB", "kxconfig.ini"}))
        << "no partial file left";
    EXPECT_EQ(folder.bytes("_BK001.MDB"), oldSet);
    EXPECT_EQ(folder.inconsistencies(), QStringList());

    // With room again the same creation succeeds.
    if (mounted) {
        ASSERT_TRUE(mountSmall(dir, 8 << 20, MS_REMOUNT));
    }
    const AdminRun again = folder.create("新公司");
    EXPECT_EQ(again.code, 0) << again.err.toStdString();
    EXPECT_EQ(folder.query("KXPUB.MDB", "select ZTLJ from ZTML where ZTMC='新公司'"), QStringList{"_BK002"});
    EXPECT_EQ(folder.inconsistencies(), QStringList());
}
#endif

}  // namespace
}  // namespace ztgl::test
