#pragma once

#include <QByteArray>
#include <QString>

namespace ztgl {

// The TCP client of the handshake windows: remote host and port, connect, send, close, and the
// four events connected, data arrived, closed by the server and error, delivered on the one
// user-interface thread. After Close() no event of the old connection arrives any more.
class SessionSocket {
public:
    // What went wrong, as far as the windows tell the cases apart.
    enum class ErrorKind {
        ConnectionRefused,  // nothing listens at the address and port
        Other,              // everything else; the description says what
    };

    class Events {
    public:
        virtual ~Events() = default;
        virtual void Winsock_Connect() = 0;
        // All bytes that arrived since the last event: one message.
        virtual void Winsock_DataArrival(const QByteArray& data) = 0;
        // The server closed the connection.
        virtual void Winsock_Close() = 0;
        virtual void Winsock_Error(ErrorKind kind, const QString& description) = 0;
    };

    virtual ~SessionSocket() = default;
    virtual void setEvents(Events* events) = 0;

    virtual void setRemoteHost(const QString& host) = 0;
    virtual void setRemotePort(quint16 port) = 0;
    // Starts connecting; the outcome comes as an event.
    virtual void Connect() = 0;
    // Throws RuntimeError when the socket is not connected.
    virtual void SendData(const QByteArray& data) = 0;
    virtual void Close() = 0;
    virtual bool isClosed() const = 0;
};

}  // namespace ztgl
