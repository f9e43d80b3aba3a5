#include "operators/ChangePasswordForm.h"

#include "ado/Recordset.h"
#include "audit/ChangeLog.h"
#include "db/PubSql.h"
#include "operators/LoginForm.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

const QString kTitle = QStringLiteral("提示信息");

}  // namespace

style::TwipsRect ChangePasswordForm::frameRect() {
    return {240, 1020, 5040, 2040};
}

style::TwipsRect ChangePasswordForm::boxRect(Control box) {
    const int row = box == Text3 ? 0 : box == Text1 ? 1 : 2;
    return {2040, 1260 + row * 570, 2760, 390};
}

style::TwipsRect ChangePasswordForm::labelRect(Control box) {
    const style::TwipsRect b = boxRect(box);
    return {600, b.top + 45, 1380, 300};
}

QString ChangePasswordForm::labelText(Control box) {
    switch (box) {
        case Text3:
            return QStringLiteral("输入旧密码：");
        case Text1:
            return QStringLiteral("输入新密码：");
        case Text2:
            return QStringLiteral("确认新密码：");
        default:
            return QString();
    }
}

QString ChangePasswordForm::buttonCaption(int index) {
    return index == 1 ? QStringLiteral("确定(&Y)") : QStringLiteral("关闭(&Q)");
}

QString ChangePasswordForm::buttonToolTip(int index) {
    return index == 1 ? QStringLiteral("确定，快捷键Alt+Y") : QStringLiteral("关闭窗体，快捷键Alt+Q");
}

bool ChangePasswordForm::Cmd_Ok() {
    try {
        return save();
    } catch (const std::exception& e) {
        MsgBox(QStringLiteral("Cmd_Ok():") + errorText(e), MsgButtons::Ok, MsgIcon::Information,
               QStringLiteral("错误信息"));
        return false;
    }
}

bool ChangePasswordForm::save() {
    const QString newPassword = Text1Text;
    if (Text1Text != Text2Text) {
        MsgBox(QStringLiteral("两次输入的新密码不相同！请核对后重新输入．"), MsgButtons::Ok, MsgIcon::None,
               kTitle);
        focus(Text1);
        return false;
    }
    // The encoded text never holds a quote, so it goes between quotes as it is.
    ado::Recordset rs;
    Open_Recordset(rs, QStringLiteral("select * from ZTUsers where id = ") + GetSqlVal(gOperator.Id) +
                           QStringLiteral(" and UserPwds = '") +
                           LoginForm::EncodedPassword(gOperator.UserName, Text3Text) + QStringLiteral("'"));
    const bool found = !rs.Eof();
    Close_Recordset(rs);
    if (!found) {
        MsgBox(QStringLiteral("原始密码错误！请核对后重新输入。"), MsgButtons::Ok, MsgIcon::Information,
               kTitle);
        focus(Text3);
        return false;
    }
    w_password(newPassword);
    MsgBox(QStringLiteral("修改密码成功！"), MsgButtons::Ok, MsgIcon::Information, kTitle);
    m_saved = true;
    unload();
    return true;
}

void ChangePasswordForm::w_password(const QString& newPassword) {
    const ChangeLog::Entry record{ChangeLog::Password, QString(), QString(),
                                  QStringLiteral("操作员 ") + gOperator.UserName};
    try {
        // ExecuteNonQuerySql upper-cases the statement; the encoded text holds no small letters.
        const QString encoded = LoginForm::EncodedPassword(gOperator.UserName, newPassword);
        QString sql = QStringLiteral("update ZTUsers set UserPwds = ") + GetSqlVal(encoded) +
                      QStringLiteral(" where id = ") + GetSqlVal(gOperator.Id);
        // ExecuteNonQuerySql reports a failing statement itself and goes on: the stored value tells
        // the record whether the change was made.
        ChangeLog::Recorded(
            record, [&] { ExecuteNonQuerySql(sql); },
            [&] {
                ado::Recordset rs;
                Open_Recordset(
                    rs, QStringLiteral("select UserPwds from ZTUsers where id = ") + GetSqlVal(gOperator.Id));
                const bool stored = !rs.Eof() && rs.Fields(QStringLiteral("UserPwds")).text() == encoded;
                Close_Recordset(rs);
                return stored;
            });
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("w_password():"), e);
        ChangeLog::Failed(record, errorText(e));
    }
}

void ChangePasswordForm::command1_Click(int index) {
    if (index == 1)
        Cmd_Ok();
    else if (index == 0)
        unload();
}

void ChangePasswordForm::Form_KeyPress(int keyAscii, Control focused) {
    if (keyAscii != kKeyEnter)
        return;
    if (m_view)
        m_view->sendTab();
    if (focused == Text2)
        Cmd_Ok();
}

void ChangePasswordForm::Form_KeyUp(int keyCode) {
    if (keyCode == kKeyEscape)
        unload();
}

void ChangePasswordForm::focus(Control control) {
    if (m_view)
        m_view->setFocusTo(control);
}

void ChangePasswordForm::unload() {
    m_unloaded = true;
    if (m_view)
        m_view->unload();
}

}  // namespace ztgl
