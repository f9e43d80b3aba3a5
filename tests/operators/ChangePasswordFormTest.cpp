#include <gtest/gtest.h>

#include "OperatorsFixture.h"
#include "ScriptedServer.h"
#include "operators/ChangePasswordForm.h"
#include "operators/SetMima.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

using Control = ChangePasswordForm::Control;

class RecordingView final : public ChangePasswordForm::View {
public:
    void setFocusTo(Control control) override { focus << control; }
    void sendTab() override { ++tabs; }
    void unload() override { ++unloads; }

    QVector<Control> focus;
    int tabs = 0;
    int unloads = 0;
};

const QString kMismatch = QStringLiteral("两次输入的新密码不相同！请核对后重新输入．");
const QString kWrongOld = QStringLiteral("原始密码错误！请核对后重新输入。");
const QString kDone = QStringLiteral("修改密码成功！");

class ChangePasswordFormTest : public test::OperatorsFixture {
protected:
    void SetUp() override {
        OperatorsFixture::SetUp();
        form.setView(&view);
    }

    // The operator as a login leaves it in gOperator.
    void as(const QString& code) { gOperator = LoginForm::GetUserInformation(code.toLower()); }
    bool change(const QString& oldPassword, const QString& newPassword, const QString& again) {
        form.Text3Text = oldPassword;
        form.Text1Text = newPassword;
        form.Text2Text = again;
        return form.Cmd_Ok();
    }
    bool canLogIn(const QString& code, const QString& password) {
        return LoginForm::GetUserInformation(code.toLower()).UserPwds ==
               LoginForm::EncodedPassword(code, password);
    }
    void expectOnlyMessage(const QString& text, MsgIcon icon,
                           const QString& title = QStringLiteral("提示信息")) {
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].text, text);
        EXPECT_EQ(port.messages[0].title, title);
        EXPECT_EQ(port.messages[0].icon, icon);
        EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
    }

    RecordingView view;
    ChangePasswordForm form;
};

TEST_F(ChangePasswordFormTest, NamesCaptionsAndTips) {
    EXPECT_EQ(form.formName(), QStringLiteral("frmCyXgmm"));
    EXPECT_EQ(ChangePasswordForm::caption(), QStringLiteral("密码修改"));
    EXPECT_EQ(ChangePasswordForm::buttonCaption(1), QStringLiteral("确定(&Y)"));
    EXPECT_EQ(ChangePasswordForm::buttonCaption(0), QStringLiteral("关闭(&Q)"));
    EXPECT_EQ(ChangePasswordForm::buttonToolTip(1), QStringLiteral("确定，快捷键Alt+Y"));
    EXPECT_EQ(ChangePasswordForm::buttonToolTip(0), QStringLiteral("关闭窗体，快捷键Alt+Q"));
    EXPECT_EQ(ChangePasswordForm::labelText(ChangePasswordForm::Text3), QStringLiteral("输入旧密码："));
    EXPECT_EQ(ChangePasswordForm::labelText(ChangePasswordForm::Text1), QStringLiteral("输入新密码："));
    EXPECT_EQ(ChangePasswordForm::labelText(ChangePasswordForm::Text2), QStringLiteral("确认新密码："));
    EXPECT_EQ(ChangePasswordForm::kMaxLength, 30);
}

TEST_F(ChangePasswordFormTest, ChangesThePasswordOfTheLoggedInOperator) {
    as(QStringLiteral("admin"));
    const OperatorInfo before = gOperator;

    EXPECT_TRUE(change(QString(), QStringLiteral("n3w'Pw"), QStringLiteral("n3w'Pw")));

    expectOnlyMessage(kDone, MsgIcon::Information);
    EXPECT_TRUE(form.saved());
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_EQ(view.unloads, 1);
    EXPECT_EQ(storedPassword(QStringLiteral("1")), Set_Mima(QStringLiteral("adminn3w'Pwadmin")));
    EXPECT_TRUE(canLogIn(QStringLiteral("admin"), QStringLiteral("n3w'Pw")));
    EXPECT_FALSE(canLogIn(QStringLiteral("admin"), QString()));
    EXPECT_EQ(gOperator.UserPwds, before.UserPwds);  // the session keeps the old text
    // Nobody else's row changed.
    for (const auto& o : operators())
        EXPECT_EQ(storedPassword(o.id), LoginForm::EncodedPassword(o.code, o.password));
}

