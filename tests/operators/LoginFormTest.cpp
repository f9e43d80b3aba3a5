#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>

#include "LocalServer.h"
#include "OperatorsFixture.h"
#include "QtPrinters.h"
#include "ado/Connection.h"
#include "operators/LoginForm.h"
#include "operators/SetMima.h"
#include "platform/RuntimeError.h"
#include "platform/ShellOpener.h"

namespace ztgl {
namespace {

using test::ShownMessage;

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

void expectMessage(const ShownMessage& m, const QString& text, MsgIcon icon) {
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, QStringLiteral("提示信息"));
    EXPECT_EQ(m.icon, icon);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
}

const QString kNoCode = QStringLiteral("请输入操作员代码！");
const QString kUnknown = QStringLiteral("没有该用户，请重新输入代码……");
const QString kWrongPassword = QStringLiteral("用户密码错误！请重新输入……");

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
    // The text Set_Mima and friends give when an operation on a closed connection is tried.
    static QString objectNotSetText() { return RuntimeError::standardText(RuntimeError::ObjectNotSet); }

    RecordingShell shell;
    RecordingView view;
    LoginForm form{&shell};
};

TEST_F(LoginFormTest, InitialOperatorLogsInWithAnEmptyPassword) {
    EXPECT_TRUE(login(QStringLiteral("admin"), QString()));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(view.loggedInCount, 1);
    EXPECT_EQ(gOperator.Id, QStringLiteral("1"));
    EXPECT_EQ(gOperator.UserName, QStringLiteral("admin"));
    EXPECT_EQ(gOperator.UserPwds, Set_Mima(QStringLiteral("adminadmin")));
}

