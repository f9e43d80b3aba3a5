#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace ztgl {

QString WithTrailingSeparator(const QString& folder) {
    const QChar sep = QDir::separator();
    if (folder.endsWith(sep)) return folder;
    return folder + sep;
}

QString ProgramFolder() {
    return WithTrailingSeparator(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

}  // namespace ztgl
