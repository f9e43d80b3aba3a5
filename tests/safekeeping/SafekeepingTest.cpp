// Backing up, restoring and retiring account sets end to end on the embedded engine, run as the
// real ztgl-admin on a demo program folder; and the record those actions leave.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "ProgramFolder.h"
#include "platform/SystemAccount.h"
#include "safekeeping/BackupFile.h"

namespace ztgl::test {
namespace {

const QString kSet = QStringLiteral("_BK001.MDB");

class SafekeepingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error();
        ASSERT_EQ(folder.create("甲公司"), "1");
    }
    QStringList departments(const QString& db) const {
        return folder.query(db, "select BMBH from Departments order by BMBH");
    }
    void addDepartment(const QString& code) const {
        folder.execute(kSet, "insert into Departments(BMBH,BMMC) values('" + code + "','部门" + code + "')");
    }
    QStringList ztml() const {
        return folder.query("KXPUB.MDB", "select Id,ZTMC,ZTLJ,UserFlag from ZTML order by Id");
    }
    // The path ztgl-admin backup printed.
    QString backup() const { return folder.expect({"backup", "1"}, 0).out.trimmed(); }
    // The database inside a backup, unpacked into a scratch file.
    QString unpacked(const QString& file) {
        const QString db = scratch.filePath(QString::number(++m_unpacked) + ".MDB");
        BackupFile::Extract(file, db);
        return db;
    }

    AdminFolder folder;
    QTemporaryDir scratch;
    int m_unpacked = 0;
};

// Another connection commits pairs of rows all the time the backup runs: the backup holds a whole
// number of pairs, some written before it and some still to come.
TEST_F(SafekeepingTest, BackupWhileAnotherConnectionWritesIsOneConsistentState) {
    ado::Connection writer;
    writer.setConnectionString(AdminFolder::connectString(folder.file(kSet)));
    writer.Open();
    int n = 0;
    const auto rows = [&](int count) {  // `count` rows in one transaction
        writer.BeginTrans();
        for (const int end = n + count; n < end; ++n)
            writer.Execute(QStringLiteral("insert into OperationLog(RZID,CZY,CZNR) values(%1,'w','%2')")
                               .arg(n)
                               .arg(QString(400, QChar(u'帐'))));
        writer.CommitTrans();
    };
    rows(10000);  // some megabytes first, so that the copy takes a while
    const int before = n;

    QProcess process;
    process.start(ZTGL_ADMIN_EXE, {"--dir", folder.path(), "backup", "1"});
    ASSERT_TRUE(process.waitForStarted());
    while (process.state() != QProcess::NotRunning) {
        const int from = n;
        try {
            rows(2);
        } catch (const std::exception&) {
            n = from;  // busy for a moment: the pair is taken back, the next round tries again
            try {
                writer.RollbackTrans();
            } catch (const std::exception&) {  // it had not begun
            }
        }
        process.waitForFinished(2);  // a writer of the suite writes now and then, not without pause
    }
    writer.Close();
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString file = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    const int copied = folder.query(unpacked(file), "select count(*) from OperationLog").value(0).toInt();
    EXPECT_EQ(copied % 2, 0) << "a transaction is in the copy whole or not at all";
    EXPECT_GT(copied, before);
    EXPECT_LT(copied, n);
}

TEST_F(SafekeepingTest, RestoreAndRetireNeverLoseASet) {
    addDepartment("90");
    const QString file = backup();
    EXPECT_TRUE(QFileInfo(file).fileName().startsWith("BK001_")) << file;
    folder.execute(kSet, "delete from Departments where BMBH='90'");
    addDepartment("91");
    const QStringList changed = departments(kSet);

    folder.expect({"restore", file}, 1,
                  "将用备份中的数据替换帐套“甲公司”（编号1，数据库_BK001）的全部现有数据。");
    EXPECT_EQ(departments(kSet), changed) << "without --yes nothing is replaced";
    const AdminRun r = folder.expect({"--yes", "restore", file}, 0);
    EXPECT_TRUE(departments(kSet).contains("90"));
    EXPECT_FALSE(departments(kSet).contains("91"));
    const QString before = r.err.section("恢复前的数据已备份到：", 1).trimmed();
    ASSERT_TRUE(QFileInfo::exists(before)) << r.err;
    EXPECT_EQ(departments(unpacked(before)), changed) << "the state replaced is kept";

    folder.expect({"restore", file, "--as-new"}, 0, "甲公司（恢复）");
    folder.expect({"restore", file, "--as-new"}, 0, "甲公司（恢复2）");
    EXPECT_EQ(ztml(),
              QStringList({"1|甲公司|_BK001|1", "2|甲公司（恢复）|_BK002|1", "3|甲公司（恢复2）|_BK003|1"}));
    EXPECT_TRUE(departments("_BK003.MDB").contains("90"));

    // Retiring: only a disabled set, only with Yes; the backup it takes first brings the set back.
    folder.expect({"--yes", "retire", "1"}, 1, "只能注销已停用的帐套，请先停用帐套“甲公司”。");
    folder.expect({"--yes", "retire", "7"}, 1, "没有编号为“7”的帐套。");
    folder.expect({"--yes", "disable", "1"}, 0);
    const QStringList kept = folder.backups();
    folder.expect(
        {"retire", "1"}, 1,
        "注销帐套“甲公司”（编号1，数据库_BK001）后，它将从帐套目录中删除，它的数据库文件将移入备份文件夹。");
    EXPECT_TRUE(QFileInfo::exists(folder.file(kSet))) << "not without the Yes";
    folder.expect({"--yes", "retire", "1"}, 0);
    EXPECT_EQ(ztml().size(), 2);
    EXPECT_FALSE(QFileInfo::exists(folder.file(kSet)));
    QStringList made = folder.backups();
    made.removeIf([&](const QString& f) { return kept.contains(f); });
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(departments(QString(made[0]).replace(".ztbak", ".retired.MDB")).contains("90"));
    folder.expect({"restore", made[0], "--as-new"}, 0);
    EXPECT_EQ(ztml().last(), "4|甲公司（恢复3）|_BK004|1");
    EXPECT_TRUE(departments("_BK004.MDB").contains("90"));
}

