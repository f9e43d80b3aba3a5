// ztgl-admin's usage: asked for, it goes to stdout with exit 0; after bad usage, to stderr with 2,
// before anything in the program folder is touched.
#include <gtest/gtest.h>

#include "ProgramFolder.h"

namespace ztgl::test {
namespace {

const QString kUsage = "usage: ztgl-admin [--dir PROGRAM_FOLDER] [--yes] [--timeout SECONDS] COMMAND ...\n";

TEST(AdminUsageTest, HelpVersionAndBadUsage) {
    const struct {
        QStringList args;
        int code;
        QString out;  // the start of stdout; none when empty
        QString err;  // the start of stderr; none when empty
    } cases[] = {
        {{"--help"}, 0, kUsage, ""},
        {{"--dir", "/nowhere", "--help"}, 0, kUsage, ""},
        {{"list", "--help"}, 0, "usage: ztgl-admin [--dir PROGRAM_FOLDER] list\n", ""},
        {{"disable", "-h"}, 0, "usage: ztgl-admin [--dir PROGRAM_FOLDER] disable ID [--yes]\n", ""},
        {{"--version"}, 0, "ztgl-admin 1.0.0\n", ""},
        {{}, 2, "", kUsage},
        {{"--dir"}, 2, "", kUsage},
        {{"--timeout", "0", "list"}, 2, "", kUsage},
        {{"nosuch"}, 2, "", "未知的命令：nosuch\n" + kUsage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const AdminRun r = runAdmin(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(c.out.isEmpty() ? r.out : r.out.left(c.out.size()), c.out);
        EXPECT_EQ(c.err.isEmpty() ? r.err : r.err.left(c.err.size()), c.err);
    }
    // The whole usage names every command.
    const AdminRun help = runAdmin({"--help"});
    for (const char* command : {"list", "create", "modify", "disable", "enable", "upgrade", "passwd",
                                "script", "init-demo", "import", "backup", "restore", "retire", "log"})
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  ") + command)) << command;
}

// Every command's bad usage on a folder with a set: its own usage line, and the folder unchanged.
TEST(AdminUsageTest, BadUsageOfEachCommand) {
    AdminFolder folder;
    ASSERT_EQ(folder.create("甲公司"), "1");
    const auto state = [&] { return folder.query("KXPUB.MDB", "select * from ZTML") + folder.logActions(); };
    const QStringList before = state();
    const struct {
        QStringList args;
        QString usage;  // a part of the usage line that follows
    } cases[] = {
        {{"list", "x"}, "list"},
        {{"disable"}, "disable ID"},
        {{"enable", "1", "2"}, "enable ID"},
        {{"upgrade", "now"}, "upgrade"},
        {{"create", "--name", "x"}, "create --name"},
        {{"create", "--name", "x", "--user", "u", "--password"}, "create --name"},
        {{"modify"}, "modify ID"},
        {{"script", "extra"}, "script"},
        {{"init-demo"}, "init-demo [--network] DIR"},
        {{"init-demo", "--force"}, "init-demo [--network] DIR"},
        {{"passwd"}, "passwd --user CODE --old OLD --new NEW"},
        {{"passwd", "--user", "admin", "--old", ""}, "passwd --user CODE --old OLD --new NEW"},
        {{"passwd", "--user", "admin", "--new", "x"}, "passwd --user CODE --old OLD --new NEW"},
        {{"passwd", "--user", "admin", "--old", "", "--new"}, "passwd --user CODE --old OLD --new NEW"},
        {{"passwd", "--user", "admin", "--old", "", "--new", "x", "extra"},
         "passwd --user CODE --old OLD --new NEW"},
        {{"backup"}, "backup"},
        {{"backup", "1", "--all"}, "backup"},
        {{"backup", "--all", "--keep", "0"}, "backup"},
        {{"restore"}, "restore FILE"},
        {{"retire", "1", "2"}, "retire ID"},
        {{"log", "--since", "2024-13-01"}, "log"},
    };
    for (const auto& c : cases)
        folder.expect(c.args, 2, "usage: ztgl-admin [--dir PROGRAM_FOLDER] " + c.usage);
    EXPECT_EQ(state(), before) << "nothing was written";
}

}  // namespace
}  // namespace ztgl::test
