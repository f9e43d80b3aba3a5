#pragma once

#include <QString>

#include "safekeeping/SetRow.h"

namespace ztgl {

class WorkProgress;

// Retires an account set that is no longer used: only a disabled set, after the operator's Yes;
// a backup of it is made and checked first; then its ZTML row goes and, in the same transaction
// with the record's row, its database leaves: Access moves the file into the backup folder
// ("<backup stem>.retired.MDB"), SQL Server drops the database. Should the database not leave, the
// row stays; should the row not go, the file comes back.
class SetRetirement {
public:
    explicit SetRetirement(WorkProgress& progress) : m_progress(progress) {}

    enum class Outcome { Retired, Declined };
    // Throws Refusal for a set that may not be retired, RuntimeError on failure (recorded).
    Outcome Run(const QString& id);

    const SetRow& set() const { return m_set; }
    const QString& backup() const { return m_backup; }
    // Where the database file went (Access); "" on SQL Server.
    const QString& movedTo() const { return m_movedTo; }

    static QString Question(const SetRow& set);

private:
    WorkProgress& m_progress;
    SetRow m_set;
    QString m_backup;
    QString m_movedTo;
};

}  // namespace ztgl
