#include "session/CheckUserForm.h"

#include "process/Globals.h"
#include "session/WireMessage.h"

namespace ztgl {

CheckUserForm::CheckUserForm(SessionSocket& socket) : HandshakeForm(socket) {}

void CheckUserForm::Form_Load() {
    prepareSocket();
    CheckResult = kNotCompleted;
    m_socket.Connect();
}

void CheckUserForm::Form_Activate() {
    if (isUnloaded() || !addressUnusable())
        return;
    CheckResult = kNoConnection;
    m_socket.Close();
    Unload();
}

// The id comes first, so the first "/" separates it from the code (which may hold "/" itself).
void CheckUserForm::Winsock_Connect() {
    trapped([this] { send(WireMessage::PdUsers + gOperator.Id + QLatin1Char('/') + gOperator.UserName); });
}

void CheckUserForm::Winsock_DataArrival(const QByteArray& data) {
    trapped([this, &data] {
        const QString message = WireMessage::decode(data);
        if (WireMessage::tag(message) != WireMessage::FailureTag) {
            Unload();
            return;
        }
        CheckResult = WireMessage::payload(message);
        send(WireMessage::KxEnd);
    });
}

void CheckUserForm::Winsock_Close() {
    if (!m_socket.isClosed())
        m_socket.Close();
    serverClosed();
}

void CheckUserForm::Winsock_Error(SessionSocket::ErrorKind, const QString&) {
    CheckResult = kNoConnection;
    m_socket.Close();
    Unload();
}

}  // namespace ztgl
