#include <gtest/gtest.h>

#include "LocalServer.h"
#include "OperatorsFixture.h"
#include "ScriptedCatalogueFixture.h"
#include "operators/ChangePasswordForm.h"
#include "platform/RuntimeError.h"
#include "platform/ShellOpener.h"

namespace ztgl {
namespace {

using test::msgLine;
using test::shownLines;

class RecordingShell final : public ShellOpener {
public:
    bool open(const QString& address) override {
        opened << address;
        return true;
    }
    QStringList opened;
};

class RecordingView final : public LoginForm::View {
public:
    void setFocusTo(LoginForm::Control control) override { focus << control; }
    void loggedIn() override {
        ++loggedInCount;
        if (throwOnLogin)
            throw RuntimeError(91);
    }
    void unload() override { ++unloadCount; }

    QVector<LoginForm::Control> focus;
    int loggedInCount = 0;
    int unloadCount = 0;
    bool throwOnLogin = false;
};

const QString kNoCode = "请输入操作员代码！";
const QString kUnknown = "没有该用户，请重新输入代码……";
const QString kWrongPassword = "用户密码错误！请重新输入……";

// The text of a report up to its label ("GetUserInformation():"), the whole text otherwise.
QStringList labels(const test::RecordingUiPort& port) {
    QStringList out;
    for (const auto& m : port.messages)
        out << (m.text.contains("():") ? m.text.section("():", 0, 0) + "():" : m.text);
    return out;
}

class LoginFormTest : public test::OperatorsFixture {
protected:
    void SetUp() override {
        OperatorsFixture::SetUp();
        form.setView(&view);
    }
    bool login(const QString& code, const QString& password) {
        form.userName = code;
        form.password = password;
        return form.cmdOK_Click();
    }

