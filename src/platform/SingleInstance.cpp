#include "platform/SingleInstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QUrl>

namespace ztgl {
namespace {

// The user's runtime folder (cleared at log-off). Without one (no XDG_RUNTIME_DIR) the shared
// temporary folder, quietly: the file name carries the user so two users never meet.
QString lockFolder() {
#ifdef Q_OS_UNIX
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return QDir::tempPath();
#endif
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

QString lockFileName(const QString& key) {
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return QString::fromLatin1(QUrl::toPercentEncoding(key + QLatin1Char('-') + user)) +
           QStringLiteral(".lock");
}

}  // namespace

SingleInstance::SingleInstance(const QString& key) : m_key(key) {}

SingleInstance::~SingleInstance() = default;  // the lock file goes with the QLockFile

bool SingleInstance::acquire() {
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(QDir(lockFolder()).filePath(lockFileName(m_key)));
    // Only a lock whose process has ended is stale, however long the running copy has held it.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0))
        return true;
    // A lock file that cannot be made at all (folder not writable, disk full) must not keep the
    // operator from working: only a copy that really holds the lock refuses the start.
    return m_lock->error() != QLockFile::LockFailedError;
}

}  // namespace ztgl