TEST_F(LoginFormTest, EveryAwkwardOperatorLogsIn) {
    for (const auto& o : operators()) {
        SCOPED_TRACE(o.code.toStdString());
        view.loggedInCount = 0;
        EXPECT_TRUE(login(o.code, o.password));
        EXPECT_EQ(view.loggedInCount, 1);
        EXPECT_EQ(gOperator.Id, o.id);
        EXPECT_EQ(gOperator.UserName, o.code);
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

// The code is lower-cased for the look-up and for the encoding; the database compares
// without regard to case.
TEST_F(LoginFormTest, CodeInCapitalsFindsTheSameOperator) {
    EXPECT_TRUE(login(QStringLiteral("ADMIN"), QString()));
    EXPECT_TRUE(login(QStringLiteral("MiXeD"), QStringLiteral("Secret")));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(LoginFormTest, PasswordIsTakenExactlyAsTyped) {
    const QString wrong[] = {QStringLiteral("secret"), QStringLiteral("SECRET"), QStringLiteral(" Secret"),
                             QStringLiteral("Secret "), QString()};
    for (const QString& password : wrong) {
        SCOPED_TRACE(password.toStdString());
        port.messages.clear();
        view.focus.clear();
        EXPECT_FALSE(login(QStringLiteral("mixed"), password));
        ASSERT_EQ(port.messages.size(), 1);
        expectMessage(port.messages[0], kWrongPassword, MsgIcon::Exclamation);
        EXPECT_EQ(view.focus, QVector<LoginForm::Control>{LoginForm::txtPwd});
        // gOperator is overwritten by the attempt all the same.
        EXPECT_EQ(gOperator.Id, QStringLiteral("6"));
    }
    EXPECT_EQ(view.loggedInCount, 0);
}

TEST_F(LoginFormTest, EmptyOrBlankCodeAsksForItWithoutAQuery) {
    Close_Connect();  // a query would now fail with a message of its own
    const QString codes[] = {QString(), QStringLiteral(" "), QStringLiteral("     ")};
    for (const QString& code : codes) {
        port.messages.clear();
        view.focus.clear();
        gOperator = OperatorInfo{QStringLiteral("9"), QStringLiteral("before"), QString()};
        EXPECT_FALSE(login(code, QStringLiteral("x")));
        ASSERT_EQ(port.messages.size(), 1);
        expectMessage(port.messages[0], kNoCode, MsgIcon::Question);
        EXPECT_EQ(view.focus, QVector<LoginForm::Control>{LoginForm::txtUserName});
        EXPECT_EQ(gOperator.Id, QStringLiteral("9"));  // untouched
    }
}

TEST_F(LoginFormTest, UnknownCode) {
    const QString codes[] = {QStringLiteral("nobody"), QStringLiteral("admin2"), QStringLiteral("adm'in"),
                             QStringLiteral("管理员"), QStringLiteral("\t")};
    for (const QString& code : codes) {
        SCOPED_TRACE(code.toStdString());
        port.messages.clear();
        view.focus.clear();
        EXPECT_FALSE(login(code, QString()));
        ASSERT_EQ(port.messages.size(), 1);
        expectMessage(port.messages[0], kUnknown, MsgIcon::Exclamation);
        EXPECT_EQ(view.focus, QVector<LoginForm::Control>{LoginForm::txtUserName});
        EXPECT_EQ(gOperator.Id, QStringLiteral("-1"));
        EXPECT_TRUE(gOperator.UserName.isEmpty());
    }
}

// The look-up literal is trimmed, the encoding is not: a code typed with a blank in front finds
// the row, and its password never matches.
TEST_F(LoginFormTest, BlankBeforeTheCodeFindsTheRowButNotThePassword) {
    EXPECT_FALSE(login(QStringLiteral(" admin"), QString()));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, kWrongPassword);
    EXPECT_EQ(gOperator.Id, QStringLiteral("1"));
}

TEST_F(LoginFormTest, NullPasswordNeverMatches) {
    EXPECT_FALSE(login(QStringLiteral("nopwd"), QString()));
    EXPECT_FALSE(login(QStringLiteral("nopwd"), QStringLiteral("x")));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[1].text, kWrongPassword);
    EXPECT_EQ(gOperator.Id, QStringLiteral("5"));
    EXPECT_TRUE(gOperator.UserPwds.isEmpty());
}

TEST_F(LoginFormTest, GetUserInformationReadsTheRow) {
    const OperatorInfo info = LoginForm::GetUserInformation(QStringLiteral("o'brien"));
    EXPECT_EQ(info.Id, QStringLiteral("2"));
    EXPECT_EQ(info.UserName, QStringLiteral("o'brien"));
    EXPECT_EQ(info.UserPwds,
              LoginForm::EncodedPassword(QStringLiteral("o'brien"), QStringLiteral("p'w \"x\"")));
    const OperatorInfo none = LoginForm::GetUserInformation(QStringLiteral("nobody"));
    EXPECT_EQ(none.Id, QStringLiteral("-1"));
    EXPECT_TRUE(none.UserName.isEmpty());
    EXPECT_TRUE(none.UserPwds.isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(LoginFormTest, EncodedPasswordLowerCasesTheCodeOnly) {
    EXPECT_EQ(LoginForm::EncodedPassword(QStringLiteral("AdMin"), QStringLiteral("Pw")),
              Set_Mima(QStringLiteral("adminPwadmin")));
    EXPECT_EQ(LoginForm::EncodedPassword(QStringLiteral("admin"), QString()),
              Set_Mima(QStringLiteral("adminadmin")));
}

TEST_F(LoginFormTest, LookUpFailureIsReportedThenTheOperatorIsUnknown) {
    Close_Connect();
    EXPECT_FALSE(login(QStringLiteral("admin"), QString()));
    ASSERT_EQ(port.messages.size(), 3);  // Open_Recordset's own report comes first
    expectMessage(port.messages[0], QStringLiteral("Open_Recordset():") + objectNotSetText(),
                  MsgIcon::Information);
    EXPECT_TRUE(port.messages[1].text.startsWith(QStringLiteral("GetUserInformation():")));
    expectMessage(port.messages[2], kUnknown, MsgIcon::Exclamation);
}

TEST_F(LoginFormTest, MissingOperatorTable) {
    execute(QStringLiteral("drop table ZTUsers"));
    EXPECT_FALSE(login(QStringLiteral("admin"), QString()));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("GetUserInformation():")));
    EXPECT_GT(port.messages[0].text.size(), QStringLiteral("GetUserInformation():").size());
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(port.messages[1].text, kUnknown);
}

// A ZTUsers without the password column: the row is read as far as it goes, so the operator is
// found and the password cannot match.
TEST_F(LoginFormTest, OperatorTableWithoutThePasswordColumn) {
    execute(QStringLiteral("drop table ZTUsers"));
    execute(QStringLiteral("create table ZTUsers (Id TEXT(10), UserName TEXT(30))"));
    execute(QStringLiteral("insert into ZTUsers (Id, UserName) values ('1', 'admin')"));
    EXPECT_FALSE(login(QStringLiteral("admin"), QString()));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("GetUserInformation():")));
    EXPECT_EQ(port.messages[1].text, kWrongPassword);
    EXPECT_EQ(gOperator.Id, QStringLiteral("1"));
}

