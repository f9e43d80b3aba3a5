// The statements the login sends, as a SQL Server sees them.
#include <gtest/gtest.h>

#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "db/PubSql.h"
#include "operators/LoginForm.h"
#include "operators/SetMima.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

class LoginStatementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gDBType = kSqlServer;
        gConnectString = QStringLiteral(
            "Provider=SQLOLEDB.1;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=MAIN;"
            "Data Source=SRV");
        ASSERT_EQ(Open_Connect(), 1);
    }
    void TearDown() override { ResetGlobals(); }

    test::RecordingUiPort port;
    test::ScriptedServer server;
};

TEST_F(LoginStatementTest, LooksTheOperatorUpByTheLowerCasedCodeAsATextLiteral) {
    const QString stored = Set_Mima(QStringLiteral("o'brien") + QStringLiteral("pw") + QStringLiteral("o'brien"));
    server.onQuery(QStringLiteral("^select \\* from ZTUsers where UserName="),
                   test::ScriptedServer::rows({QStringLiteral("Id"), QStringLiteral("UserName"),
                                               QStringLiteral("UserPwds")},
                                              {{QStringLiteral("7"), QStringLiteral("o'brien"), stored}}));
    LoginForm form(nullptr);
    form.userName = QStringLiteral("O'Brien");
    form.password = QStringLiteral("pw");
    EXPECT_TRUE(form.cmdOK_Click());
    EXPECT_EQ(server.queries(), QStringList{QStringLiteral("select * from ZTUsers where UserName='o''brien'")});
    EXPECT_EQ(gOperator.Id, QStringLiteral("7"));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(LoginStatementTest, WrongPasswordAfterTheLookUp) {
    server.onQuery(QStringLiteral("^select \\* from ZTUsers where UserName="),
                   test::ScriptedServer::rows({QStringLiteral("Id"), QStringLiteral("UserName"),
                                               QStringLiteral("UserPwds")},
                                              {{QStringLiteral("1"), QStringLiteral("admin"),
                                                Set_Mima(QStringLiteral("adminadmin"))}}));
    LoginForm form(nullptr);
    form.userName = QStringLiteral("admin");
    form.password = QStringLiteral("x");
    EXPECT_FALSE(form.cmdOK_Click());
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("用户密码错误！请重新输入……"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
}

}  // namespace
}  // namespace ztgl
