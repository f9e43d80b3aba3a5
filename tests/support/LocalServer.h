#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "ztgl-server-sim/SimServer.h"

namespace ztgl::test {

// ztgl-server-sim in the test's own process, on a free loopback port: it answers while the
// test's event loop runs (the handshake windows run one).
class LocalServer {
public:
    // Answers with the Access kind, `connect`, the database name ZTDEMO and the user-check
    // result `check`; `script` as ztgl-server-sim reads it.
    explicit LocalServer(const QString& connect = QStringLiteral("Provider=P;Data Source=KXPUB.MDB"),
                         const QString& script = QString(), const QString& check = QStringLiteral("100"));
    ~LocalServer();

    quint16 port() const;
    // "<- message" and "-> message", in order.
    QStringList messages() const;
    int connections() const;
    // gServerIP "127.0.0.1" and gServerPort this server's port, in their fixed widths.
    void aimGlobals() const;
    // A loopback port nobody listens on (it was free a moment ago).
    static quint16 refusedPort();

private:
    std::unique_ptr<sim::SimServer> m_server;
};

}  // namespace ztgl::test