TEST_F(ChangePasswordFormTest, AwkwardOperatorsAndPasswords) {
    const QString newPasswords[] = {QStringLiteral("新密码'\"；"), QString(30, QLatin1Char('z')),
                                    QStringLiteral(" a b ")};
    for (const auto& o : operators()) {
        QString current = o.password;
        for (const QString& next : newPasswords) {
            SCOPED_TRACE((o.code + QLatin1Char('/') + next).toStdString());
            port.messages.clear();
            as(o.code);
            ChangePasswordForm f;
            f.Text3Text = current;
            f.Text1Text = next;
            f.Text2Text = next;
            EXPECT_TRUE(f.Cmd_Ok());
            expectOnlyMessage(kDone, MsgIcon::Information);
            EXPECT_TRUE(canLogIn(o.code, next));
            current = next;
        }
    }
}

TEST_F(ChangePasswordFormTest, EmptyNewPasswordIsTheCodeWrittenTwice) {
    as(QStringLiteral("mixed"));
    EXPECT_TRUE(change(QStringLiteral("Secret"), QString(), QString()));
    EXPECT_EQ(storedPassword(QStringLiteral("6")), Set_Mima(QStringLiteral("mixedmixed")));
}

TEST_F(ChangePasswordFormTest, SamePasswordAgainIsStoredAgain) {
    as(QStringLiteral("mixed"));
    const QString before = storedPassword(QStringLiteral("6"));
    EXPECT_TRUE(change(QStringLiteral("Secret"), QStringLiteral("Secret"), QStringLiteral("Secret")));
    EXPECT_EQ(storedPassword(QStringLiteral("6")), before);
    expectOnlyMessage(kDone, MsgIcon::Information);
}

TEST_F(ChangePasswordFormTest, MismatchHasNoIconAndChangesNothing) {
    as(QStringLiteral("mixed"));
    const QString before = storedPassword(QStringLiteral("6"));
    const std::pair<QString, QString> pairs[] = {{QStringLiteral("abc"), QStringLiteral("ABC")},
                                                 {QStringLiteral("abc"), QStringLiteral("abc ")},
                                                 {QStringLiteral("abc"), QString()}};
    for (const auto& [first, second] : pairs) {
        port.messages.clear();
        view.focus.clear();
        EXPECT_FALSE(change(QStringLiteral("Secret"), first, second));
        expectOnlyMessage(kMismatch, MsgIcon::None);
        EXPECT_EQ(view.focus, QVector<Control>{ChangePasswordForm::Text1});
    }
    EXPECT_FALSE(form.isUnloaded());
    EXPECT_EQ(storedPassword(QStringLiteral("6")), before);
}

// The mismatch is found before the old password is looked at.
TEST_F(ChangePasswordFormTest, MismatchComesBeforeTheOldPassword) {
    as(QStringLiteral("mixed"));
    EXPECT_FALSE(change(QStringLiteral("wrong"), QStringLiteral("a"), QStringLiteral("b")));
    expectOnlyMessage(kMismatch, MsgIcon::None);
}

TEST_F(ChangePasswordFormTest, WrongOldPasswordIsRefused) {
    as(QStringLiteral("mixed"));
    const QString before = storedPassword(QStringLiteral("6"));
    const QString wrong[] = {QStringLiteral("secret"), QStringLiteral("SECRET"), QString(),
                             QStringLiteral("Secret ")};
    for (const QString& old : wrong) {
        port.messages.clear();
        view.focus.clear();
        EXPECT_FALSE(change(old, QStringLiteral("x"), QStringLiteral("x")));
        expectOnlyMessage(kWrongOld, MsgIcon::Information);
        EXPECT_EQ(view.focus, QVector<Control>{ChangePasswordForm::Text3});
    }
    EXPECT_FALSE(form.isUnloaded());
    EXPECT_FALSE(form.saved());
    EXPECT_EQ(storedPassword(QStringLiteral("6")), before);
}

TEST_F(ChangePasswordFormTest, FailureInsideIsReportedAsAnErrorAndTheDialogStays) {
    as(QStringLiteral("admin"));
    Close_Connect();
    EXPECT_FALSE(change(QString(), QStringLiteral("x"), QStringLiteral("x")));
    ASSERT_EQ(port.messages.size(), 2);  // Open_Recordset's own report, then the dialog's
    EXPECT_EQ(port.messages[0].text,
              QStringLiteral("Open_Recordset():") + RuntimeError::standardText(RuntimeError::ObjectNotSet));
    EXPECT_TRUE(port.messages[1].text.startsWith(QStringLiteral("Cmd_Ok():")));
    EXPECT_EQ(port.messages[1].title, QStringLiteral("错误信息"));
    EXPECT_FALSE(form.isUnloaded());
}

// A failing update is reported by ExecuteNonQuerySql, and the dialog still says it succeeded.
TEST_F(ChangePasswordFormTest, FailingUpdateIsReportedAndFollowedBySuccess) {
    as(QStringLiteral("admin"));
    execute(
        QStringLiteral("CREATE TRIGGER NoChange BEFORE UPDATE ON ZTUsers BEGIN "
                       "SELECT RAISE(ABORT, 'read only'); END"));
    EXPECT_TRUE(change(QString(), QStringLiteral("x"), QStringLiteral("x")));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("ExecuteNonQuerySql():")));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(port.messages[1].text, kDone);
    EXPECT_EQ(storedPassword(QStringLiteral("1")), Set_Mima(QStringLiteral("adminadmin")));
}

