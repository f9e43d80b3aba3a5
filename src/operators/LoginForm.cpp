#include "operators/LoginForm.h"

#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "operators/SetMima.h"
#include "platform/RuntimeError.h"
#include "platform/ShellOpener.h"
#include "process/Globals.h"
#include "process/ProductSettings.h"
#include "process/UiPort.h"
#include "session/CheckUserForm.h"
#include "session/QtSessionSocket.h"

namespace ztgl {
namespace {

const QString kTitle = QStringLiteral("提示信息");

}  // namespace

LoginForm::LoginForm(ShellOpener* shell) : m_shell(shell) {
    for (int c = 0; c < ControlCount; ++c) {
        m_visible[c] = true;
        m_rect[c] = designRect(Control(c));
    }
    m_text[Label1_0] = QStringLiteral("用户代码：");
    m_text[Label1_1] = QStringLiteral("登录密码：");
    m_text[Label1_3] = QStringLiteral("当前时间：");
    m_text[Label1_4] = QStringLiteral("服 务 器：");
    m_text[Label6] = QStringLiteral("[登录信息]");
    m_text[Label10] = QStringLiteral("当前版本：");
    m_text[Label8] = QStringLiteral("初始用户代码：admin  登录密码：空");
    m_text[CMDOK] = QStringLiteral("登录(&L)");
    m_text[CmdCancel] = QStringLiteral("取消(&C)");
}

// Design layout, from the top: heading, time row, server row, version row, hint on the left;
// the two boxes and the buttons on the right; the link area at the bottom right.
style::TwipsRect LoginForm::designRect(Control control) {
    switch (control) {
        case Label1_0:
            return {3720, 1800, 1050, 300};
        case txtUserName:
            return {4800, 1740, 2040, 390};
        case Label1_1:
            return {3720, 2340, 1050, 300};
        case txtPwd:
            return {4800, 2280, 2040, 390};
        case CMDOK:
            return {4080, 2940, 1260, 450};
        case CmdCancel:
            return {5580, 2940, 1260, 450};
        case Label6:
            return {360, 1560, 1500, 300};
        case Label1_3:
            return {360, 1920, 1050, 300};
        case Label2:
            return {1410, 1920, 1950, 300};
        case Label1_4:
            return {360, 2280, 1050, 300};
        case Label9:
            return {1410, 2280, 2160, 300};
        case Label10:
            return {360, 2640, 1050, 300};
        case Label7:
            return {1410, 2640, 1500, 300};
        case Label8:
            return {360, 3540, 3600, 300};
        case Label4:
            return {4320, 3960, 2520, 330};
        case ControlCount:
            break;
    }
    return {};
}

QString LoginForm::versionText() {
    return QStringLiteral("V%1.%2.%3")
        .arg(ZTGL_VERSION_MAJOR)
        .arg(ZTGL_VERSION_MINOR)
        .arg(ZTGL_VERSION_PATCH);
}

QString LoginForm::toolTip(Control control) const {
    return control == Label4 ? QStringLiteral("双击可访问我公司网站") : QString();
}

void LoginForm::Form_Load(const QDateTime& now) {
    m_caption = gTitle;
    m_pictureKey = LoginPictureKey();
    m_webSite = MakerWebSite();
    m_text[Label7] = versionText();
    m_text[Label2] = now.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    if (gIsNetwork) {
        m_text[Label9] = gServerIP;
        return;
    }
    // Single-user edition: no server row; the heading and the time row move down towards it.
    m_visible[Label9] = false;
    m_visible[Label1_4] = false;
    m_rect[Label6].top += m_rect[Label6].height / 2;
    m_rect[Label1_3].top += m_rect[Label1_3].height;
    m_rect[Label2].top = m_rect[Label1_3].top;
}

int LoginForm::input_char(int& keyAscii) {
    const qint16 key = qint16(keyAscii);
    const bool passes = (key >= 'A' && key <= 'Z') || (key >= 'a' && key <= 'z') ||
                        (key >= '0' && key <= '9') || key == kKeyBackspace || key == kKeyEnter;
    if (!passes)
        keyAscii = 0;
    return keyAscii;
}

void LoginForm::txtUserName_KeyPress(int& keyAscii) {
    keyAscii = input_char(keyAscii);
    if (keyAscii == kKeyEnter)
        focus(txtPwd);
}

void LoginForm::txtPwd_KeyPress(int& keyAscii) {
    if (keyAscii == kKeyEnter)
        focus(CMDOK);
}

bool LoginForm::cmdOK_Click() {
    try {
        return login();
    } catch (const std::exception& e) {
        MsgBox(QStringLiteral("cmdOK_Click():") + errorText(e) + QStringLiteral("\r\ncmdOK_Click"),
               MsgButtons::Ok, MsgIcon::Information, kTitle);
        return false;
    }
}

bool LoginForm::login() {
    if (TrimBlanks(userName).isEmpty()) {
        MsgBox(QStringLiteral("请输入操作员代码！"), MsgButtons::Ok, MsgIcon::Question, kTitle);
        focus(txtUserName);
        return false;
    }
    gOperator = GetUserInformation(userName.toLower());
    if (gOperator.Id == QLatin1String("-1")) {
        MsgBox(QStringLiteral("没有该用户，请重新输入代码……"), MsgButtons::Ok, MsgIcon::Exclamation, kTitle);
        focus(txtUserName);
        return false;
    }
    if (EncodedPassword(userName, password) != gOperator.UserPwds) {
        MsgBox(QStringLiteral("用户密码错误！请重新输入……"), MsgButtons::Ok, MsgIcon::Exclamation, kTitle);
        focus(txtPwd);
        return false;
    }
    if (gIsNetwork && !confirmedByServer())
        return false;
    if (m_view)
        m_view->loggedIn();
    return true;
}

bool LoginForm::confirmedByServer() {
    QtSessionSocket socket;
    CheckUserForm check(socket);
    ui().showModal(check);
    const QString code = check.CheckResult.left(3);
    if (code == CheckUserForm::kNoConnection || code == CheckUserForm::kNotCompleted) {
        MsgBox(QStringLiteral("登录失败，网络连接出错！"), MsgButtons::Ok, MsgIcon::Information, kTitle);
        return false;
    }
    if (code == QLatin1String("102")) {
        // The fourth character separates the code from the place and is not shown.
        MsgBox(QStringLiteral("登录失败，用户已在 “") + check.CheckResult.mid(4) + QStringLiteral("” 登录！"),
               MsgButtons::Ok, MsgIcon::Information, kTitle);
        return false;
    }
    return true;
}

void LoginForm::CmdCancel_Click() {
    Close_Connect();
    if (m_view)
        m_view->unload();
}

void LoginForm::Label4_DblClick() {
    if (m_shell)
        m_shell->open(m_webSite);
}

OperatorInfo LoginForm::GetUserInformation(const QString& userName) {
    OperatorInfo info;
    ado::Recordset rs;
    try {
        Open_Recordset(rs, QStringLiteral("select * from ZTUsers where UserName=") + GetSqlVal(userName));
        if (!rs.Eof()) {
            info.Id = rs.Fields(QStringLiteral("Id")).text();
            info.UserName = rs.Fields(QStringLiteral("UserName")).text();
            info.UserPwds = rs.Fields(QStringLiteral("UserPwds")).text();
        }
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("GetUserInformation():"), e);
    }
    Close_Recordset(rs);
    return info;
}

QString LoginForm::EncodedPassword(const QString& code, const QString& password) {
    const QString lower = code.toLower();
    return Set_Mima(lower + password + lower);
}

void LoginForm::focus(Control control) {
    if (m_view)
        m_view->setFocusTo(control);
}

}  // namespace ztgl