// Each case spoils a good backup; the restore is refused with the reason, and nothing changes.
TEST_F(SafekeepingTest, DamagedAndForeignBackupsAreRefusedWithTheReason) {
    QFile in(backup());
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const qsizetype sha = bytes.indexOf("\"contentChecksum\": \"") + 20;
    // A set of other tables: one table more, one less.
    folder.execute(kSet, "CREATE TABLE Extra (A LONG)");
    folder.execute(kSet, "DROP TABLE OperationLog");
    const QString foreign = backup();

    QByteArray flipped = bytes, otherSum = bytes;
    flipped[bytes.size() - 100] = char(flipped[bytes.size() - 100] ^ 0x20);
    otherSum[sha] = otherSum[sha] == 'a' ? 'b' : 'a';
    const struct {
        const char* name;
        QByteArray content;  // empty: the foreign backup as it is
        QString reason;
    } cases[] = {
        {"a byte changed", flipped, "已损坏：数据块的校验码不符。"},
        {"cut short", bytes.left(bytes.size() / 2), "已损坏：文件不完整。"},
        {"checksum of other content", otherSum, "已损坏：内容的校验和与备份清单不符。"},
        {"no backup at all", "[BASESETUP]\r\nISWLB=0\r\n", "不是帐套备份文件（文件头不对）。"},
        {"other tables",
         {},
         "备份中的表与当前模板的表不一致（缺少表 OperationLog；多出表 Extra），不能恢复。"},
    };
    addDepartment("92");
    const QStringList now = departments(kSet);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString file = foreign;
        if (!c.content.isEmpty()) {
            QFile out(file = scratch.filePath("spoilt.ztbak"));
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(c.content);
        }
        for (const QStringList& extra : {QStringList{}, QStringList{"--as-new"}})
            EXPECT_FALSE(
                folder.expect(QStringList{"--yes", "restore", file} + extra, 1, c.reason).err.contains("():"))
                << "a refusal is no run-time error";
    }
    EXPECT_EQ(departments(kSet), now);
    EXPECT_EQ(ztml(), QStringList{"1|甲公司|_BK001|1"});
    EXPECT_EQ(folder.logActions().filter("恢复帐套"), QStringList(10, "恢复帐套 失败"));
}

// Every change the program makes leaves one row: who, where, what, which set, and how it went.
TEST_F(SafekeepingTest, TheRecordHoldsEveryActionAndItsOutcome) {
    ASSERT_EQ(folder.create("乙公司"), "2");
    const QStringList steps[] = {{"modify", "1", "--name", "甲公司总部"},
                                 {"--yes", "disable", "1"},
                                 {"--yes", "enable", "1"},
                                 {"--yes", "upgrade"},
                                 {"passwd", "--user", "admin", "--old", "", "--new", "secret"},
                                 {"backup", "--all", "--keep", "1"}};
    for (const QStringList& step : steps)
        folder.expect(step, 0);
    // The scheduled backup again: the newest backup of each set stays.
    QStringList kept = folder.expect({"backup", "--all", "--keep", "1"}, 0, "已经成功备份全部2个帐套！")
                           .out.split('\n', Qt::SkipEmptyParts);
    kept.sort();
    EXPECT_EQ(folder.backups(), kept);
    folder.expect({"--yes", "restore", kept.first()}, 0);
    folder.expect({"--yes", "disable", "1"}, 0);
    folder.expect({"--yes", "retire", "1"}, 0);
    // A set whose database is gone cannot be backed up: recorded as failed.
    QFile::remove(folder.file("_BK002.MDB"));
    folder.expect({"backup", "2"}, 1);
    EXPECT_EQ(
        folder.logActions(),
        QStringList({"新增帐套 成功", "新增帐套 成功", "修改帐套 成功", "停用帐套 成功", "启用帐套 成功",
                     "升级权限 成功", "升级权限 成功", "修改密码 成功", "备份帐套 成功", "备份帐套 成功",
                     "备份帐套 成功", "备份帐套 成功", "备份帐套 成功", "恢复帐套 成功", "停用帐套 成功",
                     "备份帐套 成功", "注销帐套 成功", "备份帐套 失败"}));
    // Without a login a row names the system account; passwd logs the operator in.
    const QStringList lines = folder.admin({"log"}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(QDateTime::fromString(lines[0].section('\t', 0, 0), "yyyy-MM-dd HH:mm:ss").date(),
              QDate::currentDate());
    EXPECT_EQ(lines[0].split('\t').mid(1, 5),
              QStringList(
                  {'[' + SystemAccountName() + ']', QSysInfo::machineHostName(), "新增帐套", "1", "甲公司"}));
    EXPECT_EQ(lines[7].section('\t', 1, 1), "admin");
    EXPECT_FALSE(lines.join(QString()).contains("secret"));

    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(folder.logActions({"--set", "1", "--since", today}).size(), 12)
        << "the upgrade's row names its set; the password change names none";
    EXPECT_TRUE(
        folder.logActions({"--since", QDate::currentDate().addDays(1).toString(Qt::ISODate)}).isEmpty());
}

}  // namespace
}  // namespace ztgl::test
