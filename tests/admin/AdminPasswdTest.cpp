// ztgl-admin passwd, run as the real program on a demo folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "RecordingUiPort.h"
#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "operators/LoginForm.h"
#include "demo/DemoFolder.h"
#include "process/Globals.h"

namespace ztgl::test {
namespace {

const QString kDone = QStringLiteral("修改密码成功！\n");

class AdminPasswdTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        QString error;
        ASSERT_TRUE(DemoFolder::build(tmp.path(), &error)) << error.toStdString();
    }
    void TearDown() override { ResetGlobals(); }

    AdminRun passwd(const QStringList& args) const {
        return runAdmin(QStringList{QStringLiteral("--dir"), tmp.path(), QStringLiteral("passwd")} + args);
    }
    AdminRun change(const QString& code, const QString& oldPassword, const QString& newPassword) const {
        return passwd({QStringLiteral("--user"), code, QStringLiteral("--old"), oldPassword,
                       QStringLiteral("--new"), newPassword});
    }
    QString manager() const { return tmp.filePath(QStringLiteral("KXPUB.MDB")); }
    QString connectString() const {
        DBProfile profile;
        profile.Provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
        profile.DataSource = manager();
        return Build_ConnectString(kAccess, profile);
    }
    void execute(const QString& sql) const {
        ado::Connection conn;
        conn.setConnectionString(connectString());
        conn.Open();
        conn.Execute(sql);
        conn.Close();
    }
    QString stored(const QString& code) const {
        ado::Connection conn;
        conn.setConnectionString(connectString());
        conn.Open();
        ado::Recordset rs;
        rs.Open(QStringLiteral("select UserPwds from ZTUsers where UserName = ") + GetSqlVal(code), conn);
        const QString value = rs.Eof() ? QStringLiteral("(none)") : rs.Fields(0).text();
        conn.Close();
        return value;
    }

    QTemporaryDir tmp;
    RecordingUiPort port;
};

TEST_F(AdminPasswdTest, ChangesThePasswordAndTheNewOneLogsIn) {
    AdminRun r = change(QStringLiteral("admin"), QString(), QStringLiteral("Neu'1"));
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, kDone);
    EXPECT_EQ(stored(QStringLiteral("admin")),
              LoginForm::EncodedPassword(QStringLiteral("admin"), QStringLiteral("Neu'1")));

    r = change(QStringLiteral("ADMIN"), QStringLiteral("Neu'1"), QString());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(stored(QStringLiteral("admin")),
              LoginForm::EncodedPassword(QStringLiteral("admin"), QString()));
}

TEST_F(AdminPasswdTest, ChineseQuotesAndThirtyCharacters) {
    const QString code = QStringLiteral("张'三");
    execute(
        QStringLiteral("insert into ZTUsers (Id, UserName, UserPwds) values ('2', %1, %2)")
            .arg(GetSqlVal(code), GetSqlVal(LoginForm::EncodedPassword(code, QStringLiteral("旧\"密码")))));
    const QString thirty = QStringLiteral("一二三四五六七八九十") + QString(20, QLatin1Char('x'));
    const AdminRun r = change(code, QStringLiteral("旧\"密码"), thirty);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(stored(code), LoginForm::EncodedPassword(code, thirty));
}

TEST_F(AdminPasswdTest, TheDialogsRefusals) {
    const QString before = stored(QStringLiteral("admin"));
    struct Case {
        QString code, oldPassword;
        QString message;
    };
    const Case cases[] = {
        {QString(), QString(), QStringLiteral("请输入操作员代码！\n")},
        {QStringLiteral("   "), QString(), QStringLiteral("请输入操作员代码！\n")},
        {QStringLiteral("nobody"), QString(), QStringLiteral("没有该用户，请重新输入代码……\n")},
        {QStringLiteral("admin"), QStringLiteral("wrong"), QStringLiteral("用户密码错误！请重新输入……\n")},
    };
    for (const Case& c : cases) {
        const AdminRun r = change(c.code, c.oldPassword, QStringLiteral("x"));
        EXPECT_EQ(r.code, 1) << c.code.toStdString();
        EXPECT_EQ(r.err, c.message);
    }
    EXPECT_EQ(stored(QStringLiteral("admin")), before);
}

TEST_F(AdminPasswdTest, MoreThanTheBoxesTakeIsRefused) {
    const QString before = stored(QStringLiteral("admin"));
    const AdminRun r = change(QStringLiteral("admin"), QString(), QString(31, QLatin1Char('p')));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("操作员代码和密码最多 30 个字符。\n"));
    EXPECT_EQ(stored(QStringLiteral("admin")), before);
    EXPECT_EQ(change(QStringLiteral("admin"), QString(), QString(30, QLatin1Char('p'))).code, 0);
}

// A statement that fails is reported, and the command does not claim success.
TEST_F(AdminPasswdTest, FailedUpdateIsAFailure) {
    execute(
        QStringLiteral("CREATE TRIGGER NoChange BEFORE UPDATE ON ZTUsers BEGIN "
                       "SELECT RAISE(ABORT, 'read only'); END"));
    const AdminRun r = change(QStringLiteral("admin"), QString(), QStringLiteral("x"));
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("ExecuteNonQuerySql():"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("新密码没有存入数据库。\n"))) << r.err.toStdString();
    EXPECT_EQ(stored(QStringLiteral("admin")),
              LoginForm::EncodedPassword(QStringLiteral("admin"), QString()));
}

TEST_F(AdminPasswdTest, BadUsage) {
    const QStringList cases[] = {
        {},
        {QStringLiteral("--user"), QStringLiteral("admin"), QStringLiteral("--old"), QString()},
        {QStringLiteral("--user"), QStringLiteral("admin"), QStringLiteral("--new"), QStringLiteral("x")},
        {QStringLiteral("--user"), QStringLiteral("admin"), QStringLiteral("--old"), QString(),
         QStringLiteral("--new")},
        {QStringLiteral("--user"), QStringLiteral("admin"), QStringLiteral("--old"), QString(),
         QStringLiteral("--new"), QStringLiteral("x"), QStringLiteral("extra")},
    };
    for (const QStringList& args : cases) {
        const AdminRun r = passwd(args);
        EXPECT_EQ(r.code, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("passwd --user CODE --old OLD --new NEW")))
            << r.err.toStdString();
    }
}

TEST_F(AdminPasswdTest, FolderWithoutItsConfigurationOrDatabase) {
    QFile::remove(tmp.filePath(QStringLiteral("kxconfig.ini")));
    AdminRun r = change(QStringLiteral("admin"), QString(), QStringLiteral("x"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("配置文件丢失,请运行主程序重新配置!\n"));

    QTemporaryDir other;
    ASSERT_TRUE(DemoFolder::build(other.path(), nullptr));
    QFile::remove(other.filePath(QStringLiteral("KXPUB.MDB")));
    r = runAdmin({QStringLiteral("--dir"), other.path(), QStringLiteral("passwd"), QStringLiteral("--user"),
                  QStringLiteral("admin"), QStringLiteral("--old"), QString(), QStringLiteral("--new"),
                  QStringLiteral("x")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("Open_Connect():"))) << r.err.toStdString();
}

}  // namespace
}  // namespace ztgl::test
