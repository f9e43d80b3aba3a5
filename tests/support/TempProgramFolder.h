#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <stdexcept>

#include "JetTestDatabase.h"
#include "ado/JetDatabase.h"
#include "demo/DemoFolder.h"
#include "platform/Codepage936.h"

namespace ztgl::test {

// A program folder of its own for one test, removed with the object: its configuration file
// and the manager's database are written on request.
class TempProgramFolder {
public:
    // The folder without a trailing separator.
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString iniFile() const { return filePath(QStringLiteral("kxconfig.ini")); }
    QString managerFile() const { return filePath(QStringLiteral("KXPUB.MDB")); }

    // kxconfig.ini: raw bytes, or lines in code page 936 joined by CRLF.
    void writeConfigBytes(const QByteArray& bytes) const {
        QFile file(iniFile());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write kxconfig.ini");
    }
    void writeConfig(const QStringList& lines) const {
        writeConfigBytes(cp936::encode(lines.join("\r\n") + "\r\n"));
    }
    // The lines of a single-user configuration of the Access kind for `dataSource`
    // (the folder's KXPUB.MDB when empty).
    QStringList accessConfig(const QString& dataSource = QString()) const {
        return QStringLiteral(
                   "[BASESETUP]|ISWLB=0|[DBCONNECT]|DBTYPE=[Microsoft Access]|PROVIDER=Microsoft.Jet."
                   "OLEDB.4.0|DATA_SOURCE=%1|PASSWORD=|PERSIST_SECURITY_INFO=False")
            .arg(dataSource.isEmpty() ? managerFile() : dataSource)
            .split('|');
    }

    // KXPUB.MDB with the demo tables and the operator admin, then `statements` (Jet dialect).
    void makeManagerDatabase(const QStringList& statements = {}) const {
        ado::CreateJetDatabase(managerFile());
        execSql(managerConnectString(), DemoFolder::managerStatements() + statements);
    }
    // The connection string of KXPUB.MDB.
    QString managerConnectString() const { return JetTestDatabase::connectionStringFor(managerFile()); }

private:
    QTemporaryDir m_dir;
};

}  // namespace ztgl::test
