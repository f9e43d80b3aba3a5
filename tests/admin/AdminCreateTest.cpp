// ztgl-admin create / modify / script, run as the real program on a demo program folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "ProgramFolder.h"
#include "operators/SetMima.h"

namespace ztgl::test {
namespace {

class AdminCreateTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()) << folder.error(); }
    QStringList ztml() const {
        return folder.query("KXPUB.MDB", "select Id, ZTMC, ZTLJ from ZTML order by Id");
    }
    // Name and stored password of the set's default user.
    QString defaultUser() const {
        return folder.query("_BK001.MDB", "select Uname, PWD from Users where Id='0'").value(0);
    }

    AdminFolder folder;
    const QStringList create{"create", "--name", "华东公司", "--user", "u", "--password", "p"};
};

TEST_F(AdminCreateTest, CreatesAndModifiesASet) {
    const AdminRun r = folder.expect(
        {"create", "--name", " 华东公司 ", "--user", "张三", "--password", "a b"}, 0, "已经成功创建新帐套！");
    EXPECT_TRUE(r.out.contains("帐套编号：1  数据库：_BK001")) << r.out;
    EXPECT_EQ(ztml(), QStringList{"1|华东公司|_BK001"});
    EXPECT_EQ(defaultUser(), "张三|" + Set_Mima("0a b0"));
    // Without --password the stored password stays.
    folder.expect({"modify", "1", "--name", "华东分公司", "--user", "李四"}, 0, "已经成功修改帐套！");
    EXPECT_EQ(ztml(), QStringList{"1|华东分公司|_BK001"});
    EXPECT_EQ(defaultUser(), "李四|" + Set_Mima("0a b0"));
    folder.expect({"modify", "1", "--password", "new"}, 0);
    EXPECT_EQ(defaultUser(), "李四|" + Set_Mima("0new0"));
}

TEST_F(AdminCreateTest, RefusesWhatTheDialogRefuses) {
    folder.expect(create, 0);
    folder.expect(create, 1, "已经存在“华东公司”帐套，请重新录入帐套名称！");
    folder.expect({"create", "--name", "华北公司", "--user", "u", "--password", ""}, 1,
                  "请录入用户密码，密码不能为空！");
    folder.expect({"modify", "9"}, 1, "没有找到要修改的帐套信息，请重新选择！");
    EXPECT_EQ(ztml().size(), 1);
}

TEST_F(AdminCreateTest, ScriptPrintsTheStatementsOfANewSqlServerSet) {
    const AdminRun r = folder.expect({"script"}, 0);
    const QStringList lines = r.out.split('\n');
    const int create = lines.indexOf(
        "CREATE DATABASE $(DBNAME) ON (NAME = $(DBNAME)_data,FILENAME = '$(DATADIR)$(DBNAME).mdf',SIZE =2MB,"
        "MAXSIZE = 5MB,FILEGROWTH = 10%) LOG ON (NAME = '$(DBNAME)_log',FILENAME = '$(DATADIR)$(DBNAME).ldf',"
        "SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 5MB)");
    ASSERT_GE(create, 0) << r.out.left(2000);
    EXPECT_EQ(lines.value(create + 1), "GO");
    // Then the template's statements, each followed by GO.
    const int goods = lines.indexOf(QRegularExpression("^CREATE TABLE Goods\\(.*"));
    ASSERT_GT(goods, create);
    EXPECT_EQ(lines.value(goods + 1), "GO");
    EXPECT_TRUE(
        r.out.contains("Insert into Users(Id,Uname,PWD,RealName,IsAdmin,Disabled,LastLogin,Remark) "
                       "values('0','管理员',''"));
    EXPECT_EQ(QDir(folder.path()).entryList({"*.MDB", "*.mdb"}, QDir::Files).size(), 2) << "nothing was made";

    ASSERT_TRUE(QFile::remove(folder.file("MWMSD_NULL.mdb")));
    folder.expect({"script"}, 1, "找不到模板数据库：");
}

}  // namespace
}  // namespace ztgl::test
