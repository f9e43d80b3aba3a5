#include <gtest/gtest.h>

#include "OperatorsFixture.h"
#include "operators/ChangePasswordForm.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

using Control = ChangePasswordForm::Control;
using test::msgLine;
using test::shownLines;

class RecordingView final : public ChangePasswordForm::View {
public:
    void setFocusTo(Control control) override { focus << control; }
    void sendTab() override {}
    void unload() override { ++unloads; }

    QVector<Control> focus;
    int unloads = 0;
};

const QString kMismatch = msgLine("两次输入的新密码不相同！请核对后重新输入．", MsgIcon::None);
const QString kWrongOld = msgLine("原始密码错误！请核对后重新输入。");
const QString kDone = msgLine("修改密码成功！");

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

    RecordingView view;
    ChangePasswordForm form;
};

// Every operator changes his own password, awkward codes and new passwords included (an empty new
// password: AdminPasswdTest); the session keeps the old text and nobody else's row changes.
TEST_F(ChangePasswordFormTest, ChangesThePasswordOfTheLoggedInOperator) {
    const QString next[] = {" a b ", "新密码'\"；", QString(30, QLatin1Char('z')), "Secret"};
    const QVector<Operator> all = operators();
    for (int i = 0; i < all.size(); ++i) {
        const Operator& o = all[i];
        SCOPED_TRACE(o.code.toStdString());
        port.messages.clear();
        as(o.code);
        const QString before = gOperator.UserPwds;
        ChangePasswordForm f;
        f.setView(&view);
        f.Text3Text = o.password;
        f.Text1Text = f.Text2Text = next[i];
        EXPECT_TRUE(f.Cmd_Ok());
        EXPECT_EQ(shownLines(port), QStringList{kDone});
        EXPECT_TRUE(f.saved() && f.isUnloaded());
        EXPECT_EQ(storedPassword(o.id), Set_Mima(o.code + next[i] + o.code));
        EXPECT_EQ(gOperator.UserPwds, before);
    }
    EXPECT_EQ(view.unloads, all.size());
    EXPECT_EQ(storedPassword("5"), QString());
}

// The mismatch is found first (no icon, focus to the new password), then the old password is
// checked exactly as typed; neither changes anything and the dialog stays.
TEST_F(ChangePasswordFormTest, RefusedChanges) {
    as("mixed");
    const QString before = storedPassword("6");
    const Control text1 = ChangePasswordForm::Text1, text3 = ChangePasswordForm::Text3;
    // clang-format off
    const struct { const char* old; const char* first; const char* second; QString message; Control focus; } cases[] = {
        {"Secret", "abc", "ABC", kMismatch, text1}, {"Secret", "abc", "abc ", kMismatch, text1},
        {"Secret", "abc", "", kMismatch, text1}, {"wrong", "a", "b", kMismatch, text1},
        {"secret", "x", "x", kWrongOld, text3}, {"SECRET", "x", "x", kWrongOld, text3},
        {"", "x", "x", kWrongOld, text3}, {"Secret ", "x", "x", kWrongOld, text3},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.old) + "/" + c.first + "/" + c.second);
        port.messages.clear();
        view.focus.clear();
        EXPECT_FALSE(
            change(QString::fromUtf8(c.old), QString::fromUtf8(c.first), QString::fromUtf8(c.second)));
        EXPECT_EQ(shownLines(port), QStringList{c.message});
        EXPECT_EQ(view.focus, QVector<Control>{c.focus});
    }
    EXPECT_FALSE(form.isUnloaded() || form.saved());
    EXPECT_EQ(storedPassword("6"), before);
}

// A failing update is reported by ExecuteNonQuerySql, and the dialog still says it succeeded;
// a failure inside Cmd_Ok is reported as an error and the dialog stays.
TEST_F(ChangePasswordFormTest, Failures) {
    as("admin");
    execute(
        QStringLiteral("CREATE TRIGGER NoChange BEFORE UPDATE ON ZTUsers BEGIN "
                       "SELECT RAISE(ABORT, 'read only'); END"));
    EXPECT_TRUE(change(QString(), "x", "x"));
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_TRUE(port.messages[0].text.startsWith("ExecuteNonQuerySql():"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(shownLines(port)[1], kDone);
    EXPECT_EQ(storedPassword("1"), Set_Mima("adminadmin"));

    port.messages.clear();
    Close_Connect();
    ChangePasswordForm other;
    other.Text1Text = other.Text2Text = "x";
    EXPECT_FALSE(other.Cmd_Ok());
    ASSERT_EQ(port.messages.size(), 2);  // Open_Recordset's own report, then the dialog's
    EXPECT_EQ(port.messages[0].text,
              "Open_Recordset():" + RuntimeError::standardText(RuntimeError::ObjectNotSet));
    EXPECT_TRUE(port.messages[1].text.startsWith("Cmd_Ok():"));
    EXPECT_EQ(port.messages[1].title, "错误信息");
    EXPECT_FALSE(other.isUnloaded());
}

}  // namespace
}  // namespace ztgl
