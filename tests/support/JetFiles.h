#pragma once

#include <QByteArray>
#include <QString>

namespace ztgl::test {

// The public Jet test databases of tests/data/jet (Jet 3 and Jet 4 files written by Access), and copies of
// them that tests may change.
class JetFiles {
public:
    // The file in the source tree; never to be changed.
    static QString path(const QString& name);
    // A copy of `name` at `target`, writable.
    static QString copy(const QString& name, const QString& target);
    static QByteArray bytes(const QString& file);
    static void write(const QString& file, const QByteArray& bytes);
    // Replaces the first occurrence of `from` in the file by `to`, of the same length; false when absent.
    static bool patch(const QString& file, const QByteArray& from, const QByteArray& to);
    // Text as Jet 4 writes it with Unicode compression: FF FE, then one byte per character below 256, a
    // zero byte switching to two bytes per character and back.
    static QByteArray compressed(const QString& text);
    // A copy of testV2000.mdb whose first row of Table1 holds, as Jet writes them, Chinese text in column A
    // (chineseText()) and operator x's encoded password in column B (encodedPassword(): compressed text with
    // a control code and the code 128, the euro sign).
    static QString patchedTestV2000(const QString& target);
    static QString chineseText() { return QStringLiteral("华东区"); }
    static QString encodedPassword();
    // The connection string the program builds for an Access file, with this database password.
    static QString connectionString(const QString& file, const QString& password = QString());
};

}  // namespace ztgl::test
