// ztgl-admin passwd, and the program's start-up it shares with every command, run as the real
// program on a demo folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>

#include "ProgramFolder.h"
#include "operators/LoginForm.h"
#include "process/IniFile.h"

namespace ztgl::test {
namespace {

const QString kDone = "修改密码成功！\n";

class AdminPasswdTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()) << folder.error(); }
    AdminRun change(const QString& code, const QString& oldPassword, const QString& newPassword) const {
        return folder.admin({"passwd", "--user", code, "--old", oldPassword, "--new", newPassword});
    }
    QString stored(const QString& code) const {
        return folder.query("KXPUB.MDB", "select UserPwds from ZTUsers where UserName = " + GetSqlVal(code))
            .value(0);
    }

    AdminFolder folder;
};

// In order: the dialog's refusals change nothing; then changes, Chinese, quotes and 30 characters included.
TEST_F(AdminPasswdTest, ChangesWhatTheDialogChangesAndRefusesWhatItRefuses) {
    const QString code = "张'三";
    folder.execute("KXPUB.MDB",
                   QStringLiteral("insert into ZTUsers (Id, UserName, UserPwds) values ('2', %1, %2)")
                       .arg(GetSqlVal(code), GetSqlVal(LoginForm::EncodedPassword(code, "旧\"密码"))));
    const QString thirty = "一二三四五六七八九十" + QString(20, 'x');
    const struct {
        QString code, oldPassword, newPassword;
        int exit;
        QString err;
        QString user, password;  // the user's password afterwards
    } cases[] = {
        {"", "", "x", 1, "请输入操作员代码！\n", "admin", ""},
        {"admin", "wrong", "x", 1, "用户密码错误！请重新输入……\n", "admin", ""},
        {"admin", "", QString(31, 'p'), 1, "操作员代码和密码最多 30 个字符。\n", "admin", ""},
        {"admin", "", "Neu'1", 0, kDone, "admin", "Neu'1"},
        {"ADMIN", "Neu'1", "", 0, kDone, "admin", ""},
        {"admin", "", QString(30, 'p'), 0, kDone, "admin", QString(30, 'p')},
        {code, "旧\"密码", thirty, 0, kDone, code, thirty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code + " " + c.newPassword);
        const AdminRun r = change(c.code, c.oldPassword, c.newPassword);
        EXPECT_EQ(r.code, c.exit);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(stored(c.user), LoginForm::EncodedPassword(c.user, c.password));
    }
}

// ztgl-admin goes through the program's own start-up: the same answers to a broken folder.
TEST(AdminStartupTest, SameAnswersAsTheProgram) {
    const struct {
        const char* name;
        std::function<void(const AdminFolder&)> spoil;
        QString err;  // the whole of stderr, or its start when `whole` is false
        bool whole;
    } cases[] = {
        // clang-format off
        {"no configuration", [](const AdminFolder& f) { QFile::remove(f.file("kxconfig.ini")); }, "配置文件丢失,请运行主程序重新配置!\n", true},
        {"a folder in place of the configuration", [](const AdminFolder& f) { QFile::remove(f.file("kxconfig.ini")), QDir().mkdir(f.file("kxconfig.ini")); }, "配置文件丢失,请运行主程序重新配置!\n", true},
        {"no manager's database", [](const AdminFolder& f) { QFile::remove(f.file("KXPUB.MDB")); }, "Open_Connect():", false},
        // The program ends without a word; the console says why.
        {"unknown kind", [](const AdminFolder& f) { Write_Ini("DBCONNECT", "DBTYPE", "[microsoft access]", f.file("kxconfig.ini")); },
         "kxconfig.ini 的 [DBCONNECT] 中 DBTYPE 是“[microsoft access]”，不是 [Microsoft Access] 或 [Microsoft SQL Server]，不能继续。\n", true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const AdminFolder folder;
        c.spoil(folder);
        const AdminRun r = folder.expect({"passwd", "--user", "admin", "--old", "", "--new", "x"}, 1, c.err);
        EXPECT_EQ(c.whole ? r.err : r.err.left(c.err.size()), c.err);
    }
}

}  // namespace
}  // namespace ztgl::test
