#pragma once

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QStringList>
#include <functional>

#include "SimScript.h"

class QTcpServer;

namespace ztgl::sim {

class SimConnection;

// What the stand-in server tells its clients.
struct SimSettings {
    QString kind;                           // the database kind message, e.g. "[Microsoft Access]"
    QString connect;                        // connection string of the manager's database
    QString dbName;                         // name of the manager's database
    QString check = QStringLiteral("100");  // user-check result
    SimScript script;
};

// ztgl-server-sim: the server side of the suite's pre-login conversation and user check.
// Lock-step as the real server: every client message is answered by one message (or by what
// the script says), and the server waits for the next. Every message received and sent goes to
// the log, one line each.
class SimServer : public QObject {
    Q_OBJECT
public:
    using Log = std::function<void(const QString& line)>;

    explicit SimServer(SimSettings settings, Log log = {});
    ~SimServer() override;

    // Port 0 takes any free port. False with the reason in `error`.
    bool listen(const QHostAddress& address, quint16 port, QString* error);
    quint16 port() const;

    // The messages received and sent so far, as the log shows them, in order ("<- …", "-> …").
    const QStringList& messages() const { return m_messages; }
    int connections() const { return m_connections; }

    // For the connections: the actions for a client's message or a new connection.
    QVector<SimScript::Action> actionsFor(const QString& when);
    const SimSettings& settings() const { return m_settings; }
    void log(int connection, const QString& line);
    void record(const QString& message) { m_messages << message; }

    // A message for the log: the text as it decodes, long ones cut, with the bytes in hex when
    // they are no clean code page 936 text.
    static QString shown(const QByteArray& bytes);

private:
    void onNewConnection();

    SimSettings m_settings;
    Log m_log;
    QTcpServer* m_server;
    QHash<QString, int> m_met;  // occurrences of each WHEN
    QStringList m_messages;
    int m_connections = 0;
};

}  // namespace ztgl::sim
