#include "session/WireMessage.h"

#include "platform/Codepage936.h"

namespace ztgl {

QByteArray WireMessage::encode(const QString& message) {
    return cp936::encode(message);
}

QString WireMessage::decode(const QByteArray& bytes) {
    return cp936::decode(bytes);
}

QString WireMessage::tag(const QString& message) {
    return message.left(kTagLength).toUpper();
}

QString WireMessage::payload(const QString& message) {
    return message.mid(kTagLength);
}

}  // namespace ztgl
