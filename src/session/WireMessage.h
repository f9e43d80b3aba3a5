#pragma once

#include <QByteArray>
#include <QString>

namespace ztgl {

// The messages of the conversations with the suite's server program. A message is a text in code
// page 936 without terminator, length or separator: every receive is exactly one message, and
// nothing is kept from one receive to the next. A message starts with an 8-character tag; the
// payload, where there is one, runs from the ninth character to the end.
class WireMessage {
public:
    // Tags as this client writes them.
    static inline const QString KxBegin = QStringLiteral("KxBegin:");
    static inline const QString Connect = QStringLiteral("Connect:");
    static inline const QString DbName = QStringLiteral("DBNAME$:");
    static inline const QString KxEnd = QStringLiteral("KXEND$$:");
    static inline const QString SuccessReply = QStringLiteral("Success:");
    static inline const QString PdUsers = QStringLiteral("PDUSERS:");
    // Tags of the server's messages, as they are compared: upper case.
    static inline const QString KindTag = QStringLiteral("[MICROSO");  // "[Microsoft Access]" …
    static inline const QString ConnectTag = QStringLiteral("CONNECT:");
    static inline const QString DbNameTag = QStringLiteral("DBNAME$:");
    static inline const QString SuccessTag = QStringLiteral("SUCCESS:");
    static inline const QString ClosedTag = QStringLiteral("CLOSED$:");
    static inline const QString FailureTag = QStringLiteral("FAILURE:");
    static inline const QString RestartTag = QStringLiteral("RESTART:");
    static inline const QString ConnFailTag = QStringLiteral("CONNFAIL");
    static inline const QString ConningTag = QStringLiteral("CONNING:");
    static constexpr int kTagLength = 8;

    // Bytes on the wire and back (code page 936; bytes that form no character read as "?").
    static QByteArray encode(const QString& message);
    static QString decode(const QByteArray& bytes);

    // The first 8 characters in upper case: tags are recognised without regard to case.
    static QString tag(const QString& message);
    // The message from its ninth character on ("" for a message of 8 characters or fewer).
    static QString payload(const QString& message);
};

}  // namespace ztgl
