#pragma once

#include <QString>
#include <QStringList>

#include "creation/ProgressWindow.h"

namespace ztgl {

// Backing up, restoring and retiring account sets as the operator sees them, in the main window's
// Company menu and in ztgl-admin alike: the progress window over the work (the main window
// unavailable meanwhile), and the outcome in a message in the program's conventions (title
// "提示信息", information icon). A refusal says why; a failure shows the procedure's label and the
// error text. Whoever shows the progress window sets its view factory on progress().
class SafekeepingCommands {
public:
    ProgressWindow& progress() { return m_progress; }

    // The backup file made; "" when none was. With keep > 0 only the newest `keep` backups of the
    // set stay.
    QString BackupSet(const QString& id, int keep = 0);
    // Every set in the catalogue, one after the other; a failure does not stop the others. With
    // keep > 0 only the newest `keep` backups of each set stay. The files made, in order; `failed`
    // receives how many sets failed.
    QStringList BackupAll(int keep, int* failed = nullptr);
    // True when the backup was restored.
    bool Restore(const QString& file, bool asNew);
    // True when the set was retired.
    bool Retire(const QString& id);

private:
    class Busy;

    ProgressWindow m_progress;
};

}  // namespace ztgl
