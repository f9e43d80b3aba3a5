// ztgl-admin's usage: asked for, it goes to stdout with exit 0; after bad usage, to stderr with 2.
#include <gtest/gtest.h>

#include "AdminProcess.h"

namespace ztgl::test {
namespace {

const QString kUsage = QStringLiteral("usage: ztgl-admin [--dir PROGRAM_FOLDER] [--yes] [--timeout SECONDS] COMMAND ...\n");

TEST(AdminUsageTest, HelpVersionAndBadUsage) {
    const struct {
        QStringList args;
        int code;
        QString out;  // the start of stdout
        QString err;  // the start of stderr
    } cases[] = {
        {{"--help"}, 0, kUsage, ""},
        {{"-h"}, 0, kUsage, ""},
        {{"--dir", "/nowhere", "--help"}, 0, kUsage, ""},
        {{"list", "--help"}, 0, "usage: ztgl-admin [--dir PROGRAM_FOLDER] list\n", ""},
        {{"disable", "-h"}, 0, "usage: ztgl-admin [--dir PROGRAM_FOLDER] disable ID [--yes]\n", ""},
        {{"--version"}, 0, "ztgl-admin 1.0.0\n", ""},
        {{}, 2, "", kUsage},
        {{"--dir"}, 2, "", kUsage},
        {{"nosuch"}, 2, "", QStringLiteral("未知的命令：nosuch\n") + kUsage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const AdminRun r = runAdmin(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out.left(c.out.size()), c.out) << r.out.toStdString();
        EXPECT_EQ(r.err.left(c.err.size()), c.err) << r.err.toStdString();
        EXPECT_EQ(r.out.isEmpty(), c.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(r.err.isEmpty(), c.err.isEmpty()) << r.err.toStdString();
    }
    // The whole usage names every command.
    const AdminRun help = runAdmin({QStringLiteral("--help")});
    for (const char* command :
         {"list", "create", "modify", "disable", "enable", "upgrade", "passwd", "script", "init-demo", "import",
          "backup", "restore", "retire", "log"})
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  ") + QLatin1String(command))) << command;
}

}  // namespace
}  // namespace ztgl::test
