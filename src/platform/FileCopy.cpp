#include "platform/FileCopy.h"

#include <QFile>
#include <QFileInfo>

#include "platform/KillPoint.h"

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace ztgl {
namespace {

bool syncToDisk(QFile& file) {
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return fsync(file.handle()) == 0;
#endif
}

// The new name itself is on the disk once the folder is (NTFS journals it by itself).
void syncFolderOf(const QString& file) {
#ifndef Q_OS_WIN
    const int fd = open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
#else
    Q_UNUSED(file);
#endif
}

bool copyInto(QFile& in, QFile& out) {
    constexpr qint64 kBlock = 1 << 16;
    bool first = true;
    while (!in.atEnd()) {
        const QByteArray block = in.read(kBlock);
        if (in.error() != QFileDevice::NoError || out.write(block) != block.size())
            return false;
        if (first)
            KillPoint("copy");
        first = false;
    }
    return syncToDisk(out);
}

}  // namespace

bool CopyFileWhole(const QString& from, const QString& to) {
    const QString part = to + QStringLiteral(".part");
    QFile in(from);
    QFile out(part);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // Unbuffered: what copyInto wrote is in the file, not in a buffer of ours.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return false;
    bool ok = copyInto(in, out);
    out.close();
    ok = ok && out.error() == QFileDevice::NoError && QFile::rename(part, to);
    if (!ok)
        QFile::remove(part);
    else
        syncFolderOf(to);
    return ok;
}

}  // namespace ztgl
