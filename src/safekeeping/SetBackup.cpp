#include "safekeeping/SetBackup.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/JetOnlineCopy.h"
#include "ado/Recordset.h"
#include "audit/ChangeLog.h"
#include "creation/DatabaseCreation.h"
#include "creation/TargetConnection.h"
#include "db/PubSql.h"
#include "operators/LoginForm.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "safekeeping/BackupFile.h"
#include "safekeeping/BackupFolder.h"
#include "safekeeping/ServerStatements.h"
#include "safekeeping/WorkProgress.h"

namespace ztgl {
namespace {

QByteArray checksumOf(const QString& file) {
    QFile in(file);
    QCryptographicHash hash(BackupManifest::kChecksum);
    if (!in.open(QIODevice::ReadOnly) || !hash.addData(&in))
        throw RuntimeError(RuntimeError::PathFileAccess, QStringLiteral("无法读取“%1”。").arg(file));
    return hash.result().toHex();
}

}  // namespace

QStringList SetBackup::UserTables(ado::Connection& conn) {
    QStringList out;
    for (const ado::CatalogTable& t : conn.readCatalog().tables)
        if (t.type == QLatin1String("TABLE"))
            out << t.name;
    return out;
}

QString SetBackup::FirstText(ado::Connection& conn, const QString& sql, const QString& field) {
    ado::Recordset rs;
    rs.Open(sql, conn);
    const QString value = rs.Eof() ? QString() : rs.Fields(field).text();
    rs.Close();
    return value;
}

QString SetBackup::Run(const SetRow& set, const QString& why) {
    m_recordError.clear();
    const ChangeLog::Entry entry{ChangeLog::Backup, set.id, set.name, why};
    QString file;
    try {
        file = gDBType == kSqlServer ? runSqlServer(set) : runAccess(set);
    } catch (const std::exception& e) {
        ChangeLog::Failed(entry, (why.isEmpty() ? QString() : why + QStringLiteral("：")) + errorText(e));
        throw;
    }
    ChangeLog::Entry done = entry;
    done.detail = (why.isEmpty() ? QString() : why + QStringLiteral("，")) + file;
    ChangeLog::Append(done, true, &m_recordError);
    return file;
}

BackupManifest SetBackup::ManifestFor(const SetRow& set, const QDateTime& time) {
    BackupManifest m;
    m.kind = gDBType;
    m.setId = set.id;
    m.setName = set.name;
    m.databaseName = set.databaseName;
    m.createTime = set.createTime;
    m.userFlag = set.userFlag.toString();
    m.setCode = set.code();
    m.time = time;
    m.operatorName = ChangeLog::Actor();
    m.workstation = ChangeLog::Workstation();
    m.program = LoginForm::versionText();
    return m;
}

QDateTime SetBackup::ServerTime() {
    return QDateTime::fromString(Get_ServerTime(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString SetBackup::FileConnectString(const QString& file, bool readOnly) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
           (readOnly ? QStringLiteral(";Mode=Read") : QStringLiteral(";Mode=Read|Write"));
}

QString SetBackup::MasterConnectString() {
    return Get_ZtConnectString(QStringLiteral("master"), gConnectString);
}

QString SetBackup::ServerDataDirectory(ado::Connection& master) {
    return DatabaseCreation::DataDirectory(FirstText(
        master, QStringLiteral("select * from dbo.sysdatabases where name=") + GetSqlVal(gManagerDBName),
        QStringLiteral("FileName")));
}

QString SetBackup::ServerBackupDirectory(ado::Connection& master) {
    QString folder = BackupFolder::ServerFolder();
    if (folder.isEmpty())
        return ServerDataDirectory(master);
    if (!folder.endsWith(QLatin1Char('\\')) && !folder.endsWith(QLatin1Char('/')))
        folder += folder.contains(QLatin1Char('/')) ? QLatin1Char('/') : QLatin1Char('\\');
    return folder;
}

// The backup's file in the backup folder, named by set code and the server's time.
QString SetBackup::newFile(const SetRow& set, QDateTime* time) {
    const QString folder = BackupFolder::Path();
    *time = ServerTime();
    return folder + BackupFolder::FreeStem(folder, set.code(), *time, BackupFile::kExtension) +
           BackupFile::kExtension;
}

QString SetBackup::runAccess(const SetRow& set) {
    QDateTime time;
    const QString file = newFile(set, &time);
    const QString snapshot = file.chopped(BackupFile::kExtension.size()) + QStringLiteral(".snapshot");
    struct Leftovers {
        QString snapshot, file;
        bool done = false;
        ~Leftovers() {
            QFile::remove(snapshot);
            if (!done)
                QFile::remove(file);
        }
    } leftovers{snapshot, file};

    BackupManifest m = ManifestFor(set, time);
    m_progress.step(QStringLiteral("正在读取帐套数据，请稍后……"));
    {
        TargetConnection from;
        from.Open(Get_ZtConnectString(set.databaseName, gConnectString));
        ado::JetOnlineCopyToFile(from.conn(), snapshot,
                                 [this](int done, int total) { m_progress.progress(done, total); });
        from.Close();
        TargetConnection copy;
        copy.Open(FileConnectString(snapshot, true));
        m.tables = UserTables(copy.conn());
        copy.Close();
    }
    m.contentSize = QFile(snapshot).size();
    m.contentChecksum = checksumOf(snapshot);

    const auto progress = [this](qint64 done, qint64 total) { m_progress.progress(done, total); };
    m_progress.step(QStringLiteral("正在压缩备份数据，请稍后……"));
    BackupFile::Write(file, m, snapshot, progress);
    m_progress.step(QStringLiteral("正在校验备份文件，请稍后……"));
    BackupFile::Verify(file, progress);
    leftovers.done = true;
    return file;
}

QString SetBackup::runSqlServer(const SetRow& set) {
    QDateTime time;
    const QString file = newFile(set, &time);

    TargetConnection master;
    master.Open(MasterConnectString());
    BackupManifest m = ManifestFor(set, time);
    m.serverFile =
        ServerBackupDirectory(master.conn()) + QFileInfo(file).completeBaseName() + QStringLiteral(".bak");
    m_progress.step(QStringLiteral("服务器正在备份数据库，请稍后……"));
    master.conn().Execute(ServerStatements::Backup(set.databaseName, m.serverFile));
    m_progress.step(QStringLiteral("服务器正在校验备份，请稍后……"));
    master.conn().Execute(ServerStatements::VerifyOnly(m.serverFile));
    m.backupSetGuid =
        FirstText(master.conn(), ServerStatements::HeaderOnly(m.serverFile), QStringLiteral("BackupSetGUID"));
    ado::Recordset tables;
    tables.Open(ServerStatements::Tables(set.databaseName), master.conn());
    for (; !tables.Eof(); tables.MoveNext())
        m.tables << tables.Fields(QStringLiteral("TABLE_NAME")).text();
    tables.Close();
    master.Close();
    BackupFile::WriteManifest(file, m);
    return file;
}

}  // namespace ztgl
