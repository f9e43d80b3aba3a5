#pragma once

#include <QString>
#include <QStringList>

#include "safekeeping/BackupManifest.h"
#include "safekeeping/SetRow.h"

namespace ztgl {

class WorkProgress;

// Restores a backup, over its own set or as a new set; the outcome goes into the record.
// Before anything changes the backup is checked: it must be a backup of this database kind,
// whole (its content matches its manifest's checksum; on SQL Server the server's file is the
// backup the manifest names and passes RESTORE VERIFYONLY) and hold exactly the tables of the
// current template. Otherwise it is refused (Refusal) with the reason.
// - Over its own set: the set must still be in ZTML; the operator is asked, naming what will be
//   replaced; the set's current state is backed up first (unless its database is gone). The set's
//   ZTML row stays as it is. Access: the backup goes into the live database with the engine's
//   online backup, in one transaction. SQL Server: RESTORE … WITH REPLACE in single-user mode.
// - As a new set: the next free Id, its set code and database name, a ZTML row named after the
//   backed-up set with "（恢复）" (a number added while the name is taken), in use, created today.
class SetRestore {
public:
    explicit SetRestore(WorkProgress& progress) : m_progress(progress) {}

    enum class Outcome { Restored, Declined };
    // Throws Refusal for a backup that may not be restored, RuntimeError on failure (recorded).
    Outcome Run(const QString& file, bool asNew);

    // After Restored: the set restored (the new one, when as new) and, when over its own set, the
    // backup of its state before.
    const SetRow& set() const { return m_set; }
    const QString& backupBefore() const { return m_backupBefore; }
    const QString& recordError() const { return m_recordError; }
    const BackupManifest& manifest() const { return m_manifest; }

    // Why a backup's tables are not the template's ("" when they are): the tables missing and
    // the tables too many, names compared without regard to case.
    static QString TableDifference(const QStringList& backup, const QStringList& templ);
    // The question asked before a set is replaced.
    static QString OverQuestion(const SetRow& set, const BackupManifest& m);

private:
    void checkAccess(const QString& file, const QString& unpacked);
    void checkSqlServer(const QString& file);
    void checkTables(const QStringList& tables);
    Outcome over(const QString& file, const QString& unpacked);
    Outcome asNew(const QString& file, const QString& unpacked);
    void writeSet(const QString& unpacked, const QString& databaseName, bool create);
    QString freeName(const QString& name);

    WorkProgress& m_progress;
    BackupManifest m_manifest;
    SetRow m_set;
    QString m_backupBefore;
    QString m_recordError;
};

}  // namespace ztgl
