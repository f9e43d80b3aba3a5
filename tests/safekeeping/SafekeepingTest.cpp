// Backing up, restoring and retiring account sets end to end on the embedded engine, run as the
// real ztgl-admin on a demo program folder; and the record those actions leave.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "SafekeepingFolder.h"
#include "safekeeping/BackupFile.h"

namespace ztgl::test {
namespace {

const QString kSet = QStringLiteral("_BK001.MDB");

class SafekeepingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
        ASSERT_EQ(folder.create(QStringLiteral("甲公司")), QStringLiteral("1"));
    }
    AdminRun admin(const QStringList& args) const { return folder.admin(args); }
    QStringList departments(const QString& db) const {
        return folder.query(db, QStringLiteral("select BMBH from Departments order by BMBH"));
    }
    QStringList ztml() const {
        return folder.query(QStringLiteral("KXPUB.MDB"),
                            QStringLiteral("select Id,ZTMC,ZTLJ,UserFlag from ZTML order by Id"));
    }
    // The path ztgl-admin backup printed.
    QString backup(const QString& id) const {
        const AdminRun r = admin({QStringLiteral("backup"), id});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        return r.out.trimmed();
    }

    SafekeepingFolder folder;
};

// Another connection commits pairs of rows all the time the backup runs: the backup holds a whole
// number of pairs, some written before it and some still to come.
TEST_F(SafekeepingTest, BackupWhileAnotherConnectionWritesIsOneConsistentState) {
    ado::Connection writer;
    writer.setConnectionString(SafekeepingFolder::connectString(folder.file(kSet)));
    writer.Open();
    const auto insert = [&writer](int row) {
        writer.Execute(QStringLiteral("insert into OperationLog(RZID,CZY,CZNR) values(%1,'w','%2')")
                           .arg(row)
                           .arg(QString(400, QChar(u'帐'))));
    };
    // Some megabytes first, so that the copy takes a while.
    writer.BeginTrans();
    int n = 0;
    for (; n < 5000; ++n) {
        insert(2 * n);
        insert(2 * n + 1);
    }
    writer.CommitTrans();
    const int before = 2 * n;
    const auto pair = [&](int n) {
        writer.BeginTrans();
        insert(2 * n);
        insert(2 * n + 1);
        writer.CommitTrans();
    };

    QProcess process;
    process.start(QStringLiteral(ZTGL_ADMIN_EXE),
                  {QStringLiteral("--dir"), folder.path(), QStringLiteral("backup"), QStringLiteral("1")});
    ASSERT_TRUE(process.waitForStarted());
    while (process.state() != QProcess::NotRunning) {
        try {
            pair(n);
            ++n;
        } catch (const std::exception&) {
            // the database was busy for a moment: the next round tries again
        }
        process.waitForFinished(2);  // a writer of the suite writes now and then, not without pause
    }
    const int after = 2 * n;
    writer.Close();
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString file = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    ASSERT_TRUE(QFileInfo::exists(file)) << file.toStdString();

    QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("copy.MDB"));
    BackupFile::Extract(file, copy);
    const int rows = folder.query(copy, QStringLiteral("select count(*) from OperationLog")).value(0).toInt();
    EXPECT_EQ(rows % 2, 0) << "a transaction is in the copy whole or not at all";
    EXPECT_GT(rows, before);
    EXPECT_LT(rows, after);
}

