#include "ado/DatabaseFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace ado {

DatabaseFormat::Kind DatabaseFormat::of(const QString& path) {
    const QFileInfo fi(path);
    if (!fi.exists())
        return Missing;
    QFile f(path);
    if (fi.isDir() || !f.open(QIODevice::ReadOnly))
        return Unreadable;
    const QByteArray head = f.read(100);
    if (head.size() == 100 && head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return Embedded;
    if (head.size() < 0x18)
        return Unknown;
    // Bytes 4 to 18 name the engine; the 32-bit number at 0x14 its version (0 Jet 3, 1 Jet 4, 2 and up
    // the ACE versions).
    const QByteArray mark = head.mid(4, 15);
    const quint32 version = qFromLittleEndian<quint32>(head.constData() + 0x14);
    if (mark == "Standard ACE DB")
        return Ace;
    if (mark != "Standard Jet DB")
        return Unknown;
    switch (version) {
        case 0:
            return Jet3;
        case 1:
            return Jet4;
        default:
            return version <= 0xff ? Ace : Unknown;
    }
}

int DatabaseFormat::pageSize(Kind kind) {
    switch (kind) {
        case Jet3:
            return 2048;
        case Jet4:
            return 4096;
        default:
            return 0;
    }
}

}  // namespace ado