// Numbers and Null as Id, as a table made elsewhere might hold them.
TEST_F(LoginFormTest, OperatorTableWithOtherColumnTypes) {
    execute(QStringLiteral("drop table ZTUsers"));
    execute(QStringLiteral("create table ZTUsers (Id LONG, UserName TEXT(30), UserPwds MEMO)"));
    execute(QStringLiteral("insert into ZTUsers (Id, UserName, UserPwds) values (7, 'admin', ") +
            GetSqlVal(Set_Mima(QStringLiteral("adminadmin"))) + QStringLiteral(")"));
    execute(QStringLiteral("insert into ZTUsers (Id, UserName, UserPwds) values (null, 'ghost', ") +
            GetSqlVal(Set_Mima(QStringLiteral("ghostghost"))) + QStringLiteral(")"));
    EXPECT_TRUE(login(QStringLiteral("admin"), QString()));
    EXPECT_EQ(gOperator.Id, QStringLiteral("7"));
    EXPECT_TRUE(login(QStringLiteral("ghost"), QString()));
    EXPECT_EQ(gOperator.Id, QString());
    EXPECT_TRUE(port.messages.isEmpty());
}

// Another program holds the database locked: the look-up fails with the engine's message after
// its short wait, and the operator is told the code is unknown; nothing is written.
TEST_F(LoginFormTest, LockedDatabase) {
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        other.setDatabaseName(folder.managerFile());
        ASSERT_TRUE(other.open());
        QSqlQuery lock(other);
        ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        ASSERT_TRUE(lock.exec(QStringLiteral("UPDATE ZTUsers SET UserPwds = 'x'")));

        EXPECT_FALSE(login(QStringLiteral("admin"), QString()));
        ASSERT_EQ(port.messages.size(), 2);
        EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("GetUserInformation():")));
        EXPECT_GT(port.messages[0].text.size(), QStringLiteral("GetUserInformation():").size());
        EXPECT_EQ(port.messages[1].text, kUnknown);

        ASSERT_TRUE(lock.exec(QStringLiteral("ROLLBACK")));
        lock.finish();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    port.messages.clear();
    EXPECT_TRUE(login(QStringLiteral("admin"), QString()));  // free again
}

TEST_F(LoginFormTest, TrapOfTheLoginButton) {
    view.throwOnLogin = true;
    EXPECT_FALSE(login(QStringLiteral("admin"), QString()));
    ASSERT_EQ(port.messages.size(), 1);
    expectMessage(port.messages[0],
                  QStringLiteral("cmdOK_Click():") + objectNotSetText() + QStringLiteral("\r\ncmdOK_Click"),
                  MsgIcon::Information);
}

TEST_F(LoginFormTest, CancelClosesTheSharedConnection) {
    form.CmdCancel_Click();
    EXPECT_FALSE(gConn);
    EXPECT_EQ(view.unloadCount, 1);
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(LoginFormTest, InputCharLetsLettersDigitsBackspaceAndEnterThrough) {
    QVector<int> passing = {8, 13};
    for (int c = '0'; c <= '9'; ++c)
        passing << c;
    for (int c = 'A'; c <= 'Z'; ++c)
        passing << c;
    for (int c = 'a'; c <= 'z'; ++c)
        passing << c;
    for (int key = -32768; key <= 255; ++key) {
        int keyAscii = key;
        const int result = LoginForm::input_char(keyAscii);
        if (passing.contains(key)) {
            EXPECT_EQ(result, key);
            EXPECT_EQ(keyAscii, key);
        } else {
            ASSERT_EQ(result, 0) << key;
            ASSERT_EQ(keyAscii, 0) << key;
        }
    }
}

TEST_F(LoginFormTest, KeysOfTheTwoBoxes) {
    int key = 'a';
    form.txtUserName_KeyPress(key);
    EXPECT_EQ(key, 'a');
    key = -10544;  // 中
    form.txtUserName_KeyPress(key);
    EXPECT_EQ(key, 0);
    key = ' ';
    form.txtUserName_KeyPress(key);
    EXPECT_EQ(key, 0);
    EXPECT_TRUE(view.focus.isEmpty());
    key = 13;
    form.txtUserName_KeyPress(key);
    EXPECT_EQ(key, 13);
    EXPECT_EQ(view.focus, QVector<LoginForm::Control>{LoginForm::txtPwd});

    // The password box takes every key; Enter moves on to the login button.
    for (const int any : {-10544, int(' '), int('!'), int('A'), 27}) {
        key = any;
        form.txtPwd_KeyPress(key);
        EXPECT_EQ(key, any);
    }
    EXPECT_EQ(view.focus.size(), 1);
    key = 13;
    form.txtPwd_KeyPress(key);
    EXPECT_EQ(view.focus.last(), LoginForm::CMDOK);
}

TEST_F(LoginFormTest, WebSiteLinkOpensTheConfiguredAddress) {
    form.Form_Load(QDateTime::currentDateTime());
    form.Label4_DblClick();
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("http://www.zavrin.com")});

    folder.writeConfig({QStringLiteral("[BASESETUP]"), QStringLiteral("WEBSITE=https://example.org/ztgl")});
    LoginForm other(&shell);
    other.Form_Load(QDateTime::currentDateTime());
    other.Label4_DblClick();
    EXPECT_EQ(shell.opened.last(), QStringLiteral("https://example.org/ztgl"));
    EXPECT_EQ(other.toolTip(LoginForm::Label4), QStringLiteral("双击可访问我公司网站"));

    LoginForm withoutShell(nullptr);
    withoutShell.Form_Load(QDateTime::currentDateTime());
    withoutShell.Label4_DblClick();  // nothing to open with: nothing happens
    EXPECT_EQ(shell.opened.size(), 2);
}

