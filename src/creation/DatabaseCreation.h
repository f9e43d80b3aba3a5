#pragma once

#include <QString>
#include <QStringList>

namespace ztgl {

class ProgressWindow;
class TargetConnection;

// CreateDataBase: makes the database of a new account set, by the manager's database kind.
// Access: a byte copy of the template file beside the program. SQL Server: CREATE DATABASE with
// its files beside the manager's database, then every template table and its rows (SchemaCopy).
class DatabaseCreation {
public:
    // `target` is the editor's own connection; it is used on "master" and on the new database and
    // released again before CreateDataBase returns.
    DatabaseCreation(TargetConnection& target, ProgressWindow& progress);

    // True when the database was made. False, with no message of its own, when the template is
    // missing, the operator declines to overwrite, or any step fails (what was done stays done).
    bool CreateDataBase(const QString& databaseName);
    // After a False: an error that CreateDataBase could not absorb is still pending (winding up
    // after a failure failed too, e.g. the connection to the server could not even be closed).
    bool errorPending() const { return m_errorPending; }

    // The CREATE DATABASE statement for database n with its files in data directory d.
    static QString CreateDatabaseStatement(const QString& n, const QString& d);
    // The directory part of a database file name, up to and with its last "\" or "/" (a server on
    // Linux reports "/" paths); empty when there is neither.
    static QString DataDirectory(const QString& fileName);
    // Text of the question asked before an existing database is replaced.
    static QString OverwriteQuestion();
    // The files of the Access account set `databaseName` in `folder` (ending in a separator).
    // Every set's connection string names its file "<name>.MDB" (the manager's "KXPUB.MDB" with
    // the name put in), so a new set is written under exactly that spelling: on a file system
    // that tells case apart, the set made must be the set later opened. Existing files whose
    // names differ from it only in case (say "<name>.mdb" copied from Windows) are the same set
    // to Windows, so they are what the overwrite question is about, and Yes removes them all.
    static QStringList AccessSetFiles(const QString& folder, const QString& databaseName);

private:
    bool createAccess(const QString& databaseName);
    bool createSqlServer(const QString& databaseName);
    bool askOverwrite() const;

    TargetConnection& m_target;
    ProgressWindow& m_progress;
    bool m_errorPending = false;
};

}  // namespace ztgl
