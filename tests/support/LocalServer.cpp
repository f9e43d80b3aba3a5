#include "LocalServer.h"

#include <QTcpServer>
#include <stdexcept>

#include "process/Globals.h"

namespace ztgl::test {

LocalServer::LocalServer(const QString& connect, const QString& script, const QString& check) {
    sim::SimSettings settings;
    settings.kind = kAccess;
    settings.connect = connect;
    settings.dbName = QStringLiteral("ZTDEMO");
    settings.check = check;
    QString error;
    if (!settings.script.parse(script, &error))
        throw std::runtime_error("bad server script: " + error.toStdString());
    m_server = std::make_unique<sim::SimServer>(settings);
    if (!m_server->listen(QHostAddress::LocalHost, 0, &error))
        throw std::runtime_error("cannot listen: " + error.toStdString());
}

LocalServer::~LocalServer() = default;

quint16 LocalServer::port() const {
    return m_server->port();
}

QStringList LocalServer::messages() const {
    return m_server->messages();
}

int LocalServer::connections() const {
    return m_server->connections();
}

void LocalServer::aimGlobals() const {
    gServerIP = FixedText(QStringLiteral("127.0.0.1"), 20);
    gServerPort = FixedText(QString::number(port()), 5);
}

quint16 LocalServer::refusedPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("no free port");
    return probe.serverPort();
}

}  // namespace ztgl::test