TEST_F(ChangePasswordFormTest, KeysAndButtons) {
    as(QStringLiteral("admin"));
    form.Form_KeyPress('a', ChangePasswordForm::Text3);
    EXPECT_EQ(view.tabs, 0);
    const Control notLast[] = {ChangePasswordForm::Text3, ChangePasswordForm::Text1,
                               ChangePasswordForm::Command1_1, ChangePasswordForm::Command1_0};
    for (const Control c : notLast)
        form.Form_KeyPress(13, c);
    EXPECT_EQ(view.tabs, 4);
    EXPECT_TRUE(port.messages.isEmpty());  // no save from those

    form.Text1Text = QStringLiteral("a");
    form.Text2Text = QStringLiteral("b");
    form.Form_KeyPress(13, ChangePasswordForm::Text2);  // moves on and saves
    EXPECT_EQ(view.tabs, 5);
    expectOnlyMessage(kMismatch, MsgIcon::None);

    form.Form_KeyUp(13);
    EXPECT_FALSE(form.isUnloaded());
    form.Form_KeyUp(27);
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_FALSE(form.saved());
}

TEST_F(ChangePasswordFormTest, CloseButtonSavesNothing) {
    as(QStringLiteral("admin"));
    form.Text1Text = form.Text2Text = QStringLiteral("x");
    form.command1_Click(0);
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(storedPassword(QStringLiteral("1")), Set_Mima(QStringLiteral("adminadmin")));

    ChangePasswordForm other;
    other.command1_Click(1);  // runs Cmd_Ok: empty boxes, empty old password of admin
    expectOnlyMessage(kDone, MsgIcon::Information);
}

TEST_F(ChangePasswordFormTest, BoxesInsideTheFrameWithoutOverlap) {
    const style::TwipsRect frame = ChangePasswordForm::frameRect();
    const Control boxes[] = {ChangePasswordForm::Text3, ChangePasswordForm::Text1, ChangePasswordForm::Text2};
    int lastBottom = frame.top;
    for (const Control c : boxes) {
        const style::TwipsRect box = ChangePasswordForm::boxRect(c);
        const style::TwipsRect label = ChangePasswordForm::labelRect(c);
        EXPECT_GE(box.top, lastBottom);
        EXPECT_LE(label.left + label.width, box.left);
        EXPECT_GE(label.left, frame.left);
        EXPECT_LE(box.left + box.width, frame.left + frame.width);
        lastBottom = box.top + box.height;
    }
    EXPECT_LE(lastBottom, frame.top + frame.height);
    EXPECT_LE(frame.top + frame.height, ChangePasswordForm::kHeight);
    EXPECT_LE(frame.left + frame.width, ChangePasswordForm::kWidth);
}

// The statements exactly, on a scripted engine that records them.
TEST(ChangePasswordStatements, QueryAndUpdateAsWritten) {
    ResetGlobals();
    test::RecordingUiPort port;
    test::ScriptedServer server(ado::EngineKind::Jet);
    const QString old = Set_Mima(QStringLiteral("o'brienp'wo'brien"));
    server.onQuery(QStringLiteral("^select \\* from ZTUsers where id = "),
                   test::ScriptedServer::rows({QStringLiteral("Id")}, {{QStringLiteral("2")}}));
    gDBType = kAccess;
    gConnectString = test::TempProgramFolder().managerConnectString();
    ASSERT_EQ(Open_Connect(), 1);
    gOperator = OperatorInfo{QStringLiteral("2"), QStringLiteral("O'Brien"), old};

    ChangePasswordForm form;
    form.Text3Text = QStringLiteral("p'w");
    form.Text1Text = form.Text2Text = QStringLiteral("Neu");
    EXPECT_TRUE(form.Cmd_Ok());

    // The statements on ZTUsers (the record of the change has its own tests).
    EXPECT_EQ(server.queries().filter(QStringLiteral("ZTUsers")),
              (QStringList{QStringLiteral("select * from ZTUsers where id = '2' and UserPwds = '") + old +
                               QStringLiteral("'"),
                           QStringLiteral("select UserPwds from ZTUsers where id = '2'")}));
    const QString encoded = Set_Mima(QStringLiteral("o'brienNeuo'brien"));
    EXPECT_EQ(server.executed().filter(QStringLiteral("ZTUSERS")),
              QStringList{QStringLiteral("UPDATE ZTUSERS SET USERPWDS = '") + encoded +
                          QStringLiteral("' WHERE ID = '2'")});
    Close_Connect();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl
