#include "ado/OdbcDriverChoice.h"

#include <QDir>
#include <QFile>

#include "platform/IniDocument.h"
#include "platform/RuntimeError.h"

namespace ado {

QStringList OdbcDriverChoice::preferred() {
    return {QStringLiteral("ODBC Driver 18 for SQL Server"), QStringLiteral("ODBC Driver 17 for SQL Server"),
            QStringLiteral("FreeTDS")};
}

QString OdbcDriverChoice::odbcinstPath() {
    const QString folder = qEnvironmentVariable("ODBCSYSINI", QStringLiteral("/etc"));
    const QString file = qEnvironmentVariable("ODBCINSTINI", QStringLiteral("odbcinst.ini"));
    return QDir(folder).filePath(file);  // an absolute file name stands on its own
}

QStringList OdbcDriverChoice::installedDrivers(const QString& odbcinstIni) {
    QFile f(odbcinstIni);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList names = ztgl::IniDocument(f.readAll()).sectionNames();
    names.removeIf(
        [](const QString& n) { return n.compare(QLatin1String("ODBC"), Qt::CaseInsensitive) == 0; });
    return names;
}

QString OdbcDriverChoice::choose(const QStringList& installed, const QString& override) {
    if (!override.trimmed().isEmpty())
        return override.trimmed();
    for (const QString& driver : preferred())
        if (installed.contains(driver, Qt::CaseInsensitive))
            return driver;
    return QString();
}

QString OdbcDriverChoice::current() {
    const QString path = odbcinstPath();
    const QString driver = choose(installedDrivers(path), qEnvironmentVariable("ZTGL_ODBC_DRIVER"));
    if (driver.isEmpty()) {
        throw ztgl::RuntimeError(
            3706, QStringLiteral("未找到 SQL Server 的 ODBC 驱动程序：%1 中没有登记 %2。"
                                 "请安装其中之一，或用环境变量 ZTGL_ODBC_DRIVER 指定驱动程序。")
                      .arg(path, preferred().join(QStringLiteral("、"))));
    }
    return driver;
}

}  // namespace ado
