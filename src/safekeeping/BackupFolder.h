#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

namespace ztgl {

// Where backups go and what they are called.
// - The folder is the value of FOLDER in section BACKUP of kxconfig.ini; a relative path counts
//   from the program folder; without one it is the folder "backup" beside the program. It is made
//   when missing.
// - On SQL Server the server writes its backup files itself, into SERVER_FOLDER of section BACKUP
//   (a folder of the server's machine), or without one beside the manager's database files.
// - A backup is named by set code and the server's time: "BK003_20240305-142007.ztbak", with "_2",
//   "_3" … added when a name is taken, so the names of one set sort in the order made.
class BackupFolder {
public:
    static const QString kSection;  // "BACKUP"

    // The folder, with a trailing separator; made when missing (throws when it cannot be).
    static QString Path();
    // SERVER_FOLDER as written, "" when not set.
    static QString ServerFolder();
    // "BK003_20240305-142007" (+ "_2" …) for which no file "<stem><extension>" exists in `folder`.
    static QString FreeStem(const QString& folder, const QString& setCode, const QDateTime& time,
                            const QString& extension);
    // The backup files of one set in `folder`, oldest first.
    static QStringList Backups(const QString& folder, const QString& setCode);
    // Removes all but the newest `keep` backups of a set, each after `before` has seen it (and not
    // when it throws); returns the files removed.
    static QStringList Prune(const QString& folder, const QString& setCode, int keep,
                             const std::function<void(const QString& file)>& before = {});
};

}  // namespace ztgl
