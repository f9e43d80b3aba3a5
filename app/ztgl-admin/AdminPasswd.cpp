// ztgl-admin passwd --user CODE --old OLD --new NEW: what the login and change-password dialogs
// do for an operator, without a screen. The messages are the dialogs'.
#include "AdminCommand.h"
#include "db/PubSql.h"
#include "operators/ChangePasswordForm.h"
#include "operators/LoginForm.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl::admin {
namespace {

bool tooLong(const QString& text) {
    return text.size() > LoginForm::kMaxLength;
}

int changePassword(const QString& code, const QString& oldPassword, const QString& newPassword) {
    // The dialogs' boxes take at most 30 characters; a longer value could never be typed there.
    if (tooLong(code) || tooLong(oldPassword) || tooLong(newPassword)) {
        MsgBox(QStringLiteral("操作员代码和密码最多 %1 个字符。").arg(LoginForm::kMaxLength), MsgButtons::Ok,
               MsgIcon::Exclamation, QStringLiteral("提示信息"));
        return ExitFailed;
    }
    // Logging in with the old password, then the change-password dialog.
    LoginForm login(nullptr);
    login.userName = code;
    login.password = oldPassword;
    if (!login.cmdOK_Click())
        return ExitFailed;
    ChangePasswordForm form;
    form.Text3Text = oldPassword;
    form.Text1Text = newPassword;
    form.Text2Text = newPassword;
    if (!form.Cmd_Ok())
        return ExitFailed;
    // The dialog reports success even when the statement failed (its failure was shown): here
    // the stored value decides.
    const OperatorInfo stored = LoginForm::GetUserInformation(code.toLower());
    if (stored.UserPwds != LoginForm::EncodedPassword(gOperator.UserName, newPassword)) {
        MsgBox(QStringLiteral("新密码没有存入数据库。"), MsgButtons::Ok, MsgIcon::Information,
               QStringLiteral("提示信息"));
        return ExitFailed;
    }
    return ExitOk;
}

int runPasswd(AdminContext& ctx) {
    QStringList args = ctx.args;
    bool bad = false;
    QString code, oldPassword, newPassword;
    const bool hasCode = takeOption(args, QStringLiteral("--user"), code, bad);
    const bool hasOld = takeOption(args, QStringLiteral("--old"), oldPassword, bad);
    const bool hasNew = takeOption(args, QStringLiteral("--new"), newPassword, bad);
    if (bad || !hasCode || !hasOld || !hasNew || !args.isEmpty())
        return ExitUsage;
    if (!openManagerDatabase(ctx))
        return ExitFailed;
    const int rc = changePassword(code, oldPassword, newPassword);
    Close_Connect();
    return rc;
}

const AdminCommand reg("passwd", "passwd --user CODE --old OLD --new NEW", &runPasswd);

}  // namespace
}  // namespace ztgl::admin