TEST_F(LoginFormTest, TextsOfTheDialog) {
    gTitle = QStringLiteral("Zavrin行业管理软件之商业进销存-帐套管理");
    form.Form_Load(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    const std::pair<LoginForm::Control, QString> texts[] = {
        {LoginForm::Label1_0, QStringLiteral("用户代码：")},
        {LoginForm::Label1_1, QStringLiteral("登录密码：")},
        {LoginForm::Label1_3, QStringLiteral("当前时间：")},
        {LoginForm::Label1_4, QStringLiteral("服 务 器：")},
        {LoginForm::Label2, QStringLiteral("2024/03/05 14:07")},
        {LoginForm::Label6, QStringLiteral("[登录信息]")},
        {LoginForm::Label10, QStringLiteral("当前版本：")},
        {LoginForm::Label8, QStringLiteral("初始用户代码：admin  登录密码：空")},
        {LoginForm::CMDOK, QStringLiteral("登录(&L)")},
        {LoginForm::CmdCancel, QStringLiteral("取消(&C)")},
        {LoginForm::Label4, QString()},
    };
    for (const auto& [control, text] : texts)
        EXPECT_EQ(form.text(control), text) << control;
    EXPECT_EQ(form.caption(), gTitle);
    EXPECT_EQ(form.pictureKey(), QStringLiteral("201"));
    EXPECT_EQ(LoginForm::kMaxLength, 30);
}

TEST_F(LoginFormTest, VersionIsTheProgramsVersion) {
    form.Form_Load(QDateTime::currentDateTime());
    const QString expected =
        QStringLiteral("V%1.%2.%3").arg(ZTGL_VERSION_MAJOR).arg(ZTGL_VERSION_MINOR).arg(ZTGL_VERSION_PATCH);
    EXPECT_EQ(form.text(LoginForm::Label7), expected);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^V\\d+\\.\\d+\\.\\d+$")).match(expected).hasMatch());
}

// Single-user edition: the server row is hidden, the heading moves down by half its height,
// the time row by its own height; everything else stays where it was designed.
TEST_F(LoginFormTest, SingleUserLayout) {
    gIsNetwork = false;
    form.Form_Load(QDateTime::currentDateTime());
    EXPECT_FALSE(form.isVisible(LoginForm::Label9));
    EXPECT_FALSE(form.isVisible(LoginForm::Label1_4));
    const style::TwipsRect heading = LoginForm::designRect(LoginForm::Label6);
    const style::TwipsRect time = LoginForm::designRect(LoginForm::Label1_3);
    EXPECT_EQ(form.rect(LoginForm::Label6).top, heading.top + heading.height / 2);
    EXPECT_EQ(form.rect(LoginForm::Label1_3).top, time.top + time.height);
    EXPECT_EQ(form.rect(LoginForm::Label2).top, form.rect(LoginForm::Label1_3).top);
    for (int c = 0; c < LoginForm::ControlCount; ++c) {
        const auto control = LoginForm::Control(c);
        if (control == LoginForm::Label6 || control == LoginForm::Label1_3 || control == LoginForm::Label2)
            continue;
        EXPECT_EQ(form.rect(control), LoginForm::designRect(control)) << c;
        if (control != LoginForm::Label9 && control != LoginForm::Label1_4) {
            EXPECT_TRUE(form.isVisible(control)) << c;
        }
    }
}

// Network edition: a correct password is then confirmed by the server; its result decides, by
// its first three characters.
TEST_F(LoginFormTest, UserCheckInTheNetworkEdition) {
    struct Case {
        const char* name;
        QString check;
        QString script;
        QString message;  // "" = the operator gets in
    };
    const QString network = QStringLiteral("登录失败，网络连接出错！");
    const Case cases[] = {
        {"accepted", QStringLiteral("100"), QString(), QString()},
        {"logged in elsewhere", QStringLiteral("102/财务部-02"), QString(),
         QStringLiteral("登录失败，用户已在 “财务部-02” 登录！")},
        {"102 alone", QStringLiteral("102"), QString(), QStringLiteral("登录失败，用户已在 “” 登录！")},
        {"not completed", QStringLiteral("105"), QString(), network},
        {"empty result", QString(), QString(), QString()},
        {"any other code", QStringLiteral("1000"), QString(), QString()},
        {"no Failure: first", QStringLiteral("100"), QStringLiteral("PDUSERS: send Closed$:"), network},
    };
    gIsNetwork = true;
    port.otherModals = test::RecordingUiPort::runHandshakes();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        port.messages.clear();
        view.loggedInCount = 0;
        test::LocalServer server(QString(), c.script, c.check);
        server.aimGlobals();
        EXPECT_EQ(login(QStringLiteral("admin"), QString()), c.message.isEmpty());
        EXPECT_EQ(view.loggedInCount, c.message.isEmpty() ? 1 : 0);
        EXPECT_EQ(server.messages().value(0), QStringLiteral("<- PDUSERS:1/admin"));
        if (c.message.isEmpty()) {
            EXPECT_TRUE(port.messages.isEmpty());
        } else {
            ASSERT_EQ(port.messages.size(), 1);
            expectMessage(port.messages[0], c.message, MsgIcon::Information);
        }
    }
    // "000": the server cannot be reached; the window shows nothing itself.
    port.messages.clear();
    gServerPort = FixedText(QString::number(test::LocalServer::refusedPort()), 5);
    EXPECT_FALSE(login(QStringLiteral("admin"), QString()));
    ASSERT_EQ(port.messages.size(), 1);
    expectMessage(port.messages[0], network, MsgIcon::Information);
    // A wrong password never reaches the server.
    EXPECT_EQ(port.modalForms.size(), 8);
    EXPECT_FALSE(login(QStringLiteral("admin"), QStringLiteral("x")));
    EXPECT_EQ(port.modalForms.size(), 8);
}

