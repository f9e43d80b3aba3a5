#include "ado/JetOnlineCopy.h"

#include <sqlite3.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include "ado/Connection.h"
#include "ado/ConnectionString.h"
#include "ado/JetError.h"
#include "ado/JetStatement.h"

namespace ado {
namespace {

using ztgl::RuntimeError;

// 256 pages of 4 KiB: a step short enough to let the window repaint between steps.
constexpr int kPagesPerStep = 256;
// After this many restarts by other writers the rest is copied in one step.
constexpr int kRestartsBeforeOneStep = 3;
// How long a locked database is waited for.
constexpr int kLockedWaitMs = 10000;

QString fileOf(const Connection& conn) {
    return ConnectionString(conn.connectionString()).value(QStringLiteral("Data Source")).trimmed();
}

RuntimeError engineError(sqlite3* db, int rc, const QString& file) {
    return JetError::fromEngine(rc, QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)),
                                QString(), file);
}

// The engine's own check of the copy's pages and records.
void quickCheck(sqlite3* db, const QString& file) {
    JetStatement st(db, QStringLiteral("PRAGMA quick_check"), file);
    const QString answer = st.step() ? st.value(0).toString() : QString();
    if (answer != QLatin1String("ok"))
        throw RuntimeError(3049, QStringLiteral("数据库“%1”已损坏：%2").arg(file, answer));
}

// A database of the embedded engine's own; a file in Jet's own format (read through libmdb) or a
// server's database cannot be copied this way.
sqlite3* handleOf(Connection& conn) {
    sqlite3* db = conn.sqliteHandle();
    if (!db)
        throw RuntimeError(3251, QStringLiteral("“%1”不是本程序数据库引擎的文件，不能在线复制"
                                                "（Jet 格式的 .MDB 请先用 ztgl-admin import 转换）。")
                                     .arg(fileOf(conn)));
    return db;
}

void copyPages(sqlite3* source, const QString& sourceFile, sqlite3* target, const QString& targetFile,
               const CopyProgress& progress) {
    sqlite3_backup* copy = sqlite3_backup_init(target, "main", source, "main");
    if (!copy)
        throw engineError(target, sqlite3_extended_errcode(target), targetFile);
    int restarts = 0;
    int lastDone = 0;
    QElapsedTimer locked;
    for (;;) {
        const int rc = sqlite3_backup_step(copy, restarts >= kRestartsBeforeOneStep ? -1 : kPagesPerStep);
        const int total = sqlite3_backup_pagecount(copy);
        const int done = total - sqlite3_backup_remaining(copy);
        if (done < lastDone)  // another connection wrote the source: the engine began again
            ++restarts;
        lastDone = done;
        if (progress)
            progress(done, total);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_OK) {
            locked.invalidate();
            continue;
        }
        if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
            if (!locked.isValid())
                locked.start();
            if (locked.elapsed() < kLockedWaitMs) {
                sqlite3_sleep(20);
                continue;
            }
            sqlite3_backup_finish(copy);
            throw JetError::inUse(sourceFile);
        }
        sqlite3_backup_finish(copy);
        throw engineError(target, rc, targetFile);
    }
    const int rc = sqlite3_backup_finish(copy);
    if (rc != SQLITE_OK)
        throw engineError(target, rc, targetFile);
    quickCheck(target, targetFile);
}

}  // namespace

void JetOnlineCopy(Connection& from, Connection& to, const CopyProgress& progress) {
    copyPages(handleOf(from), fileOf(from), handleOf(to), fileOf(to), progress);
}

void JetOnlineCopyToFile(Connection& from, const QString& file, const CopyProgress& progress) {
    sqlite3* source = handleOf(from);
    if (QFileInfo::exists(file))
        throw JetError::alreadyExists(file);
    sqlite3* target = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &target,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(target, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr,
                          nullptr);
    try {
        if (rc != SQLITE_OK)
            throw engineError(target, rc, file);
        copyPages(source, fileOf(from), target, file, progress);
    } catch (...) {
        sqlite3_close(target);
        throw;
    }
    sqlite3_close(target);
}

}  // namespace ado
