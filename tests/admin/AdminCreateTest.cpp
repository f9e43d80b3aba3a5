#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include "AccountSetFolder.h"
#include "AdminProcess.h"
#include "operators/SetMima.h"

namespace ztgl {
namespace {

using test::AccountSetFolder;
using test::AdminRun;
using test::runAdmin;

// ztgl-admin on a program folder of the Access kind: KXPUB.MDB, the demo template, kxconfig.ini.
class AdminCreateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
        QFile ini(folder.file(QStringLiteral("kxconfig.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(QStringLiteral("[BASESETUP]\r\nISWLB=0\r\n[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\n"
                                 "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\nDATA_SOURCE=%1\r\nPASSWORD=\r\n"
                                 "PERSIST_SECURITY_INFO=False\r\n")
                      .arg(folder.file(QStringLiteral("KXPUB.MDB")))
                      .toLocal8Bit());
    }

    AdminRun admin(const QStringList& args) {
        return runAdmin(QStringList{QStringLiteral("--dir"), folder.path()} + args);
    }
    QVector<QVector<QVariant>> ztml() const {
        return folder.query(QStringLiteral("KXPUB.MDB"),
                            QStringLiteral("select Id, ZTMC, ZTLJ from ZTML order by Id"));
    }
    QVector<QVariant> defaultUser(const QString& file) const {
        return folder.query(file, QStringLiteral("select Uname, PWD from Users where Id='0'")).value(0);
    }

    AccountSetFolder folder;
};

TEST_F(AdminCreateTest, CreatesAndModifiesASet) {
    AdminRun r = admin({QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral(" 华东公司 "),
                        QStringLiteral("--user"), QStringLiteral("张三"), QStringLiteral("--password"),
                        QStringLiteral("a b")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("已经成功创建新帐套！"))) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("帐套编号：1  数据库：_BK001"))) << r.out.toStdString();
    ASSERT_EQ(ztml().size(), 1);
    EXPECT_EQ(ztml()[0][1].toString(), QStringLiteral("华东公司"));
    EXPECT_EQ(defaultUser(QStringLiteral("_BK001.MDB")).value(0).toString(), QStringLiteral("张三"));
    const QString pwd = defaultUser(QStringLiteral("_BK001.MDB")).value(1).toString();
    EXPECT_EQ(pwd, Set_Mima(QStringLiteral("0a b0")));

    // Without --password the stored password stays.
    r = admin({QStringLiteral("modify"), QStringLiteral("1"), QStringLiteral("--name"),
               QStringLiteral("华东分公司"), QStringLiteral("--user"), QStringLiteral("李四")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("已经成功修改帐套！"))) << r.err.toStdString();
    EXPECT_EQ(ztml()[0][1].toString(), QStringLiteral("华东分公司"));
    EXPECT_EQ(defaultUser(QStringLiteral("_BK001.MDB")).value(0).toString(), QStringLiteral("李四"));
    EXPECT_EQ(defaultUser(QStringLiteral("_BK001.MDB")).value(1).toString(), pwd);

