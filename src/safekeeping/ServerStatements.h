#pragma once

#include <QString>

namespace ztgl {

// The statements a SQL Server manager's sets are backed up, checked, restored and dropped with.
// They run on a connection to "master"; names of databases are written bare, as the program
// creates them; file names are literals of the server's machine.
class ServerStatements {
public:
    // A copy that leaves the server's own backup sequence alone (COPY_ONLY), with page checksums,
    // into a file of its own (INIT).
    static QString Backup(const QString& database, const QString& serverFile);
    static QString VerifyOnly(const QString& serverFile);
    // One row per backup in the file; its column BackupSetGUID names the backup.
    static QString HeaderOnly(const QString& serverFile);
    // One row per database file in the backup: LogicalName, Type ("D" data, "L" log).
    static QString FileListOnly(const QString& serverFile);
    // Over the set's own database.
    static QString RestoreOver(const QString& database, const QString& serverFile);
    // As a new database, its files moved into the data directory `dataDir` (ending in a separator)
    // as "<database>.mdf" and "<database>.ldf".
    static QString RestoreAsNew(const QString& database, const QString& serverFile,
                                const QString& dataLogical, const QString& logLogical,
                                const QString& dataDir);
    // Other connections are ended before a restore or a drop; the database is opened to all again
    // after a restore.
    static QString SingleUser(const QString& database);
    static QString MultiUser(const QString& database);
    static QString Drop(const QString& database);
    // The set's tables.
    static QString Tables(const QString& database);
    // Removes a backup file of the server's (the rotation of the scheduled backups).
    static QString DeleteFile(const QString& serverFile);
};

}  // namespace ztgl
