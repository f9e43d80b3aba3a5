#pragma once

#include <QDateTime>
#include <QString>

#include "safekeeping/BackupManifest.h"
#include "safekeeping/SetRow.h"

namespace ado {
class Connection;
}

namespace ztgl {

class WorkProgress;

// Backs up one account set into the backup folder and checks the backup before it counts as
// made; the outcome goes into the record.
// - Access kind: a consistent copy of the set's database taken with the engine's online backup
//   while others may be working in it, checked by the engine, packed into "<stem>.ztbak" with its
//   manifest, then read back whole and compared with the manifest's checksum.
// - SQL Server kind: BACKUP DATABASE … WITH CHECKSUM on the server into its backup folder, then
//   RESTORE VERIFYONLY; the manifest "<stem>.ztbak" stays in the program's backup folder.
class SetBackup {
public:
    explicit SetBackup(WorkProgress& progress) : m_progress(progress) {}

    // The backup file made (the manifest on SQL Server). Throws on failure, recorded as failed;
    // a file that could not be checked is removed. `why` starts the record's detail ("恢复前自动备份").
    QString Run(const SetRow& set, const QString& why = QString());
    // Why the record of the last Run could not be written; "" when it was.
    const QString& recordError() const { return m_recordError; }

    // The manifest's description of a set, its time, operator, workstation and program version.
    static BackupManifest ManifestFor(const SetRow& set, const QDateTime& time);
    // The database server's clock.
    static QDateTime ServerTime();
    // The user tables of an open database, in catalogue order.
    static QStringList UserTables(ado::Connection& conn);
    // The first row's `field` of a query, as text ("" without a row).
    static QString FirstText(ado::Connection& conn, const QString& sql, const QString& field);
    // A Jet connection string of a database file, for reading (`readOnly`) or writing.
    static QString FileConnectString(const QString& file, bool readOnly);
    // SQL Server: the connection to "master" everything runs on; the folder of the manager's
    // database files; the folder the server writes backups into (BACKUP/SERVER_FOLDER, or the
    // former), ending in a separator.
    static QString MasterConnectString();
    static QString ServerDataDirectory(ado::Connection& master);
    static QString ServerBackupDirectory(ado::Connection& master);

private:
    static QString newFile(const SetRow& set, QDateTime* time);
    QString runAccess(const SetRow& set);
    QString runSqlServer(const SetRow& set);

    WorkProgress& m_progress;
    QString m_recordError;
};

}  // namespace ztgl
