#include "migration/JetImport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ado/Connection.h"
#include "ado/DatabaseFormat.h"
#include "ado/JetError.h"
#include "audit/ChangeLog.h"
#include "migration/DatabaseConverter.h"
#include "platform/RuntimeError.h"
#include "process/IniFile.h"

namespace ztgl {
namespace {

// The files are only read through this string: the Jet provider, as the program names it.
QString readingConnectionString(const QString& file, const QString& password) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=") +
           file + QStringLiteral(";Mode=Read;Jet OLEDB:Database Password=") + password;
}

}  // namespace

QString JetImport::keptName(const QString& file) {
    const QString base = file + QStringLiteral(".access-original");
    QString name = base;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + QLatin1Char('-') + QString::number(n);
    return name;
}

QString JetImport::find(const QString& name) const {
    const QDir dir(m_folder);
    if (QFileInfo(dir.filePath(name)).isFile())
        return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return QString();
}

QStringList JetImport::setDatabases(const QString& manager, const QString& password) {
    ado::Connection c;
    c.setConnectionString(readingConnectionString(manager, password));
    c.Open();
    bool hasCatalogue = false;
    for (const auto& t : c.readCatalog().tables)
        hasCatalogue = hasCatalogue || t.name.compare(QLatin1String("ZTML"), Qt::CaseInsensitive) == 0;
    QStringList out;
    if (!hasCatalogue) {
        m_say(QStringLiteral("%1 中没有帐套目录（表 ZTML），没有帐套数据库要转换。")
                  .arg(QFileInfo(manager).fileName()),
              false);
        return out;
    }
    const ado::RowSet rows = c.query(QStringLiteral("select * from ZTML"));
    const auto columnOf = [&rows](const char* name) {
        for (int i = 0; i < rows.fields.size(); ++i)
            if (rows.fields[i].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const int column = columnOf("ZTLJ");
    const int idColumn = columnOf("ID");
    const int nameColumn = columnOf("ZTMC");
    for (const auto& row : rows.rows) {
        const QString name = row.value(column).toString().trimmed();
        if (name.isEmpty())
            continue;
        const QString file = find(name + QStringLiteral(".MDB"));
        if (file.isEmpty())
            m_say(QStringLiteral("帐套数据库 %1.MDB 不在程序文件夹中，跳过。").arg(name), false);
        else if (!out.contains(file)) {
            out << file;
            m_sets.insert(file, {row.value(idColumn).toString(), row.value(nameColumn).toString()});
        }
    }
    c.Close();
    return out;
}

bool JetImport::run() {
    if (!QFileInfo(m_folder).isDir()) {
        m_say(QStringLiteral("程序文件夹不存在：") + m_folder, true);
        return false;
    }
    const QString ini = QDir(m_folder).filePath(QStringLiteral("kxconfig.ini"));
    // The manager's password, which the sets made from it share; a file without a password takes any.
    const QString password = QFileInfo::exists(ini)
                                 ? Read_Ini(QStringLiteral("DBCONNECT"), QStringLiteral("PASSWORD"), ini)
                                 : QString();
    const QString manager = find(QStringLiteral("KXPUB.MDB"));
    const QString templateFile = find(QStringLiteral("MWMSD_NULL.mdb"));
    QStringList files;
    if (!manager.isEmpty())
        files << manager;
    if (!templateFile.isEmpty())
        files << templateFile;
    if (!manager.isEmpty()) {
        try {
            files += setDatabases(manager, password);
        } catch (const std::exception& e) {
            m_say(QStringLiteral("%1：无法读取帐套目录。%2\n没有转换任何文件。")
                      .arg(QFileInfo(manager).fileName(), errorText(e)),
                  true);
            return false;
        }
    }
    if (files.isEmpty()) {
        m_say(QStringLiteral("程序文件夹中没有 KXPUB.MDB 和 MWMSD_NULL.mdb，没有要转换的数据库。"), false);
        return true;
    }
    for (const QString& file : files)
        if (!convert(file, password))
            return false;
    m_say(QStringLiteral("完成：转换了 %1 个数据库，%2 个原已是本程序的格式。")
              .arg(m_converted)
              .arg(m_alreadyOurs),
          false);
    return true;
}

bool JetImport::convert(const QString& file, const QString& password) {
    const QString shown = QFileInfo(file).fileName();
    const auto outcome = [&](bool converted, const QString& detail) {
        const auto set = m_sets.value(file);
        m_outcomes.append({file, set.first, set.second, converted, shown + QStringLiteral("：") + detail});
    };
    const auto fail = [&](const QString& why) {
        outcome(false, why);
        m_say(
            QStringLiteral("%1：无法转换。%2\n原文件没有任何改动，其后的数据库也没有转换。").arg(shown, why),
            true);
        return false;
    };
    switch (ado::DatabaseFormat::of(file)) {
        case ado::DatabaseFormat::Embedded:
            m_say(QStringLiteral("%1：已是本程序的格式，无需转换。").arg(shown), false);
            ++m_alreadyOurs;
            return true;
        case ado::DatabaseFormat::Jet3:
        case ado::DatabaseFormat::Jet4:
            break;
        case ado::DatabaseFormat::Ace:
            return fail(ado::JetError::aceFormat(file).description());
        default:
            return fail(ado::JetError::unrecognisedFormat(file).description());
    }
    m_say(QStringLiteral("正在转换 %1 ……").arg(shown), false);
    const QString made = file + QStringLiteral(".import-tmp");
    QFile::remove(made);  // left by a run that was interrupted
    DatabaseConverter::Summary summary;
    try {
        summary = DatabaseConverter::convert(readingConnectionString(file, password), made);
    } catch (const std::exception& e) {
        return fail(errorText(e));
    }
    const QString kept = keptName(file);
    if (!QFile::rename(file, kept)) {
        QFile::remove(made);
        return fail(QStringLiteral("原文件无法改名为 %1。").arg(QFileInfo(kept).fileName()));
    }
    if (!QFile::rename(made, file)) {
        QFile::rename(kept, file);
        QFile::remove(made);
        return fail(QStringLiteral("新文件无法改名为 %1。").arg(shown));
    }
    const QString done =
        QStringLiteral("已转换为本程序的格式（%1 个表，%2 行，逐表核对了结构、行数和全部数据）；原文件保存为 %3。")
            .arg(summary.tables)
            .arg(summary.rows)
            .arg(QFileInfo(kept).fileName());
    outcome(true, done);
    m_say(shown + QStringLiteral("：") + done, false);
    ++m_converted;
    return true;
}

bool JetImport::record(QString* error) const {
    for (const Outcome& o : m_outcomes)
        if (!ChangeLog::Append({ChangeLog::Import, o.setId, o.setName, o.detail}, o.converted, error))
            return false;
    return true;
}

}  // namespace ztgl