TEST_F(SafekeepingTest, RestoreOverItsSetAndAsNewSets) {
    folder.execute(kSet, QStringLiteral("insert into Departments(BMBH,BMMC) values('90','备份时的部门')"));
    const QString file = backup(QStringLiteral("1"));
    EXPECT_EQ(QFileInfo(file).fileName().left(6), QStringLiteral("BK001_"));
    folder.execute(kSet, QStringLiteral("delete from Departments where BMBH='90'"));
    folder.execute(kSet, QStringLiteral("insert into Departments(BMBH,BMMC) values('91','备份后的部门')"));
    const QStringList changed = departments(kSet);

    AdminRun r = admin({QStringLiteral("restore"), file});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(
        QStringLiteral("将用备份中的数据替换帐套“甲公司”（编号1，数据库_BK001）的全部现有数据。")))
        << r.err.toStdString();
    EXPECT_EQ(departments(kSet), changed) << "without --yes nothing is replaced";

    r = admin({QStringLiteral("--yes"), QStringLiteral("restore"), file});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(departments(kSet).contains(QStringLiteral("90")));
    EXPECT_FALSE(departments(kSet).contains(QStringLiteral("91")));
    const QString before = r.err.section(QStringLiteral("恢复前的数据已备份到："), 1).trimmed();
    ASSERT_TRUE(QFileInfo::exists(before)) << r.err.toStdString();
    QTemporaryDir scratch;
    BackupFile::Extract(before, scratch.filePath(QStringLiteral("before.MDB")));
    EXPECT_EQ(departments(scratch.filePath(QStringLiteral("before.MDB"))), changed)
        << "the state replaced is kept";

    for (const QString& name : {QStringLiteral("甲公司（恢复）"), QStringLiteral("甲公司（恢复2）")}) {
        r = admin({QStringLiteral("restore"), file, QStringLiteral("--as-new")});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(name)) << r.err.toStdString();
    }
    EXPECT_EQ(ztml(),
              (QStringList{QStringLiteral("1|甲公司|_BK001|1"), QStringLiteral("2|甲公司（恢复）|_BK002|1"),
                           QStringLiteral("3|甲公司（恢复2）|_BK003|1")}));
    EXPECT_TRUE(departments(QStringLiteral("_BK003.MDB")).contains(QStringLiteral("90")));
}

// Each case spoils a good backup; the restore is refused with the reason, and nothing changes.
TEST_F(SafekeepingTest, DamagedAndForeignBackupsAreRefusedWithTheReason) {
    const QString good = backup(QStringLiteral("1"));
    QFile in(good);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const qsizetype sha = bytes.indexOf("\"contentChecksum\": \"") + 20;
    // A set of other tables: one table more, one less.
    folder.execute(kSet, QStringLiteral("CREATE TABLE Extra (A LONG)"));
    folder.execute(kSet, QStringLiteral("DROP TABLE OperationLog"));
    const QString foreign = backup(QStringLiteral("1"));

    struct Case {
        const char* name;
        QByteArray content;  // empty: the foreign backup as it is
        QString reason;
    };
    QByteArray flipped = bytes;
    flipped[bytes.size() - 100] = char(flipped[bytes.size() - 100] ^ 0x20);
    QByteArray otherSum = bytes;
    otherSum[sha] = otherSum[sha] == 'a' ? 'b' : 'a';
    const Case cases[] = {
        {"a byte changed", flipped, QStringLiteral("已损坏：数据块的校验码不符。")},
        {"cut short", bytes.left(bytes.size() / 2), QStringLiteral("已损坏：文件不完整。")},
        {"checksum of other content", otherSum, QStringLiteral("已损坏：内容的校验和与备份清单不符。")},
        {"no backup at all", QByteArray("[BASESETUP]\r\nISWLB=0\r\n"),
         QStringLiteral("不是帐套备份文件（文件头不对）。")},
        {"other tables", QByteArray(),
         QStringLiteral("备份中的表与当前模板的表不一致（缺少表 OperationLog；多出表 Extra），不能恢复。")},
    };
    folder.execute(kSet, QStringLiteral("insert into Departments(BMBH,BMMC) values('92','现在的部门')"));
    const QStringList now = departments(kSet);
    QTemporaryDir scratch;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString file = foreign;
        if (!c.content.isEmpty()) {
            file = scratch.filePath(QStringLiteral("spoilt.ztbak"));
            QFile out(file);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
            out.write(c.content);
        }
        for (const QStringList& extra : {QStringList{}, QStringList{QStringLiteral("--as-new")}}) {
            const AdminRun r =
                admin(QStringList{QStringLiteral("--yes"), QStringLiteral("restore"), file} + extra);
            EXPECT_EQ(r.code, 1);
            EXPECT_TRUE(r.err.contains(c.reason)) << r.err.toStdString();
            EXPECT_FALSE(r.err.contains(QStringLiteral("():"))) << "a refusal is no run-time error";
        }
    }
    EXPECT_EQ(departments(kSet), now);
    EXPECT_EQ(ztml(), QStringList{QStringLiteral("1|甲公司|_BK001|1")});
    EXPECT_EQ(folder.logActions().filter(QStringLiteral("恢复帐套")).size(), 10);
    EXPECT_EQ(folder.logActions().filter(QStringLiteral("恢复帐套 失败")).size(), 10);
}

