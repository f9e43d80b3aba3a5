#pragma once

#include <QString>

#include "process/UiPort.h"
#include "style/TwipsRect.h"

namespace ztgl {

// The rules of the connection settings dialog frm_connect: the address and TCP port of the
// suite's server. OK stores them in gServerIP and gServerPort and, untrimmed, in section
// SERVERINFO of kxconfig.ini; Close stores nothing. IsOK tells the opener which it was and keeps
// its value after the dialog has gone. The port is not checked: whatever was typed is stored.
class ConnectSettingsForm : public ModalForm {
public:
    // The visible controls in tab order: address, port, OK (command1(1)), Close (command1(0)).
    enum Control { Text4, Text5, Command1_1, Command1_0 };

    class View {
    public:
        virtual ~View() = default;
        // Focus to the box, its whole text selected.
        virtual void setFocusTo(Control box) = 0;
        virtual void unload() = 0;
    };

    // Client area and places, in twips.
    static constexpr int kWidth = 5625;
    static constexpr int kHeight = 3930;
    static style::TwipsRect frameRect();  // Shape1, the border shape around the two rows
    static style::TwipsRect boxRect(Control box);
    static style::TwipsRect labelRect(Control box);
    static QString labelText(Control box);  // Label2(0), Label2(1)

    QString formName() const override { return QStringLiteral("frm_connect"); }
    static QString caption() { return QStringLiteral("连接设置"); }
    static QString buttonCaption(int index);
    static QString buttonToolTip(int index);
    static inline const QString kDefaultPort = QStringLiteral("2001");

    void setView(View* view) { m_view = view; }

    // The boxes show gServerIP and gServerPort trimmed; an empty port shows "2001".
    void Form_Load();
    // command1(1) runs OK (Command2_Click), command1(0) Close (Command3_Click).
    void command1_Click(int index);
    void Command2_Click();
    void Command3_Click();

    QString Text4Text;  // server address
    QString Text5Text;  // server port
    bool IsOK = false;
    bool isUnloaded() const { return m_unloaded; }

private:
    void unload();

    View* m_view = nullptr;
    bool m_unloaded = false;
};

}  // namespace ztgl
