#pragma once

#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <memory>
#include <stdexcept>

#include "process/Globals.h"
#include "ztgl-server-sim/SimServer.h"

namespace ztgl::test {

// ztgl-server-sim in the test's own process, on a free loopback port: it answers while the
// test's event loop runs (the handshake windows run one).
class LocalServer {
public:
    // Answers with the Access kind, `connect`, the database name ZTDEMO and the user-check
    // result `check`; `script` as ztgl-server-sim reads it.
    explicit LocalServer(const QString& connect = QStringLiteral("Provider=P;Data Source=KXPUB.MDB"),
                         const QString& script = QString(), const QString& check = QStringLiteral("100")) {
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

    quint16 port() const { return m_server->port(); }
    // "<- message" and "-> message", in order.
    QStringList messages() const { return m_server->messages(); }
    int connections() const { return m_server->connections(); }
    // gServerIP "127.0.0.1" and gServerPort this server's port, in their fixed widths.
    void aimGlobals() const {
        gServerIP = FixedText(QStringLiteral("127.0.0.1"), 20);
        gServerPort = FixedText(QString::number(port()), 5);
    }
    // A loopback port nobody listens on (it was free a moment ago).
    static quint16 refusedPort() {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            throw std::runtime_error("no free port");
        return probe.serverPort();
    }

private:
    std::unique_ptr<sim::SimServer> m_server;
};

}  // namespace ztgl::test
