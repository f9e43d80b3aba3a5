#include "ado/JetDatabase.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ado/JetError.h"

namespace ado {

void CreateJetDatabase(const QString& file) {
    const QFileInfo fi(file);
    if (fi.exists())
        throw JetError::alreadyExists(file);
    if (file.trimmed().isEmpty() || !fi.absoluteDir().exists())
        throw JetError::invalidPath(file);
    sqlite3* db = nullptr;
    const QByteArray path = QFile::encodeName(fi.absoluteFilePath());
    int rc = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // The engine writes nothing until asked to; the application id gives the file its header at once (an
    // empty file is not a database) and marks it as one of ours ("ZTGL").
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "PRAGMA application_id = 1515472716", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const auto error = JetError::fromEngine(sqlite3_extended_errcode(db),
                                                QString::fromUtf8(sqlite3_errmsg(db)), QString(), file);
        sqlite3_close(db);
        QFile::remove(fi.absoluteFilePath());
        throw error;
    }
    sqlite3_close(db);
}

}  // namespace ado
