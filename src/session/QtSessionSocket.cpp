#include "session/QtSessionSocket.h"

#include <QNetworkProxy>
#include <QTcpSocket>

#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

// The socket layer's number for sending on a connection that is not open.
constexpr int kWrongState = 40006;

}  // namespace

QtSessionSocket::QtSessionSocket() = default;

QtSessionSocket::~QtSessionSocket() {
    Close();
}

QString QtSessionSocket::ErrorText(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return QStringLiteral("连接被拒绝");
        case QAbstractSocket::RemoteHostClosedError:
            return QString();
        case QAbstractSocket::HostNotFoundError:
            return QStringLiteral("找不到服务器主机");
        case QAbstractSocket::SocketAccessError:
            return QStringLiteral("没有使用网络的权限");
        case QAbstractSocket::SocketResourceError:
            return QStringLiteral("本机网络资源不足");
        case QAbstractSocket::SocketTimeoutError:
            return QStringLiteral("连接服务器超时");
        case QAbstractSocket::NetworkError:
            return QStringLiteral("网络出错，连接中断");
        case QAbstractSocket::AddressInUseError:
        case QAbstractSocket::SocketAddressNotAvailableError:
            return QStringLiteral("本机网络地址不可用");
        case QAbstractSocket::UnsupportedSocketOperationError:
            return QStringLiteral("本机不支持这种网络连接");
        case QAbstractSocket::ProxyAuthenticationRequiredError:
        case QAbstractSocket::ProxyConnectionRefusedError:
        case QAbstractSocket::ProxyConnectionClosedError:
        case QAbstractSocket::ProxyConnectionTimeoutError:
        case QAbstractSocket::ProxyNotFoundError:
        case QAbstractSocket::ProxyProtocolError:
            return QStringLiteral("代理服务器出错");
        default:
            break;
    }
    return QStringLiteral("网络连接出错");
}

void QtSessionSocket::newSocket() {
    m_socket = std::make_unique<QTcpSocket>();
    // No proxy: the suite's server stands in the local network.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    m_closedByServer = false;
    QTcpSocket* s = m_socket.get();
    connect(s, &QTcpSocket::connected, this, &QtSessionSocket::onConnected);
    connect(s, &QTcpSocket::readyRead, this, &QtSessionSocket::onReadyRead);
    connect(s, &QTcpSocket::disconnected, this, &QtSessionSocket::onDisconnected);
    connect(s, &QTcpSocket::errorOccurred, this, &QtSessionSocket::onError);
}

void QtSessionSocket::Connect() {
    Close();
    newSocket();
    m_socket->connectToHost(m_host, m_port);
}

void QtSessionSocket::SendData(const QByteArray& data) {
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState)
        throw RuntimeError(kWrongState, QStringLiteral("连接没有建立，不能发送数据"));
    m_socket->write(data);
}

// The old socket may be the one whose signal is being handled: it goes later, deaf from now on.
void QtSessionSocket::Close() {
    if (!m_socket)
        return;
    QTcpSocket* old = m_socket.release();
    old->disconnect(this);
    old->abort();
    old->deleteLater();
}

bool QtSessionSocket::isClosed() const {
    return !m_socket || m_socket->state() == QAbstractSocket::UnconnectedState;
}

void QtSessionSocket::onConnected() {
    if (m_events)
        m_events->Winsock_Connect();
}

void QtSessionSocket::onReadyRead() {
    const QByteArray data = m_socket->readAll();
    if (m_events && !data.isEmpty())
        m_events->Winsock_DataArrival(data);
}

void QtSessionSocket::onDisconnected() {
    if (m_closedByServer)
        return;
    m_closedByServer = true;
    if (m_events)
        m_events->Winsock_Close();
}

void QtSessionSocket::onError(QAbstractSocket::SocketError error) {
    if (error == QAbstractSocket::RemoteHostClosedError) {
        // disconnected follows; should it not, the close is reported here.
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            onDisconnected();
        return;
    }
    if (!m_events)
        return;
    m_events->Winsock_Error(
        error == QAbstractSocket::ConnectionRefusedError ? ErrorKind::ConnectionRefused : ErrorKind::Other,
        ErrorText(error));
}

}  // namespace ztgl
