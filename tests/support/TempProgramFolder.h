#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace ztgl::test {

// A program folder of its own for one test, removed with the object: its configuration file
// and the manager's database are written on request.
class TempProgramFolder {
public:
    TempProgramFolder();

    // The folder without a trailing separator.
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString iniFile() const { return filePath(QStringLiteral("kxconfig.ini")); }
    QString managerFile() const { return filePath(QStringLiteral("KXPUB.MDB")); }

    // kxconfig.ini: raw bytes, or lines in code page 936 joined by CRLF.
    void writeConfigBytes(const QByteArray& bytes) const;
    void writeConfig(const QStringList& lines) const;
    // The lines of a single-user configuration of the Access kind for `dataSource`
    // (the folder's KXPUB.MDB when empty).
    QStringList accessConfig(const QString& dataSource = QString()) const;

    // KXPUB.MDB with the demo tables and the operator admin, then `statements` (Jet dialect).
    void makeManagerDatabase(const QStringList& statements = {}) const;
    // The connection string of KXPUB.MDB.
    QString managerConnectString() const;

private:
    QTemporaryDir m_dir;
};

}  // namespace ztgl::test
