#include "creation/DatabaseCreation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ado/Recordset.h"
#include "creation/ProgressWindow.h"
#include "creation/SchemaCopy.h"
#include "creation/TargetConnection.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "platform/FileCopy.h"
#include "platform/KillPoint.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl {

namespace {
using PW = ProgressWindow;

// Whether dbo.sysdatabases lists `name`; `fileName` (when asked for) receives the FileName of its
// first row as text, "" when it is null or there is no row.
bool sysdatabasesRow(ado::Connection& conn, const QString& name, QString* fileName = nullptr) {
    ado::Recordset rs;
    rs.Open(QStringLiteral("select * from dbo.sysdatabases where name='") + name + QLatin1Char('\''), conn);
    const bool found = !rs.Eof();
    if (fileName)
        *fileName = found ? rs.Fields(QStringLiteral("FileName")).text() : QString();
    rs.Close();
    return found;
}
}  // namespace

DatabaseCreation::DatabaseCreation(TargetConnection& target, ProgressWindow& progress)
    : m_target(target), m_progress(progress) {}

QString DatabaseCreation::CreateDatabaseStatement(const QString& n, const QString& d) {
    return QStringLiteral("CREATE DATABASE ") + n + QStringLiteral(" ON (NAME = ") + n +
           QStringLiteral("_data,") + QStringLiteral("FILENAME = '") + d + n + QStringLiteral(".mdf',") +
           QStringLiteral("SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 10%)") + QStringLiteral(" LOG ON (NAME = '") +
           n + QStringLiteral("_log',") + QStringLiteral("FILENAME = '") + d + n + QStringLiteral(".ldf',") +
           QStringLiteral("SIZE =2MB,MAXSIZE = 5MB,FILEGROWTH = 5MB)");
}

QString DatabaseCreation::DataDirectory(const QString& fileName) {
    const int cut = std::max(fileName.lastIndexOf(QLatin1Char('\\')), fileName.lastIndexOf(QLatin1Char('/')));
    return fileName.left(cut + 1);
}

QString DatabaseCreation::OverwriteQuestion() {
    return QStringLiteral("将要创建的数据库已经存在，是否要继续创建数据库？") + QStringLiteral("\r\n") +
           QStringLiteral("是，继续创建数据库，覆盖原来的数据库；") + QStringLiteral("\r\n") +
           QStringLiteral("否，停止执行创建数据库！");
}

QStringList DatabaseCreation::AccessSetFiles(const QString& folder, const QString& databaseName) {
    const QString wanted = databaseName + QStringLiteral(".MDB");
    QStringList files;
    for (const QString& entry : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (entry.compare(wanted, Qt::CaseInsensitive) == 0)
            files << folder + entry;
    return files;
}

bool DatabaseCreation::askOverwrite() const {
    return MsgBox(OverwriteQuestion(), MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("提示信息")) ==
           MsgAnswer::Yes;
}

bool DatabaseCreation::CreateDataBase(const QString& databaseName) {
    m_errorPending = false;
    if (!QFileInfo::exists(gAppPath + kTemplateFileName))
        return false;
    gTemplateConnectString = TemplateConnectString(gAppPath);
    m_progress.setCaption(PW::Label1,
                          QStringLiteral("创建数据库") + databaseName + QStringLiteral(",请稍后……"));
    try {
        return gDBType == kAccess ? createAccess(databaseName) : createSqlServer(databaseName);
    } catch (const std::exception&) {
        try {
            m_target.Close();
        } catch (const std::exception&) {
            m_errorPending = true;
        }
        return false;
    }
}

bool DatabaseCreation::createAccess(const QString& databaseName) {
    const QStringList existing = AccessSetFiles(gAppPath, databaseName);
    if (!existing.isEmpty()) {
        if (!askOverwrite())
            return false;
        for (const QString& file : existing)
            if (!QFile::remove(file))
                throw RuntimeError(RuntimeError::PermissionDenied);
    }
    // The set's file appears only complete: a full disk or a killed program leaves no partial
    // copy under a set's name.
    const QString target = gAppPath + databaseName + QStringLiteral(".MDB");
    if (!CopyFileWhole(gAppPath + kTemplateFileName, target))
        throw RuntimeError(RuntimeError::PathFileAccess);
    KillPoint("copied");
    return true;
}

bool DatabaseCreation::createSqlServer(const QString& n) {
    m_target.Open(Get_ZtConnectString(QStringLiteral("master"), gConnectString));
    QString managerFile;
    sysdatabasesRow(m_target.conn(), gManagerDBName, &managerFile);
    const QString create = CreateDatabaseStatement(n, DataDirectory(managerFile));

    if (sysdatabasesRow(m_target.conn(), n)) {
        if (!askOverwrite()) {
            m_target.Close();
            return false;
        }
        m_target.conn().Execute(QStringLiteral("Drop DATABASE ") + n);
    }
    m_target.conn().Execute(create);

    m_target.Close();
    m_target.Open(Get_ZtConnectString(n, gConnectString));
    m_progress.setCaption(PW::Label1, QStringLiteral("准备创建表结构、复制表数据，请稍后……"));
    m_progress.setVisible(PW::ProgressBar1, true);

    ado::Connection& conn = m_target.conn();
    SchemaCopy copy(
        gTemplateConnectString, [&conn](const QString& sql) { conn.Execute(sql); }, m_progress);
    const bool ok = copy.XZBJG();
    m_target.Close();
    return ok;
}

}  // namespace ztgl
