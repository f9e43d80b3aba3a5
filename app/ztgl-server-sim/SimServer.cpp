#include "SimServer.h"

#include <QTcpServer>
#include <QTcpSocket>

#include "SimConnection.h"
#include "platform/Codepage936.h"

namespace ztgl::sim {
namespace {

constexpr int kShownCharacters = 400;
constexpr int kShownBytes = 48;

}  // namespace

SimServer::SimServer(SimSettings settings, Log log)
    : m_settings(std::move(settings)), m_log(std::move(log)), m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &SimServer::onNewConnection);
}

SimServer::~SimServer() = default;

bool SimServer::listen(const QHostAddress& address, quint16 port, QString* error) {
    if (m_server->listen(address, port))
        return true;
    if (error)
        *error = m_server->errorString();
    return false;
}

quint16 SimServer::port() const {
    return m_server->serverPort();
}

QVector<SimScript::Action> SimServer::actionsFor(const QString& when) {
    const int occurrence = ++m_met[when];
    const QVector<SimScript::Action> scripted = m_settings.script.actionsFor(when, occurrence);
    if (!scripted.isEmpty() || when == QLatin1String("CONNECTED"))
        return scripted;
    return {SimScript::Action{SimScript::Action::Answer, {}, 0}};
}

void SimServer::log(int connection, const QString& line) {
    if (m_log)
        m_log(QStringLiteral("[%1] %2").arg(connection).arg(line));
}

QString SimServer::shown(const QByteArray& bytes) {
    const QString text = cp936::decode(bytes);
    QString result = text.size() > kShownCharacters
                         ? text.left(kShownCharacters) + QStringLiteral("…(%1 bytes)").arg(bytes.size())
                         : text;
    if (cp936::encode(text) != bytes) {
        result += QStringLiteral(" (hex: %1%2)")
                      .arg(QString::fromLatin1(bytes.left(kShownBytes).toHex(' ')),
                           bytes.size() > kShownBytes ? QStringLiteral(" …") : QString());
    }
    return result;
}

void SimServer::onNewConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++m_connections;
        new SimConnection(*this, socket, m_connections);
    }
}

}  // namespace ztgl::sim
