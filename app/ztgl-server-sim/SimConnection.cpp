#include "SimConnection.h"

#include <QTcpSocket>
#include <QTimer>

#include "SimServer.h"
#include "platform/Codepage936.h"

namespace ztgl::sim {
namespace {

constexpr int kSplitPause = 300;  // ms between the two pieces of a split message
const QString kConnected = QStringLiteral("CONNECTED");

}  // namespace

SimConnection::SimConnection(SimServer& server, QTcpSocket* socket, int number)
    : QObject(&server), m_server(server), m_socket(socket), m_number(number) {
    socket->setParent(this);
    connect(socket, &QTcpSocket::readyRead, this, &SimConnection::onReadyRead);
    connect(socket, &QTcpSocket::disconnected, this, &SimConnection::onDisconnected);
    m_server.log(
        m_number,
        QStringLiteral("connected from %1:%2").arg(socket->peerAddress().toString()).arg(socket->peerPort()));
    queue(kConnected, m_server.actionsFor(kConnected));
    run();
}

void SimConnection::onReadyRead() {
    // One receive is one message, as the client reads it too.
    const QByteArray bytes = m_socket->readAll();
    const QString shown = SimServer::shown(bytes);
    m_server.log(m_number, QStringLiteral("<- ") + shown);
    m_server.record(QStringLiteral("<- ") + shown);
    const QString when = cp936::decode(bytes).left(8).toUpper();
    if (when == QLatin1String("PDUSERS:"))
        m_userCheck = true;
    else if (when == QLatin1String("KXBEGIN:"))
        m_userCheck = false;
    queue(when, m_server.actionsFor(when));
    run();
}

void SimConnection::onDisconnected() {
    m_server.log(m_number, QStringLiteral("connection closed"));
    m_steps.clear();
    deleteLater();
}

void SimConnection::queue(const QString& when, const QVector<SimScript::Action>& actions) {
    for (const SimScript::Action& a : actions)
        m_steps.push_back({when, a});
}

QByteArray SimConnection::answer(const QString& when) const {
    const SimSettings& s = m_server.settings();
    QString message;
    if (when == QLatin1String("KXBEGIN:"))
        message = s.kind;
    else if (when == QLatin1String("CONNECT:"))
        message = QStringLiteral("Connect:") + s.connect;
    else if (when == QLatin1String("DBNAME$:"))
        message = QStringLiteral("DBNAME$:") + s.dbName;
    else if (when == QLatin1String("KXEND$$:"))
        message = m_userCheck ? QStringLiteral("Closed$:") : QStringLiteral("SUCCESS:");
    else if (when == QLatin1String("SUCCESS:"))
        message = QStringLiteral("Closed$:");
    else if (when == QLatin1String("PDUSERS:"))
        message = QStringLiteral("Failure:") + s.check;
    return cp936::encode(message);
}

void SimConnection::run() {
    using A = SimScript::Action;
    while (!m_waiting && !m_steps.empty()) {
        const Step step = m_steps.front();
        m_steps.pop_front();
        const A& a = step.action;
        switch (a.kind) {
            case A::Answer: {
                const QByteArray bytes = answer(step.when);
                if (bytes.isEmpty())
                    m_server.log(m_number, QStringLiteral("(no answer to this)"));
                sendBytes(bytes);
                break;
            }
            case A::Send:
                sendBytes(a.bytes);
                break;
            case A::Split:
                sendBytes(a.bytes.left(a.number));
                m_steps.push_front({step.when, A{A::Send, a.bytes.mid(a.number), 0}});
                m_steps.push_front({step.when, A{A::Pause, {}, kSplitPause}});
                break;
            case A::Repeat: {
                QByteArray bytes = a.bytes;
                if (bytes.size() < a.number)
                    bytes.append(a.number - bytes.size(), 'x');
                sendBytes(bytes);
                break;
            }
            case A::Pause:
                m_waiting = true;
                QTimer::singleShot(a.number, this, [this] {
                    m_waiting = false;
                    run();
                });
                return;
            case A::Close:
                m_server.log(m_number, QStringLiteral("closing the connection"));
                m_steps.clear();
                m_socket->disconnectFromHost();
                return;
            case A::Silent:
                break;
        }
    }
}

void SimConnection::sendBytes(const QByteArray& bytes) {
    if (bytes.isEmpty() || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    m_socket->write(bytes);
    m_socket->flush();
    const QString shown = SimServer::shown(bytes);
    m_server.log(m_number, QStringLiteral("-> ") + shown);
    m_server.record(QStringLiteral("-> ") + shown);
}

}  // namespace ztgl::sim
