#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include "JetTestDatabase.h"
#include "operators/LoginForm.h"

namespace ztgl::test {

// The public Jet test databases of tests/data/jet (Jet 3 and Jet 4 files written by Access), and copies of
// them that tests may change. Inline: the data folder is known to the test programs only.
class JetFiles {
public:
    // The file in the source tree; never to be changed.
    static QString path(const QString& name) {
        return QStringLiteral(ZTGL_TEST_SOURCE_DIR "/data/jet/") + name;
    }
    // A copy of `name` at `target`, writable.
    static QString copy(const QString& name, const QString& target) {
        write(target, bytes(path(name)));
        return target;
    }
    static QByteArray bytes(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    // Text as Jet 4 writes it with Unicode compression: FF FE, then one byte per character below 256, a
    // zero byte switching to two bytes per character and back.
    static QByteArray compressed(const QString& text) {
        QByteArray out("\xff\xfe");
        bool oneByte = true;
        for (const QChar c : text) {
            const bool fits = c.unicode() < 256 && c.unicode() != 0;
            if (fits != oneByte)
                out += '\0';
            oneByte = fits;
            char two[2];
            qToLittleEndian(c.unicode(), two);
            out += fits ? QByteArray(1, two[0]) : QByteArray(two, 2);
        }
        return out;
    }
    // A copy of testV2000.mdb whose first row of Table1 holds, as Jet writes them, Chinese text in column A
    // (chineseText()) and operator x's encoded password in column B (encodedPassword(): compressed text with
    // a control code and the code 128, the euro sign). The values replaced have the same lengths:
    // "abcdefg" compressed, "hijklmnop" as plain UTF-16.
    static QString patchedTestV2000(const QString& target) {
        QByteArray b = bytes(path(QStringLiteral("testV2000.mdb")));
        const QByteArray a(
            "\xff\xfe"
            "abcdefg",
            9),
            h("h\0i\0j\0k\0l\0m\0n\0o\0p\0", 18);
        b.replace(b.indexOf(a), a.size(), compressed(chineseText()));
        b.replace(b.indexOf(h), h.size(), compressed(encodedPassword()));
        write(target, b);
        return target;
    }
    static QString chineseText() { return QStringLiteral("华东区"); }
    static QString encodedPassword() {
        return LoginForm::EncodedPassword(QStringLiteral("x"), QStringLiteral("ag"));
    }
    // The connection string the program builds for an Access file, with this database password.
    static QString connectionString(const QString& file, const QString& password = QString()) {
        return JetTestDatabase::connectionStringFor(file) + password;
    }
};

}  // namespace ztgl::test
