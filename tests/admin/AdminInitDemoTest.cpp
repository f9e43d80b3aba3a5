// ztgl-admin init-demo, run as the real program.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "JetFiles.h"
#include "RecordingUiPort.h"
#include "demo/DemoFolder.h"
#include "process/IniFile.h"

namespace ztgl::test {
namespace {

// A folder the other commands work on; one that has the files, or a file in its place, is refused
// and nothing in it changes; a relative folder is written absolute.
TEST(AdminInitDemoTest, BuildsAFolderTheOtherCommandsWorkOnAndNeverOverwrites) {
    QTemporaryDir tmp;
    RecordingUiPort port;  // Read_Ini of the checks reports here
    const QString dir = tmp.filePath("演示/程序");
    AdminRun r = runAdmin({"init-demo", dir});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              QStringLiteral("演示程序文件夹已建好：%1\n初始用户代码：admin  登录密码：空\n").arg(dir));
    EXPECT_EQ(expectAdmin(dir, {"list"}, 0).out, "");
    expectAdmin(dir, {"passwd", "--user", "admin", "--old", "", "--new", "演示"}, 0);

    const auto files = [&] {
        QMap<QString, QByteArray> out;
        for (const QString& name : DemoFolder::fileNames())
            out.insert(name, JetFiles::bytes(QDir(dir).filePath(name)));
        return out;
    };
    const auto before = files();
    r = runAdmin({"init-demo", dir});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("文件夹“%1”中已有 kxconfig.ini，没有写入任何文件。\n").arg(dir));
    EXPECT_EQ(r.out, "");
    const QString file = QDir(dir).filePath("KXPUB.MDB");
    r = runAdmin({"init-demo", file});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("“%1”已经存在，但不是文件夹。\n").arg(file));
    EXPECT_EQ(files(), before);

    const auto inTmp = [&tmp](QProcess& p, QProcessEnvironment&) { p.setWorkingDirectory(tmp.path()); };
    ASSERT_EQ(runAdmin({"init-demo", "rel"}, inTmp).code, 0);
    EXPECT_EQ(Read_Ini("DBCONNECT", "DATA_SOURCE", tmp.filePath("rel/kxconfig.ini")),
              QDir::toNativeSeparators(tmp.filePath("rel/KXPUB.MDB")));
}

}  // namespace
}  // namespace ztgl::test