TEST_F(SafekeepingTest, RetireOnlyADisabledSetAndNeverLoseIt) {
    folder.execute(kSet, QStringLiteral("insert into Departments(BMBH,BMMC) values('93','注销前的部门')"));
    AdminRun r = admin({QStringLiteral("--yes"), QStringLiteral("retire"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("只能注销已停用的帐套，请先停用帐套“甲公司”。")))
        << r.err.toStdString();
    r = admin({QStringLiteral("--yes"), QStringLiteral("retire"), QStringLiteral("7")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有编号为“7”的帐套。"))) << r.err.toStdString();
    ASSERT_EQ(admin({QStringLiteral("--yes"), QStringLiteral("disable"), QStringLiteral("1")}).code, 0);
    r = admin({QStringLiteral("retire"), QStringLiteral("1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(
        r.err.contains(QStringLiteral("注销帐套“甲公司”（编号1，数据库_BK001）后，它将从帐套目录中删除，"
                                      "它的数据库文件将移入备份文件夹。")))
        << r.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder.file(kSet))) << "not without the Yes";
    EXPECT_TRUE(folder.backups().isEmpty());

    r = admin({QStringLiteral("--yes"), QStringLiteral("retire"), QStringLiteral("1")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(ztml().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder.file(kSet)));
    ASSERT_EQ(folder.backups().size(), 1);
    const QString moved =
        folder.backups().first().replace(QStringLiteral(".ztbak"), QStringLiteral(".retired.MDB"));
    EXPECT_TRUE(departments(moved).contains(QStringLiteral("93")));
    // The backup taken first brings the set back.
    r = admin({QStringLiteral("restore"), folder.backups().first(), QStringLiteral("--as-new")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(ztml(), QStringList{QStringLiteral("1|甲公司（恢复）|_BK001|1")});
    EXPECT_TRUE(departments(kSet).contains(QStringLiteral("93")));
}

TEST_F(SafekeepingTest, ScheduledBackupOfAllSetsKeepsTheLastN) {
    ASSERT_EQ(folder.create(QStringLiteral("乙公司")), QStringLiteral("2"));
    QStringList made;
    for (int run = 0; run < 3; ++run) {
        const AdminRun r = admin({QStringLiteral("backup"), QStringLiteral("--all"), QStringLiteral("--keep"),
                                  QStringLiteral("2")});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("已经成功备份全部2个帐套！"))) << r.err.toStdString();
        const QStringList files = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(files.size(), 2);
        if (run > 0)
            made << files;
    }
    QStringList kept = folder.backups();
    std::sort(made.begin(), made.end());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, made) << "the newest two of each set";

    for (const QStringList& args :
         {QStringList{QStringLiteral("backup")},
          QStringList{QStringLiteral("backup"), QStringLiteral("1"), QStringLiteral("--all")},
          QStringList{QStringLiteral("backup"), QStringLiteral("--all"), QStringLiteral("--keep"),
                      QStringLiteral("0")},
          QStringList{QStringLiteral("restore")},
          QStringList{QStringLiteral("retire"), QStringLiteral("1"), QStringLiteral("2")},
          QStringList{QStringLiteral("log"), QStringLiteral("--since"), QStringLiteral("2024-13-01")}}) {
        const AdminRun r = admin(args);
        EXPECT_EQ(r.code, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
    }
}

// Every change the program makes leaves one row: who, where, what, which set, and how it went.
TEST_F(SafekeepingTest, TheRecordHoldsEveryActionAndItsOutcome) {
    const QStringList steps[] = {
        {QStringLiteral("modify"), QStringLiteral("1"), QStringLiteral("--name"),
         QStringLiteral("甲公司总部")},
        {QStringLiteral("--yes"), QStringLiteral("disable"), QStringLiteral("1")},
        {QStringLiteral("--yes"), QStringLiteral("enable"), QStringLiteral("1")},
        {QStringLiteral("--yes"), QStringLiteral("upgrade")},
        {QStringLiteral("passwd"), QStringLiteral("--user"), QStringLiteral("admin"), QStringLiteral("--old"),
         QString(), QStringLiteral("--new"), QStringLiteral("secret")},
        {QStringLiteral("backup"), QStringLiteral("1")},
    };
    for (const QStringList& step : steps)
        ASSERT_EQ(admin(step).code, 0) << step.join(' ').toStdString();
    ASSERT_EQ(admin({QStringLiteral("--yes"), QStringLiteral("restore"), folder.backups().first()}).code, 0);
    ASSERT_EQ(admin({QStringLiteral("--yes"), QStringLiteral("disable"), QStringLiteral("1")}).code, 0);
    ASSERT_EQ(admin({QStringLiteral("--yes"), QStringLiteral("retire"), QStringLiteral("1")}).code, 0);
    // A set whose database is gone cannot be backed up: recorded as failed.
    ASSERT_EQ(folder.create(QStringLiteral("乙公司")), QStringLiteral("1"));
    QFile::remove(folder.file(kSet));
    EXPECT_EQ(admin({QStringLiteral("backup"), QStringLiteral("1")}).code, 1);

    EXPECT_EQ(
        folder.logActions(),
        (QStringList{
            QStringLiteral("新增帐套 成功"), QStringLiteral("修改帐套 成功"), QStringLiteral("停用帐套 成功"),
            QStringLiteral("启用帐套 成功"), QStringLiteral("升级权限 成功"), QStringLiteral("修改密码 成功"),
            QStringLiteral("备份帐套 成功"), QStringLiteral("备份帐套 成功"), QStringLiteral("恢复帐套 成功"),
            QStringLiteral("停用帐套 成功"), QStringLiteral("备份帐套 成功"), QStringLiteral("注销帐套 成功"),
            QStringLiteral("新增帐套 成功"), QStringLiteral("备份帐套 失败")}));
    const QStringList lines =
        folder.admin({QStringLiteral("log")}).out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 14);
    const QStringList first = lines.first().split(QLatin1Char('\t'));
    ASSERT_EQ(first.size(), 8);
    EXPECT_EQ(QDateTime::fromString(first[0], QStringLiteral("yyyy-MM-dd HH:mm:ss")).date(),
              QDate::currentDate());
    EXPECT_TRUE(first[1].startsWith(QLatin1Char('[')) && first[1].endsWith(QLatin1Char(']')))
        << "no login: the system account";
    EXPECT_EQ(first[2], QSysInfo::machineHostName());
    EXPECT_EQ(first.mid(4, 2), (QStringList{QStringLiteral("1"), QStringLiteral("甲公司")}));
    EXPECT_EQ(lines[5].section(QLatin1Char('\t'), 1, 1), QStringLiteral("admin"))
        << "passwd logs the operator in";
    EXPECT_FALSE(lines.join(QString()).contains(QStringLiteral("secret")));

    EXPECT_EQ(folder
                  .logActions({QStringLiteral("--set"), QStringLiteral("1"), QStringLiteral("--since"),
                               QDate::currentDate().toString(Qt::ISODate)})
                  .size(),
              13)
        << "the upgrade's row names its set; the password change names none";
    EXPECT_TRUE(
        folder.logActions({QStringLiteral("--since"), QDate::currentDate().addDays(1).toString(Qt::ISODate)})
            .isEmpty());
}

}  // namespace
}  // namespace ztgl::test