    RecordingShell shell;
    RecordingView view;
    LoginForm form{&shell};
};

// The code is lower-cased for the look-up and for the encoding; the database compares without
// regard to case; the initial operator admin has an empty password.
TEST_F(LoginFormTest, OperatorsLogIn) {
    QVector<Operator> rows = operators();
    rows << Operator{"1", "admin", QString()} << Operator{"1", "ADMIN", QString()}
         << Operator{"6", "MiXeD", "Secret"};
    for (const Operator& o : rows) {
        SCOPED_TRACE(o.code.toStdString());
        view.loggedInCount = 0;
        EXPECT_TRUE(login(o.code, o.password));
        EXPECT_EQ(view.loggedInCount, 1);
        EXPECT_EQ(gOperator.Id, o.id);
        EXPECT_EQ(gOperator.UserName, o.code.toLower());
        EXPECT_EQ(gOperator.UserPwds, LoginForm::EncodedPassword(o.code, o.password));
    }
    EXPECT_EQ(LoginForm::EncodedPassword("AdMin", QString()), Set_Mima("adminadmin"));
    EXPECT_TRUE(port.messages.isEmpty());
}

// Each refusal: its message, the focus, and what the attempt left in gOperator.
TEST_F(LoginFormTest, RefusedAttempts) {
    const QString noPwd = msgLine(kWrongPassword, MsgIcon::Exclamation);
    const QString unknown = msgLine(kUnknown, MsgIcon::Exclamation);
    // clang-format off
    // operatorId "9": gOperator untouched, so no query ran.
    const struct { const char* code; const char* password; QString message; LoginForm::Control focus;
                   const char* operatorId; } cases[] = {
        // The password is taken exactly as typed; the look-up literal is trimmed, the encoding is not;
        // a Null password never matches.
        {"mixed", "secret", noPwd, LoginForm::txtPwd, "6"}, {"mixed", "SECRET", noPwd, LoginForm::txtPwd, "6"},
        {"mixed", " Secret", noPwd, LoginForm::txtPwd, "6"}, {"mixed", "Secret ", noPwd, LoginForm::txtPwd, "6"},
        {"mixed", "", noPwd, LoginForm::txtPwd, "6"}, {" admin", "", noPwd, LoginForm::txtPwd, "1"},
        {"nopwd", "", noPwd, LoginForm::txtPwd, "5"}, {"nopwd", "x", noPwd, LoginForm::txtPwd, "5"},
        {"", "x", msgLine(kNoCode, MsgIcon::Question), LoginForm::txtUserName, "9"},
        {"     ", "x", msgLine(kNoCode, MsgIcon::Question), LoginForm::txtUserName, "9"},
        {"nobody", "", unknown, LoginForm::txtUserName, "-1"}, {"admin2", "", unknown, LoginForm::txtUserName, "-1"},
        {"adm'in", "", unknown, LoginForm::txtUserName, "-1"}, {"管理员", "", unknown, LoginForm::txtUserName, "-1"},
        {"\t", "", unknown, LoginForm::txtUserName, "-1"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.code) + "/" + c.password);
        port.messages.clear();
        view.focus.clear();
        gOperator = OperatorInfo{"9", "before", QString()};
        EXPECT_FALSE(login(QString::fromUtf8(c.code), QString::fromUtf8(c.password)));
        EXPECT_EQ(shownLines(port), QStringList{c.message});
        EXPECT_EQ(view.focus, QVector<LoginForm::Control>{c.focus});
        EXPECT_EQ(gOperator.Id, QString::fromLatin1(c.operatorId));
    }
    EXPECT_EQ(view.loggedInCount, 0);
}

// The look-up's troubles are reported first; the operator is then found without a password that
// could match (a look-up that fails: ClosedConnectionAndTheButtonsOwnTrap).
TEST_F(LoginFormTest, OperatorTableTroubles) {
    const QString encoded = GetSqlVal(Set_Mima("adminadmin"));
    // clang-format off
    const struct { const char* name; QStringList setup; QStringList messages; const char* operatorId; } cases[] = {
        {"no password column", {"drop table ZTUsers", "create table ZTUsers (Id TEXT(10), UserName TEXT(30))",
         "insert into ZTUsers (Id, UserName) values ('1', 'admin')"}, {"GetUserInformation():", kWrongPassword}, "1"},
        // Numbers and Null as Id, as a table made elsewhere might hold them.
        {"other column types", {"drop table ZTUsers", "create table ZTUsers (Id LONG, UserName TEXT(30), UserPwds MEMO)",
         "insert into ZTUsers (Id, UserName, UserPwds) values (7, 'admin', " + encoded + ")"}, {}, "7"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        port.messages.clear();
        for (const QString& sql : c.setup)
            execute(sql);
        EXPECT_EQ(login("admin", QString()), c.messages.isEmpty());
        EXPECT_EQ(labels(port), c.messages);
        EXPECT_EQ(gOperator.Id, QString::fromLatin1(c.operatorId));
    }
    execute("insert into ZTUsers (Id, UserName, UserPwds) values (null, 'ghost', " +
            GetSqlVal(Set_Mima("ghostghost")) + ")");
    EXPECT_TRUE(login("ghost", QString()));
    EXPECT_EQ(gOperator.Id, QString());
}

TEST_F(LoginFormTest, ClosedConnectionAndTheButtonsOwnTrap) {
    const QString objectNotSet = RuntimeError::standardText(RuntimeError::ObjectNotSet);
    view.throwOnLogin = true;
    EXPECT_FALSE(login("admin", QString()));
    EXPECT_EQ(shownLines(port), QStringList{msgLine("cmdOK_Click():" + objectNotSet + "\r\ncmdOK_Click")});

    port.messages.clear();
    form.CmdCancel_Click();  // closes the shared connection
    EXPECT_FALSE(gConn);
    EXPECT_EQ(view.unloadCount, 1);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(login("admin", QString()));
    EXPECT_EQ(labels(port), (QStringList{"Open_Recordset():", "GetUserInformation():", kUnknown}));
    EXPECT_EQ(gOperator.Id, "-1");
}

// The statements as a SQL Server sees them: the look-up by the lower-cased code as a text literal,
// then the password change's query and update on ZTUsers (the record of the change has its own tests).
using OperatorStatements = test::ScriptedCatalogueFixture;
TEST_F(OperatorStatements, LookUpAndPasswordChangeAsWritten) {
    const QString old = Set_Mima("o'brienpwo'brien");
    server.onQuery("^select \\* from ZTUsers where UserName=",
                   test::ScriptedServer::rows({"Id", "UserName", "UserPwds"}, {{"7", "o'brien", old}}));
    server.onQuery("^select \\* from ZTUsers where id = ", test::ScriptedServer::rows({"Id"}, {{"7"}}));
    LoginForm form(nullptr);
    form.userName = "O'Brien";
    form.password = "pw";
    EXPECT_TRUE(form.cmdOK_Click());
    EXPECT_EQ(gOperator.Id, "7");
    ChangePasswordForm change;
    change.Text3Text = "pw";
    change.Text1Text = change.Text2Text = "Neu";
    EXPECT_TRUE(change.Cmd_Ok());
    EXPECT_EQ(server.queries(),
              (QStringList{"select * from ZTUsers where UserName='o''brien'",
                           "select * from ZTUsers where id = '7' and UserPwds = '" + old + "'",
                           "select UserPwds from ZTUsers where id = '7'"}));
    EXPECT_EQ(server.executed(), QStringList{"UPDATE ZTUSERS SET USERPWDS = '" +
                                             Set_Mima("o'brienNeuo'brien") + "' WHERE ID = '7'"});
    EXPECT_EQ(shownLines(port), QStringList{msgLine("修改密码成功！")});
}

// The texts, and the link that opens the web site the configuration names (the buttons' captions,
// the link's tip and the default address: FrmZTLoginTest.ShowsItsTextsAtTheirPlaces).
TEST_F(LoginFormTest, TextsOfTheDialogAndItsLink) {
    gTitle = "Zavrin行业管理软件之商业进销存-帐套管理";
    form.Form_Load(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    // clang-format off
    const std::pair<LoginForm::Control, QString> texts[] = {
        {LoginForm::Label1_0, "用户代码："}, {LoginForm::Label1_1, "登录密码："}, {LoginForm::Label1_3, "当前时间："},
        {LoginForm::Label1_4, "服 务 器："}, {LoginForm::Label2, "2024/03/05 14:07"}, {LoginForm::Label6, "[登录信息]"},
        {LoginForm::Label10, "当前版本："}, {LoginForm::Label8, "初始用户代码：admin  登录密码：空"},
        {LoginForm::Label4, QString()},
        {LoginForm::Label7, QStringLiteral("V%1.%2.%3").arg(ZTGL_VERSION_MAJOR).arg(ZTGL_VERSION_MINOR).arg(ZTGL_VERSION_PATCH)},
    };
    // clang-format on
    for (const auto& [control, text] : texts)
        EXPECT_EQ(form.text(control), text) << control;
    EXPECT_EQ(form.caption(), gTitle);
    EXPECT_EQ(form.pictureKey(), "201");

    folder.writeConfig({"[BASESETUP]", "WEBSITE=https://example.org/ztgl"});
    for (ShellOpener* opener : {static_cast<ShellOpener*>(&shell), static_cast<ShellOpener*>(nullptr)}) {
        LoginForm other(opener);  // without a shell: nothing to open with, nothing happens
        other.Form_Load(QDateTime::currentDateTime());
        other.Label4_DblClick();
    }
    EXPECT_EQ(shell.opened, QStringList{"https://example.org/ztgl"});
}

// Single-user edition: the server row is hidden, the heading moves down by half its height, the
// time row by its own height. Network edition: the design as it is, with the server address.
TEST_F(LoginFormTest, LayoutOfBothEditions) {
    gServerIP = FixedText("192.168.1.10", 20);
    const style::TwipsRect time = LoginForm::designRect(LoginForm::Label1_3);
    for (const bool network : {false, true}) {
        SCOPED_TRACE(network ? "network" : "single-user");
        gIsNetwork = network;
        LoginForm f(&shell);
        f.Form_Load(QDateTime::currentDateTime());
        if (network) {
            EXPECT_EQ(f.text(LoginForm::Label9), "192.168.1.10        ");
        }
        for (int a = 0; a < LoginForm::ControlCount; ++a) {
            const auto control = LoginForm::Control(a);
            style::TwipsRect expected = LoginForm::designRect(control);
            if (!network && control == LoginForm::Label6)
                expected.top += expected.height / 2;
            if (!network && (control == LoginForm::Label1_3 || control == LoginForm::Label2))
                expected.top = time.bottom();
            EXPECT_EQ(f.rect(control), expected) << a;
            const bool shown = network || (control != LoginForm::Label9 && control != LoginForm::Label1_4);
            EXPECT_EQ(f.isVisible(control), shown) << a;
        }
    }
}

// Network edition: a correct password is then confirmed by the server; its result decides, by
// its first three characters.
TEST_F(LoginFormTest, UserCheckInTheNetworkEdition) {
    const QString network = "登录失败，网络连接出错！";
    // clang-format off
    const struct { const char* name; QString check; QString script; QString message; /* "": gets in */ } cases[] = {
        {"accepted", "100", {}, {}}, {"empty result", {}, {}, {}}, {"any other code", "1000", {}, {}},
        {"logged in elsewhere", "102/财务部-02", {}, "登录失败，用户已在 “财务部-02” 登录！"},
        {"102 alone", "102", {}, "登录失败，用户已在 “” 登录！"}, {"not completed", "105", {}, network},
        {"no Failure: first", "100", "PDUSERS: send Closed$:", network},
    };
    // clang-format on
    gIsNetwork = true;
    port.otherModals = test::RecordingUiPort::runHandshakes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        port.messages.clear();
        view.loggedInCount = 0;
        test::LocalServer server(QString(), c.script, c.check);
        server.aimGlobals();
        EXPECT_EQ(login("admin", QString()), c.message.isEmpty());
        EXPECT_EQ(view.loggedInCount, c.message.isEmpty() ? 1 : 0);
        EXPECT_EQ(server.messages().value(0), "<- PDUSERS:1/admin");
        EXPECT_EQ(shownLines(port), c.message.isEmpty() ? QStringList() : QStringList{msgLine(c.message)});
    }
    // "000": the server cannot be reached; the window shows nothing itself.
    port.messages.clear();
    gServerPort = FixedText(QString::number(test::LocalServer::refusedPort()), 5);
    EXPECT_FALSE(login("admin", QString()));
    EXPECT_EQ(shownLines(port), QStringList{msgLine(network)});
    // A wrong password never reaches the server.
    EXPECT_EQ(port.modalForms.size(), 8);
    EXPECT_FALSE(login("admin", "x"));
    EXPECT_EQ(port.modalForms.size(), 8);
}

}  // namespace
}  // namespace ztgl
