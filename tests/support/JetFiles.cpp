#include "JetFiles.h"

#include <QFile>
#include <QtEndian>

#include "JetTestDatabase.h"

namespace ztgl::test {

QString JetFiles::path(const QString& name) {
    return QStringLiteral(ZTGL_TEST_DATA_DIR "/jet/") + name;
}

QString JetFiles::copy(const QString& name, const QString& target) {
    write(target, bytes(path(name)));
    return target;
}

QByteArray JetFiles::bytes(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void JetFiles::write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

bool JetFiles::patch(const QString& file, const QByteArray& from, const QByteArray& to) {
    QByteArray b = bytes(file);
    const qsizetype at = b.indexOf(from);
    if (at < 0 || from.size() != to.size())
        return false;
    b.replace(at, to.size(), to);
    write(file, b);
    return true;
}

QByteArray JetFiles::compressed(const QString& text) {
    QByteArray out("\xff\xfe");
    bool oneByte = true;
    for (const QChar c : text) {
        const bool fits = c.unicode() < 256 && c.unicode() != 0;
        if (fits != oneByte) {
            out += '\0';
            oneByte = fits;
        }
        if (fits) {
            out += char(c.unicode());
        } else {
            char two[2];
            qToLittleEndian(c.unicode(), two);
            out += QByteArray(two, 2);
        }
    }
    return out;
}

QString JetFiles::connectionString(const QString& file, const QString& password) {
    return JetTestDatabase::connectionStringFor(file) + password;
}

}  // namespace ztgl::test
