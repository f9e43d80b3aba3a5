#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ztgl {

QString WithTrailingSeparator(const QString& folder) {
    const QChar sep = QDir::separator();
    if (folder.endsWith(sep))
        return folder;
    return folder + sep;
}

QString ProgramFolderFor(const QString& executable, const QString& home) {
    QString folder;
    if (!home.isEmpty()) {
        folder = QDir::cleanPath(QFileInfo(home).absoluteFilePath());
    } else {
        const QFileInfo exe(executable);
        const QString real = exe.canonicalFilePath();
        folder = real.isEmpty() ? exe.absolutePath() : QFileInfo(real).absolutePath();
    }
    return WithTrailingSeparator(QDir::toNativeSeparators(folder));
}

QString ProgramFolder() {
    return ProgramFolderFor(QCoreApplication::applicationFilePath(),
                            qEnvironmentVariable(kProgramFolderVariable));
}

bool FolderIsWritable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString FolderNotWritableText(const QString& folder) {
    return QStringLiteral(
               "程序文件夹“%1”不允许当前用户写入。\r\n"
               "请让管理员给这个文件夹加上写权限，或者用环境变量 %2 指定另一个可以写入的程序文件夹。")
        .arg(QDir::toNativeSeparators(folder), QLatin1String(kProgramFolderVariable));
}

}  // namespace ztgl
