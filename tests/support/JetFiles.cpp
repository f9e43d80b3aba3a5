#include "JetFiles.h"

#include <QFile>
#include <QtEndian>

#include "JetTestDatabase.h"
#include "operators/LoginForm.h"

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

QString JetFiles::encodedPassword() {
    return LoginForm::EncodedPassword(QStringLiteral("x"), QStringLiteral("ag"));
}

QString JetFiles::patchedTestV2000(const QString& target) {
    copy(QStringLiteral("testV2000.mdb"), target);
    // Same lengths as the values they replace: "abcdefg" compressed, "hijklmnop" as plain UTF-16.
    patch(target,
          QByteArray("\xff\xfe"
                     "abcdefg",
                     9),
          compressed(chineseText()));
    patch(target, QByteArray("h\0i\0j\0k\0l\0m\0n\0o\0p\0", 18), compressed(encodedPassword()));
    return target;
}

QString JetFiles::connectionString(const QString& file, const QString& password) {
    return JetTestDatabase::connectionStringFor(file) + password;
}

}  // namespace ztgl::test
