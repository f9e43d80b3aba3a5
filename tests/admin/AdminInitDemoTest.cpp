// ztgl-admin init-demo, run as the real program.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "RecordingUiPort.h"
#include "process/IniFile.h"
#include "demo/DemoFolder.h"

namespace ztgl::test {
namespace {

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AdminInitDemoTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    RecordingUiPort port;  // Read_Ini of the checks reports here
};

TEST_F(AdminInitDemoTest, BuildsAFolderTheOtherCommandsWorkOn) {
    const QString dir = tmp.filePath(QStringLiteral("演示/程序"));
    AdminRun r = runAdmin({QStringLiteral("init-demo"), dir});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(r.out,
              QStringLiteral("演示程序文件夹已建好：%1\n初始用户代码：admin  登录密码：空\n").arg(dir));
    for (const QString& name : DemoFolder::fileNames())
        EXPECT_TRUE(QFileInfo(QDir(dir).filePath(name)).isFile()) << name.toStdString();
    EXPECT_EQ(Read_Ini(QStringLiteral("DBCONNECT"), QStringLiteral("DATA_SOURCE"),
                       QDir(dir).filePath(QStringLiteral("kxconfig.ini"))),
              QDir::toNativeSeparators(QDir(dir).filePath(QStringLiteral("KXPUB.MDB"))));

    r = runAdmin({QStringLiteral("--dir"), dir, QStringLiteral("list")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    r = runAdmin({QStringLiteral("--dir"), dir, QStringLiteral("passwd"), QStringLiteral("--user"),
                  QStringLiteral("admin"), QStringLiteral("--old"), QString(), QStringLiteral("--new"),
                  QStringLiteral("演示")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
}

TEST_F(AdminInitDemoTest, RelativeFolderIsWrittenAbsolute) {
    QProcess p;
    p.setWorkingDirectory(tmp.path());
    p.start(QStringLiteral(ZTGL_ADMIN_EXE), {QStringLiteral("init-demo"), QStringLiteral("rel")});
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    const QString source = Read_Ini(QStringLiteral("DBCONNECT"), QStringLiteral("DATA_SOURCE"),
                                    tmp.filePath(QStringLiteral("rel/kxconfig.ini")));
    EXPECT_EQ(source, QDir::toNativeSeparators(tmp.filePath(QStringLiteral("rel/KXPUB.MDB"))));
}

TEST_F(AdminInitDemoTest, RefusesAFolderThatHasTheFilesAndChangesNothing) {
    ASSERT_EQ(runAdmin({QStringLiteral("init-demo"), tmp.path()}).code, 0);
    QMap<QString, QByteArray> before;
    for (const QString& name : DemoFolder::fileNames())
        before.insert(name, bytesOf(tmp.filePath(name)));

    const AdminRun r = runAdmin({QStringLiteral("init-demo"), tmp.path()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("文件夹“%1”中已有 kxconfig.ini，没有写入任何文件。\n").arg(tmp.path()));
    EXPECT_TRUE(r.out.isEmpty());
    for (const QString& name : DemoFolder::fileNames())
        EXPECT_EQ(bytesOf(tmp.filePath(name)), before.value(name)) << name.toStdString();
}

TEST_F(AdminInitDemoTest, RefusesAFileInPlaceOfTheFolder) {
    const QString file = tmp.filePath(QStringLiteral("a-file"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const AdminRun r = runAdmin({QStringLiteral("init-demo"), file});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("“%1”已经存在，但不是文件夹。\n").arg(file));
}

TEST_F(AdminInitDemoTest, BadUsage) {
    const QStringList cases[] = {{QStringLiteral("init-demo")},
                                 {QStringLiteral("init-demo"), QStringLiteral("a"), QStringLiteral("b")},
                                 {QStringLiteral("init-demo"), QStringLiteral("--force")}};
    for (const QStringList& args : cases) {
        const AdminRun r = runAdmin(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("init-demo [--network] DIR"))) << r.err.toStdString();
    }
    EXPECT_TRUE(QDir(tmp.path()).isEmpty());
}

}  // namespace
}  // namespace ztgl::test
