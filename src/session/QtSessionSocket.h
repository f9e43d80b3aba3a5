#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <memory>

#include "session/SessionSocket.h"

class QTcpSocket;

namespace ztgl {

// The handshake windows' socket over QTcpSocket. Qt reports a server that closes first as the
// error RemoteHostClosedError followed by disconnected: both become the one "closed" event.
// Error descriptions are Chinese texts chosen by the error kind (ErrorText), since operators
// read them in the windows' messages.
class QtSessionSocket final : public QObject, public SessionSocket {
    Q_OBJECT
public:
    QtSessionSocket();
    ~QtSessionSocket() override;

    void setEvents(Events* events) override { m_events = events; }
    void setRemoteHost(const QString& host) override { m_host = host; }
    void setRemotePort(quint16 port) override { m_port = port; }
    void Connect() override;
    void SendData(const QByteArray& data) override;
    void Close() override;
    bool isClosed() const override;

    // The description shown for a socket error of this kind; "" for the errors that are no
    // failure of the connection (the server closing it).
    static QString ErrorText(QAbstractSocket::SocketError error);

private:
    void newSocket();
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);

    std::unique_ptr<QTcpSocket> m_socket;
    Events* m_events = nullptr;
    QString m_host;
    quint16 m_port = 0;
    bool m_closedByServer = false;
};

}  // namespace ztgl
