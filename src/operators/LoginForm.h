#pragma once

#include <QDateTime>
#include <QString>

#include "process/OperatorInfo.h"
#include "style/TwipsRect.h"

namespace ztgl {

class ShellOpener;

// The rules of the login dialog frmZTLogin: the texts and places of its controls, the key filter
// of the code box, the check of code and password against ZTUsers, in the network edition the
// user check with the suite's server (w_CheckUser), and Cancel.
// The widget forwards the operator's typing and clicks and follows the View calls.
class LoginForm {
public:
    // The controls the rules talk about.
    enum Control {
        Label1_0,     // "用户代码："
        txtUserName,  // operator code
        Label1_1,     // "登录密码："
        txtPwd,       // password, shown as "*"
        CMDOK,        // "登录(&L)"
        CmdCancel,    // "取消(&C)"
        Label6,       // "[登录信息]"
        Label1_3,     // "当前时间："
        Label2,       // the date and time of loading
        Label1_4,     // "服 务 器："
        Label9,       // server address
        Label10,      // "当前版本："
        Label7,       // program version
        Label8,       // the initial operator
        Label4,       // blank link area to the maker's web site
        ControlCount
    };

    class View {
    public:
        virtual ~View() = default;
        // Focus to the control; for an input box its whole text selected.
        virtual void setFocusTo(Control control) = 0;
        // The operator is in: show the main window, then unload the dialog.
        virtual void loggedIn() = 0;
        // Cancel: unload the dialog.
        virtual void unload() = 0;
    };

    static constexpr int kMaxLength = 30;  // both input boxes
    static constexpr int kWidth = 7200;    // client area, twips
    static constexpr int kHeight = 4500;
    static constexpr int kKeyBackspace = 8;
    static constexpr int kKeyEnter = 13;

    // `shell` opens the web site; without one (ztgl-admin) the double click does nothing.
    explicit LoginForm(ShellOpener* shell);
    void setView(View* view) { m_view = view; }

    // Texts, the edition's layout and the settings of the delivery; `now` fills Label2.
    void Form_Load(const QDateTime& now);

    QString text(Control control) const { return m_text[control]; }
    bool isVisible(Control control) const { return m_visible[control]; }
    style::TwipsRect rect(Control control) const { return m_rect[control]; }
    QString toolTip(Control control) const;
    QString caption() const { return m_caption; }
    // Key of the background picture in csxx.dac.
    const QString& pictureKey() const { return m_pictureKey; }
    const QString& webSite() const { return m_webSite; }
    // The design place of a control, before the edition's layout rule.
    static style::TwipsRect designRect(Control control);
    // "V" + major.minor.revision of the program.
    static QString versionText();

    // What the operator typed (the widget keeps these in step with its boxes).
    QString userName;
    QString password;

    // Key filter of the code box: letters, digits, Backspace and Enter pass; every other key
    // (double-byte characters included, whose codes are negative) gives 0, also in keyAscii.
    static int input_char(int& keyAscii);
    // Key presses of the two boxes; keyAscii comes back 0 when the key is discarded.
    void txtUserName_KeyPress(int& keyAscii);
    void txtPwd_KeyPress(int& keyAscii);

    // The login button (and Enter on it). True when the operator is in. In the network edition
    // a correct password is then confirmed by the server (w_CheckUser, shown modally).
    bool cmdOK_Click();
    // Closes the shared connection and unloads; with no window left the program ends.
    void CmdCancel_Click();
    void Label4_DblClick();

    // The operator row of ZTUsers whose UserName equals userName; Id "-1" when there is none.
    static OperatorInfo GetUserInformation(const QString& userName);
    // How a password is stored for an operator code: Set_Mima(lower(code) + password + lower(code)).
    static QString EncodedPassword(const QString& code, const QString& password);

private:
    bool login();
    // Network edition: the user check; false (its message shown) when the operator may not in.
    bool confirmedByServer();
    void focus(Control control);

    ShellOpener* m_shell;
    View* m_view = nullptr;
    QString m_text[ControlCount];
    bool m_visible[ControlCount];
    style::TwipsRect m_rect[ControlCount];
    QString m_caption;
    QString m_pictureKey;
    QString m_webSite;
};

}  // namespace ztgl
