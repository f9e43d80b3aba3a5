#pragma once

#include <QObject>
#include <deque>

#include "SimScript.h"

class QTcpSocket;

namespace ztgl::sim {

class SimServer;

// One client of ztgl-server-sim: reads each receive as one message, runs the actions it calls
// for in order (pauses included), and goes with its socket.
class SimConnection : public QObject {
    Q_OBJECT
public:
    SimConnection(SimServer& server, QTcpSocket* socket, int number);

private:
    void onReadyRead();
    void onDisconnected();
    void queue(const QString& when, const QVector<SimScript::Action>& actions);
    void run();
    void sendBytes(const QByteArray& bytes);
    // The protocol's answer to a message of this tag; empty when there is none.
    QByteArray answer(const QString& when) const;

    SimServer& m_server;
    QTcpSocket* m_socket;
    int m_number;
    bool m_userCheck = false;  // the conversation began with PDUSERS:
    bool m_waiting = false;    // a pause runs
    struct Step {
        QString when;
        SimScript::Action action;
    };
    std::deque<Step> m_steps;
};

}  // namespace ztgl::sim