TEST_F(LoginFormTest, NetworkLayoutShowsTheServer) {
    gIsNetwork = true;
    gServerIP = FixedText(QStringLiteral("192.168.1.10"), 20);
    form.Form_Load(QDateTime::currentDateTime());
    EXPECT_TRUE(form.isVisible(LoginForm::Label9));
    EXPECT_TRUE(form.isVisible(LoginForm::Label1_4));
    EXPECT_EQ(form.text(LoginForm::Label9), QStringLiteral("192.168.1.10        "));
    for (int c = 0; c < LoginForm::ControlCount; ++c)
        EXPECT_EQ(form.rect(LoginForm::Control(c)), LoginForm::designRect(LoginForm::Control(c))) << c;
}

// In both editions the visible controls lie inside the dialog and none covers another.
TEST_F(LoginFormTest, VisibleControlsDoNotOverlap) {
    for (const bool network : {false, true}) {
        gIsNetwork = network;
        LoginForm f(&shell);
        f.Form_Load(QDateTime::currentDateTime());
        for (int a = 0; a < LoginForm::ControlCount; ++a) {
            const style::TwipsRect ra = f.rect(LoginForm::Control(a));
            if (!f.isVisible(LoginForm::Control(a)))
                continue;
            EXPECT_GE(ra.left, 0);
            EXPECT_GE(ra.top, 0);
            EXPECT_LE(ra.left + ra.width, LoginForm::kWidth) << a;
            EXPECT_LE(ra.top + ra.height, LoginForm::kHeight) << a;
            for (int b = a + 1; b < LoginForm::ControlCount; ++b) {
                const style::TwipsRect rb = f.rect(LoginForm::Control(b));
                if (!f.isVisible(LoginForm::Control(b)))
                    continue;
                const bool apart = ra.left + ra.width <= rb.left || rb.left + rb.width <= ra.left ||
                                   ra.top + ra.height <= rb.top || rb.top + rb.height <= ra.top;
                EXPECT_TRUE(apart) << "network " << network << ": " << a << " and " << b;
            }
        }
    }
}

}  // namespace
}  // namespace ztgl