    r = admin(
        {QStringLiteral("modify"), QStringLiteral("1"), QStringLiteral("--password"), QStringLiteral("new")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(defaultUser(QStringLiteral("_BK001.MDB")).value(0).toString(), QStringLiteral("李四"));
    EXPECT_EQ(defaultUser(QStringLiteral("_BK001.MDB")).value(1).toString(),
              Set_Mima(QStringLiteral("0new0")));
}

TEST_F(AdminCreateTest, RefusesWhatTheDialogRefuses) {
    ASSERT_EQ(admin({QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("华东公司"),
                     QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password"),
                     QStringLiteral("p")})
                  .code,
              0);
    AdminRun r = admin({QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("华东公司"),
                        QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password"),
                        QStringLiteral("p")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("已经存在“华东公司”帐套，请重新录入帐套名称！")))
        << r.err.toStdString();

    r = admin({QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("华北公司"),
               QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password"), QString()});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("请录入用户密码，密码不能为空！"))) << r.err.toStdString();

    r = admin({QStringLiteral("modify"), QStringLiteral("9")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("没有找到要修改的帐套信息，请重新选择！")))
        << r.err.toStdString();
    EXPECT_EQ(ztml().size(), 1);
}

TEST_F(AdminCreateTest, BadUsage) {
    for (const QStringList& args :
         {QStringList{QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("x")},
          QStringList{QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("x"),
                      QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password")},
          QStringList{QStringLiteral("modify")},
          QStringList{QStringLiteral("modify"), QStringLiteral("1"), QStringLiteral("2")},
          QStringList{QStringLiteral("script"), QStringLiteral("extra")}}) {
        const AdminRun r = admin(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("usage:"))) << r.err.toStdString();
    }
    EXPECT_TRUE(ztml().isEmpty());
}

TEST_F(AdminCreateTest, OverwritesOnlyWithYes) {
    QFile old(folder.file(QStringLiteral("_BK001.MDB")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    const QStringList create{QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("华东公司"),
                             QStringLiteral("--user"), QStringLiteral("u"),      QStringLiteral("--password"),
                             QStringLiteral("p")};
    AdminRun r = admin(create);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("将要创建的数据库已经存在，是否要继续创建数据库？")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("创建数据库失败！"))) << r.err.toStdString();
    EXPECT_TRUE(ztml().isEmpty());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    old.close();

    r = admin(QStringList{QStringLiteral("--yes")} + create);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(ztml().size(), 1);
}

TEST_F(AdminCreateTest, ScriptPrintsTheStatementsOfANewSqlServerSet) {
    const AdminRun r = admin({QStringLiteral("script")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    const int create =
        lines.indexOf(QStringLiteral("CREATE DATABASE $(DBNAME) ON (NAME = $(DBNAME)_data,FILENAME = "
                                     "'$(DATADIR)$(DBNAME).mdf',SIZE =2MB,MAXSIZE = "
                                     "5MB,FILEGROWTH = 10%) LOG ON (NAME = '$(DBNAME)_log',FILENAME = "
                                     "'$(DATADIR)$(DBNAME).ldf',SIZE =2MB,MAXSIZE = "
                                     "5MB,FILEGROWTH = 5MB)"));
    ASSERT_GE(create, 0) << r.out.left(2000).toStdString();
    EXPECT_EQ(lines.value(create + 1), QStringLiteral("GO"));
    int tables = 0, inserts = 0;
    QString last;
    for (const QString& line : lines) {
        if (line.startsWith(QStringLiteral("CREATE TABLE "))) {
            ++tables;
            last = line;
        } else if (line.startsWith(QStringLiteral("Insert into "))) {
            ++inserts;
            // Each table's rows follow its own CREATE TABLE.
            const QString table = line.mid(12).section(QLatin1Char('('), 0, 0);
            EXPECT_TRUE(last.startsWith(QStringLiteral("CREATE TABLE ") + table + QLatin1Char('(')))
                << line.toStdString();
        }
    }
    EXPECT_GE(tables, 25);
    EXPECT_GT(inserts, 50);
    EXPECT_TRUE(r.out.contains(
        QStringLiteral("Insert into Users(Id,Uname,PWD,RealName,IsAdmin,Disabled,LastLogin,Remark) "
                       "values('0','管理员',''")))
        << r.out.left(3000).toStdString();
    // Nothing was made.
    EXPECT_EQ(
        QDir(folder.path()).entryList({QStringLiteral("*.MDB"), QStringLiteral("*.mdb")}, QDir::Files).size(),
        2);
}

TEST_F(AdminCreateTest, ScriptWithoutTemplateFails) {
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("MWMSD_NULL.mdb"))));
    const AdminRun r = admin({QStringLiteral("script")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("找不到模板数据库："))) << r.err.toStdString();
}

}  // namespace
}  // namespace ztgl
