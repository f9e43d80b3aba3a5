#pragma once

#include <functional>

#include "session/HandshakeForm.h"

namespace ztgl {

class ShutDown;

// The rules of the pre-login window w_PreLogin: connects to the suite's server, runs the
// pre-login conversation and leaves the database kind (gDBType), the connection string
// (gConnectString) and the manager's database name (gManagerDBName) for the start-up, setting
// gPreLoginOK when the server accepted the client. It obeys the server's workstation orders and
// offers the operator the way to the connection settings dialog.
//
// The client keeps no conversation state: each message is acted on whenever it arrives.
// Where the program ends at once (ConnFail, Cancel of Conning:, restart:3, or a nested start-up
// that ended) the window unloads with endsProgram() set; the start-up then ends without anything
// further.
class PreLoginForm final : public HandshakeForm {
public:
    // What the window reaches through the start-up, which owns both.
    struct Hooks {
        std::function<void()> showConnectSettings;  // frm_connect, modally
        std::function<bool()> runMain;              // Main again; false when that run ended the program
    };

    // `orders` may be null: the workstation orders are then not obeyed.
    PreLoginForm(SessionSocket& socket, ShutDown* orders, Hooks hooks);

    QString formName() const override { return QStringLiteral("w_PreLogin"); }
    QString title() const override { return QStringLiteral("【连接服务器】"); }
    QString status() const override { return m_status; }

    void Form_Load() override;
    void Form_Activate() override;
    // "q" (small letter only): unload, frm_connect, then the whole start-up again.
    void Form_KeyPress(int keyAscii) override;
    // Left button released with Ctrl alone: no connection string, socket closed, frm_connect;
    // the window stays and does not connect again by itself.
    void Form_MouseUp(int button, int shift) override;
    // Closed by the operator (unload mode 0): the connection string becomes "'ERROR'".
    void Form_QueryUnload(int unloadMode) override;

    bool endsProgram() const { return m_endsProgram; }

    // The message for a server address that cannot be one; ends in "，不能登录系统".
    static QString UnusableAddressText(const QString& address);

protected:
    void Winsock_Connect() override;
    void Winsock_DataArrival(const QByteArray& data) override;
    void Winsock_Close() override;
    void Winsock_Error(SessionSocket::ErrorKind kind, const QString& description) override;

private:
    void handle(const QString& message);
    void obey(QChar order);
    void endProgram();

    ShutDown* m_orders;
    Hooks m_hooks;
    QString m_status;
    bool m_endsProgram = false;
};

}  // namespace ztgl
