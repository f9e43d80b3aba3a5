#include "safekeeping/BackupFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/ProgramFolder.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/IniFile.h"
#include "safekeeping/BackupFile.h"

namespace ztgl {

const QString BackupFolder::kSection = QStringLiteral("BACKUP");

QString BackupFolder::Path() {
    QString folder = Read_Ini(kSection, QStringLiteral("FOLDER"), gIniFile);
    if (folder.isEmpty())
        folder = QStringLiteral("backup");
    const QString path = QDir(gAppPath).absoluteFilePath(QDir::fromNativeSeparators(folder));
    if (!QDir().mkpath(path))
        throw RuntimeError(RuntimeError::PathNotFound,
                           QStringLiteral("无法建立备份文件夹“%1”。").arg(QDir::toNativeSeparators(path)));
    return WithTrailingSeparator(QDir::toNativeSeparators(QDir::cleanPath(path)));
}

QString BackupFolder::ServerFolder() {
    return Read_Ini(kSection, QStringLiteral("SERVER_FOLDER"), gIniFile);
}

QString BackupFolder::FreeStem(const QString& folder, const QString& setCode, const QDateTime& time,
                               const QString& extension) {
    const QString base = setCode + QLatin1Char('_') + time.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString stem = base;
    for (int n = 2; QFileInfo::exists(folder + stem + extension); ++n)
        stem = base + QStringLiteral("_%1").arg(n);
    return stem;
}

QStringList BackupFolder::Backups(const QString& folder, const QString& setCode) {
    static const QRegularExpression name(QStringLiteral("^(.+)_\\d{8}-\\d{6}(_\\d+)?\\.ztbak$"),
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    const QDir dir(folder);
    for (const QString& file :
         dir.entryList({QLatin1Char('*') + BackupFile::kExtension}, QDir::Files, QDir::Name)) {
        const auto m = name.match(file);
        if (m.hasMatch() && m.captured(1) == setCode)
            out << folder + file;
    }
    // "…-142007.ztbak" before "…-142007_2.ztbak": the plain name sorts after its suffixes.
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        return a.chopped(BackupFile::kExtension.size()) < b.chopped(BackupFile::kExtension.size());
    });
    return out;
}

QStringList BackupFolder::Prune(const QString& folder, const QString& setCode, int keep,
                                const std::function<void(const QString& file)>& before) {
    QStringList removed;
    const QStringList all = Backups(folder, setCode);
    for (int i = 0; i + keep < all.size(); ++i) {
        if (before)
            before(all[i]);
        if (QFile::remove(all[i]))
            removed << all[i];
    }
    return removed;
}

}  // namespace ztgl
