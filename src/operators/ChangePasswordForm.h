#pragma once

#include <QString>

#include "process/UiPort.h"
#include "style/TwipsRect.h"

namespace ztgl {

// The rules of the change-password dialog frmCyXgmm: the logged-in operator (gOperator) types
// the old password once and the new one twice; the old one is checked against ZTUsers and the
// new one stored in encoded form. The main window shows it modally through the port; the
// widget (or a test, or ztgl-admin) fills the boxes and forwards keys and buttons.
class ChangePasswordForm : public ModalForm {
public:
    // The controls in tab order.
    enum Control { Text3, Text1, Text2, Command1_1, Command1_0, ControlCount };

    class View {
    public:
        virtual ~View() = default;
        virtual void setFocusTo(Control control) = 0;
        // Enter sends a Tab keystroke: the focus moves to the next control in tab order.
        virtual void sendTab() = 0;
        virtual void unload() = 0;
    };

    static constexpr int kMaxLength = 30;
    static constexpr int kKeyEnter = 13;
    static constexpr int kKeyEscape = 27;
    // Client area and places, in twips.
    static constexpr int kWidth = 5520;
    static constexpr int kHeight = 3300;
    static style::TwipsRect frameRect();  // the white frame shape behind the boxes
    static style::TwipsRect boxRect(Control box);
    static style::TwipsRect labelRect(Control box);
    static QString labelText(Control box);

    QString formName() const override { return QStringLiteral("frmCyXgmm"); }
    static QString caption() { return QStringLiteral("密码修改"); }
    // Caption and tool tip of command1(index): 1 saves, 0 closes.
    static QString buttonCaption(int index);
    static QString buttonToolTip(int index);

    void setView(View* view) { m_view = view; }

    // The boxes: old password, new password, new password again (taken exactly as typed).
    QString Text3Text;
    QString Text1Text;
    QString Text2Text;

    // Validates and saves. True when the new password was saved and the dialog closed.
    bool Cmd_Ok();
    // Stores the encoded new password for the operator in gOperator.
    static void w_password(const QString& newPassword);
    // 1 runs Cmd_Ok, 0 closes without saving.
    void command1_Click(int index);
    // The dialog sees keys before its controls: Enter moves on, and in Text2 also runs Cmd_Ok.
    void Form_KeyPress(int keyAscii, Control focused);
    // Esc (on release) closes without saving.
    void Form_KeyUp(int keyCode);

    bool isUnloaded() const { return m_unloaded; }
    bool saved() const { return m_saved; }

private:
    bool save();
    void focus(Control control);
    void unload();

    View* m_view = nullptr;
    bool m_unloaded = false;
    bool m_saved = false;
};

}  // namespace ztgl
