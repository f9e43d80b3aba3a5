#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace ztgl::sim {

// What ztgl-server-sim does when a client's message arrives, beyond the normal answers.
//
// A script has one rule a line; empty lines and lines starting with "#" are skipped:
//     WHEN[#N]  ACTION  [ARGUMENT]
// WHEN is the tag of a client's message (KxBegin:, Connect:, DBNAME$:, KXEND$$:, Success:,
// PDUSERS:, compared without regard to case) or "connected" for a new connection. With #N the
// rule holds only for the N-th time the server meets it (counted over all connections); rules
// without #N hold whenever no #N rule does. The rules of one WHEN run in order, in place of the
// normal answer. ACTION is one of:
//     answer          the normal answer of the protocol
//     send TEXT       TEXT as one message, in code page 936; \xHH in TEXT is the byte HH
//     split N TEXT    TEXT in two pieces: its first N bytes, a pause of 200 ms, the rest
//     repeat N TEXT   TEXT followed by "x" up to N bytes in all, as one message
//     pause MS        wait MS milliseconds before the next action
//     close           close the connection
//     silent          nothing at all
class SimScript {
public:
    struct Action {
        enum Kind { Answer, Send, Split, Repeat, Pause, Close, Silent } kind = Silent;
        QByteArray bytes;  // Send, Split, Repeat
        int number = 0;    // Split: bytes of the first piece; Repeat: size; Pause: milliseconds
    };
    struct Rule {
        QString when;      // upper case: a tag of 8 characters, or "CONNECTED"
        int occurrence;    // 0 = any
        Action action;
    };

    // Reads a script; false with "line N: reason" in `error` for a line it does not understand.
    bool parse(const QString& text, QString* error);

    // The actions for the `occurrence`-th meeting of `when` (upper case); empty = no rule, the
    // normal answer goes.
    QVector<Action> actionsFor(const QString& when, int occurrence) const;

    // TEXT with its \xHH escapes: code page 936 bytes.
    static QByteArray bytesOf(const QString& text);

private:
    QVector<Rule> m_rules;
};

}  // namespace ztgl::sim
