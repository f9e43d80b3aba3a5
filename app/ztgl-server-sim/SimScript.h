#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

namespace ztgl::sim {

// What ztgl-server-sim does when a client's message arrives, beyond the normal answers: rules
// "WHEN[#N] ACTION [ARGUMENT]", one a line, as ztgl-server-sim --help describes them (main.cpp).
class SimScript {
public:
    struct Action {
        enum Kind { Answer, Send, Split, Repeat, Pause, Close, Silent } kind = Silent;
        QByteArray bytes;  // Send, Split, Repeat
        int number = 0;    // Split: bytes of the first piece; Repeat: size; Pause: milliseconds
    };
    struct Rule {
        QString when;    // upper case: a tag of 8 characters, or "CONNECTED"
        int occurrence;  // 0 = any
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
