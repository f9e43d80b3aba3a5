#pragma once

#include "session/HandshakeForm.h"

namespace ztgl {

// The rules of the user-check window w_CheckUser: sends the operator of gOperator to the
// suite's server and keeps the server's answer in CheckResult, which the login dialog reads once
// the window has closed. The window shows no message of its own.
class CheckUserForm final : public HandshakeForm {
public:
    explicit CheckUserForm(SessionSocket& socket);

    QString formName() const override { return QStringLiteral("w_CheckUser"); }
    QString title() const override { return QStringLiteral("【登录服务器】"); }
    QString status() const override { return QStringLiteral("正在登录服务器，请稍候......"); }

    void Form_Load() override;
    void Form_Activate() override;

    // "105" (check not completed) from the load on; the payload of the server's "Failure:";
    // "000" when the address is unusable or the socket fails.
    QString CheckResult;

    static inline const QString kNotCompleted = QStringLiteral("105");
    static inline const QString kNoConnection = QStringLiteral("000");

protected:
    void Winsock_Connect() override;
    void Winsock_DataArrival(const QByteArray& data) override;
    void Winsock_Close() override;
    void Winsock_Error(SessionSocket::ErrorKind kind, const QString& description) override;
};

}  // namespace ztgl
