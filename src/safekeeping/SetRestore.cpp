#include "safekeeping/SetRestore.h"

#include <QFile>
#include <QFileInfo>

#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/JetOnlineCopy.h"
#include "ado/Recordset.h"
#include "audit/ChangeLog.h"
#include "creation/AccountSetEditor.h"
#include "creation/DatabaseCreation.h"
#include "creation/TargetConnection.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "process/UiPort.h"
#include "safekeeping/BackupFile.h"
#include "safekeeping/BackupFolder.h"
#include "safekeeping/Refusal.h"
#include "safekeeping/ServerStatements.h"
#include "safekeeping/SetBackup.h"
#include "safekeeping/WorkProgress.h"

namespace ztgl {
namespace {

const QString kTitle = QStringLiteral("提示信息");
constexpr int kNameWidth = 50;  // ZTMC

bool ask(const QString& question) {
    return MsgBox(question, MsgButtons::YesNo, MsgIcon::Information, kTitle) == MsgAnswer::Yes;
}

QStringList missingFrom(const QStringList& names, const QStringList& others) {
    QStringList out;
    for (const QString& n : names)
        if (!others.contains(n, Qt::CaseInsensitive))
            out << n;
    return out;
}

bool serverHas(ado::Connection& master, const QString& database) {
    return !SetBackup::FirstText(
                master, QStringLiteral("select * from dbo.sysdatabases where name=") + GetSqlVal(database),
                QStringLiteral("name"))
                .isEmpty();
}

}  // namespace

QString SetRestore::TableDifference(const QStringList& backup, const QStringList& templ) {
    QStringList parts;
    const QStringList missing = missingFrom(templ, backup);
    const QStringList extra = missingFrom(backup, templ);
    if (!missing.isEmpty())
        parts << QStringLiteral("缺少表 ") + missing.join(QStringLiteral("、"));
    if (!extra.isEmpty())
        parts << QStringLiteral("多出表 ") + extra.join(QStringLiteral("、"));
    return parts.join(QStringLiteral("；"));
}

QString SetRestore::OverQuestion(const SetRow& set, const BackupManifest& m) {
    return QStringLiteral(
               "将用备份中的数据替换帐套“%1”（编号%2，数据库%3）的全部现有数据。\r\n"
               "备份时间：%4，备份人：%5。\r\n恢复前会先自动备份该帐套的现有数据。\r\n确定要恢复吗？")
        .arg(set.name, set.id, set.databaseName, m.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
             m.operatorName);
}

SetRestore::Outcome SetRestore::Run(const QString& file, bool asNew) {
    m_backupBefore.clear();
    m_recordError.clear();
    m_manifest = BackupManifest();
    QString unpacked;
    try {
        m_manifest = BackupFile::ReadManifest(file);
        if (m_manifest.kind != gDBType)
            throw Refusal(QStringLiteral("这是%1类型帐套的备份，不能恢复到%2类型的帐套目录中。")
                              .arg(m_manifest.kind, gDBType));
        if (gDBType == kSqlServer) {
            checkSqlServer(file);
        } else {
            unpacked = BackupFolder::Path() + QFileInfo(file).completeBaseName() + QStringLiteral(".restore");
            checkAccess(file, unpacked);
        }
        const Outcome outcome = asNew ? this->asNew(file, unpacked) : over(file, unpacked);
        if (!unpacked.isEmpty())
            QFile::remove(unpacked);
        return outcome;
    } catch (const std::exception& e) {
        if (!unpacked.isEmpty())
            QFile::remove(unpacked);
        ChangeLog::Failed({ChangeLog::Restore, m_manifest.setId, m_manifest.setName, QString()},
                          QStringLiteral("从 ") + file + QStringLiteral(" 恢复：") + errorText(e));
        throw;
    }
}

void SetRestore::checkAccess(const QString& file, const QString& unpacked) {
    const auto progress = [this](qint64 done, qint64 total) { m_progress.progress(done, total); };
    m_progress.step(QStringLiteral("正在解开并校验备份数据，请稍后……"));
    BackupFile::Extract(file, unpacked, progress);
    m_progress.step(QStringLiteral("正在核对备份中的表，请稍后……"));
    TargetConnection conn;
    conn.Open(SetBackup::FileConnectString(unpacked, true));
    const QStringList tables = SetBackup::UserTables(conn.conn());
    conn.Close();
    checkTables(tables);
}

void SetRestore::checkSqlServer(const QString& file) {
    const QString& serverFile = m_manifest.serverFile;
    m_progress.step(QStringLiteral("服务器正在校验备份，请稍后……"));
    TargetConnection master;
    master.Open(SetBackup::MasterConnectString());
    QString guid;
    try {
        guid = SetBackup::FirstText(master.conn(), ServerStatements::HeaderOnly(serverFile),
                                    QStringLiteral("BackupSetGUID"));
        master.conn().Execute(ServerStatements::VerifyOnly(serverFile));
    } catch (const std::exception& e) {
        throw Refusal(QStringLiteral("服务器上的备份文件“%1”无法通过校验：%2").arg(serverFile, errorText(e)));
    }
    master.Close();
    if (guid.compare(m_manifest.backupSetGuid, Qt::CaseInsensitive) != 0)
        throw Refusal(
            QStringLiteral("服务器上的备份文件“%1”不是备份清单“%2”所记的那一份备份。").arg(serverFile, file));
    checkTables(m_manifest.tables);
}

void SetRestore::checkTables(const QStringList& tables) {
    if (!QFileInfo::exists(gAppPath + kTemplateFileName))
        throw Refusal(
            QStringLiteral("找不到模板数据库“%1”，无法核对备份中的表。").arg(gAppPath + kTemplateFileName));
    TargetConnection conn;
    conn.Open(TemplateConnectString(gAppPath));
    const QStringList templ = SetBackup::UserTables(conn.conn());
    conn.Close();
    const QString difference = TableDifference(tables, templ);
    if (!difference.isEmpty())
        throw Refusal(QStringLiteral("备份中的表与当前模板的表不一致（%1），不能恢复。").arg(difference));
}

SetRestore::Outcome SetRestore::over(const QString& file, const QString& unpacked) {
    const std::optional<SetRow> found = SetRow::Find(m_manifest.setId);
    if (!found)
        throw Refusal(
            QStringLiteral("帐套目录中已没有编号为“%1”的帐套，只能作为新帐套恢复。").arg(m_manifest.setId));
    m_set = *found;
    if (!ask(OverQuestion(m_set, m_manifest)))
        return Outcome::Declined;
    const QString& d = m_set.databaseName;
    if (gDBType == kSqlServer) {
        TargetConnection master;
        master.Open(SetBackup::MasterConnectString());
        const bool exists = serverHas(master.conn(), d);
        if (exists) {
            m_backupBefore = SetBackup(m_progress).Run(m_set, QStringLiteral("恢复前自动备份"));
            master.conn().Execute(ServerStatements::SingleUser(d));
        }
        m_progress.step(QStringLiteral("服务器正在恢复数据库，请稍后……"));
        try {
            master.conn().Execute(ServerStatements::RestoreOver(d, m_manifest.serverFile));
        } catch (...) {
            if (exists)
                master.conn().Execute(ServerStatements::MultiUser(d));
            throw;
        }
        master.conn().Execute(ServerStatements::MultiUser(d));
    } else {
        const QStringList files = DatabaseCreation::AccessSetFiles(gAppPath, d);
        if (!files.isEmpty())
            m_backupBefore = SetBackup(m_progress).Run(m_set, QStringLiteral("恢复前自动备份"));
        writeSet(unpacked, d, files.isEmpty());
    }
    QString detail = QStringLiteral("从 ") + file + QStringLiteral(" 恢复");
    if (!m_backupBefore.isEmpty())
        detail += QStringLiteral("，恢复前的数据已备份到 ") + m_backupBefore;
    ChangeLog::Append({ChangeLog::Restore, m_set.id, m_set.name, detail}, true, &m_recordError);
    return Outcome::Restored;
}

SetRestore::Outcome SetRestore::asNew(const QString& file, const QString& unpacked) {
    const qint32 id = Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID"));
    if (id <= 0)  // Get_UniqV has told why
        throw RuntimeError(RuntimeError::DatabaseError, QStringLiteral("无法取得新帐套的编号。"));
    m_set = SetRow{QString::number(id), freeName(m_manifest.setName),
                   AccountSetEditor::DatabaseNameFor(QString::number(id)), Get_ServerTime().left(10), 1};
    const QString& d = m_set.databaseName;
    // What undoes the new database when the set cannot be entered in the catalogue.
    std::function<void()> undo;
    if (gDBType == kSqlServer) {
        TargetConnection master;
        master.Open(SetBackup::MasterConnectString());
        if (serverHas(master.conn(), d)) {
            if (!ask(DatabaseCreation::OverwriteQuestion()))
                return Outcome::Declined;
            master.conn().Execute(ServerStatements::Drop(d));
        }
        QString dataLogical, logLogical;
        ado::Recordset files;
        files.Open(ServerStatements::FileListOnly(m_manifest.serverFile), master.conn());
        for (; !files.Eof(); files.MoveNext())
            (files.Fields(QStringLiteral("Type")).text() == QLatin1String("L") ? logLogical : dataLogical) =
                files.Fields(QStringLiteral("LogicalName")).text();
        files.Close();
        m_progress.step(QStringLiteral("服务器正在恢复数据库，请稍后……"));
        master.conn().Execute(ServerStatements::RestoreAsNew(d, m_manifest.serverFile, dataLogical,
                                                             logLogical,
                                                             SetBackup::ServerDataDirectory(master.conn())));
        undo = [d] {
            TargetConnection master;
            master.Open(SetBackup::MasterConnectString());
            master.conn().Execute(ServerStatements::Drop(d));
        };
    } else {
        const QStringList existing = DatabaseCreation::AccessSetFiles(gAppPath, d);
        if (!existing.isEmpty()) {
            if (!ask(DatabaseCreation::OverwriteQuestion()))
                return Outcome::Declined;
            for (const QString& f : existing)
                if (!QFile::remove(f))
                    throw RuntimeError(RuntimeError::PermissionDenied);
        }
        const QString target = gAppPath + d + QStringLiteral(".MDB");
        undo = [target] { QFile::remove(target); };
        try {
            writeSet(unpacked, d, true);
        } catch (...) {
            undo();
            throw;
        }
    }
    const ChangeLog::Entry entry{
        ChangeLog::Restore, m_set.id, m_set.name,
        QStringLiteral("作为新帐套从 ") + file + QStringLiteral(" 恢复，原帐套编号 ") + m_manifest.setId};
    try {
        ChangeLog::Recorded(entry, [this] {
            SharedConn().Execute(QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values(") +
                                 GetSqlVal(m_set.id) + QLatin1Char(',') + GetSqlVal(m_set.name) + QLatin1Char(',') +
                                 GetSqlVal(m_set.databaseName) + QLatin1Char(',') + GetSqlVal(m_set.createTime) +
                                 QStringLiteral(",1)"));
        });
    } catch (...) {
        try {
            undo();
        } catch (...) {
        }
        throw;
    }
    return Outcome::Restored;
}

// The unpacked backup goes into the set's database with the engine's online copy, committed to
// the disk; a missing database is made first, under the name its connection string uses.
void SetRestore::writeSet(const QString& unpacked, const QString& databaseName, bool create) {
    m_progress.step(QStringLiteral("正在写入帐套数据，请稍后……"));
    if (create)
        ado::CreateJetDatabase(gAppPath + databaseName + QStringLiteral(".MDB"));
    TargetConnection from;
    from.Open(SetBackup::FileConnectString(unpacked, true));
    TargetConnection to;
    to.Open(Get_ZtConnectString(databaseName, gConnectString));
    ado::JetOnlineCopy(from.conn(), to.conn(),
                       [this](int done, int total) { m_progress.progress(done, total); });
}

QString SetRestore::freeName(const QString& name) {
    for (int n = 1;; ++n) {
        const QString suffix = n == 1 ? QStringLiteral("（恢复）") : QStringLiteral("（恢复%1）").arg(n);
        const QString candidate = name.trimmed().left(kNameWidth - suffix.size()) + suffix;
        ado::Recordset rs;
        Open_Recordset(rs, QStringLiteral("select * from ZTML where ZTMC=") + GetSqlVal(candidate));
        const bool taken = !rs.Eof();
        Close_Recordset(rs);
        if (!taken)
            return candidate;
    }
}

}  // namespace ztgl
