#include "safekeeping/SetRetirement.h"

#include <QFile>
#include <QFileInfo>

#include "ado/Connection.h"
#include "audit/ChangeLog.h"
#include "creation/DatabaseCreation.h"
#include "creation/TargetConnection.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "process/UiPort.h"
#include "safekeeping/BackupFolder.h"
#include "safekeeping/Refusal.h"
#include "safekeeping/ServerStatements.h"
#include "safekeeping/SetBackup.h"
#include "safekeeping/WorkProgress.h"

namespace ztgl {

QString SetRetirement::Question(const SetRow& set) {
    const QString fate = gDBType == kSqlServer ? QStringLiteral("它的数据库将从服务器上删除")
                                               : QStringLiteral("它的数据库文件将移入备份文件夹");
    return QStringLiteral(
               "注销帐套“%1”（编号%2，数据库%3）后，它将从帐套目录中删除，%4。\r\n"
               "注销前会先备份并校验该帐套。\r\n确定要注销吗？")
        .arg(set.name, set.id, set.databaseName, fate);
}

SetRetirement::Outcome SetRetirement::Run(const QString& id) {
    m_backup.clear();
    m_movedTo.clear();
    m_set = SetRow{id.trimmed(), QString(), QString(), QString(), QVariant()};
    ChangeLog::Entry entry{ChangeLog::Retire, m_set.id, QString(), QString()};
    try {
        const std::optional<SetRow> found = SetRow::Find(id);
        if (!found)
            throw Refusal(QStringLiteral("没有编号为“%1”的帐套。").arg(id.trimmed()));
        m_set = *found;
        entry.setName = m_set.name;
        if (!m_set.disabled())
            throw Refusal(QStringLiteral("只能注销已停用的帐套，请先停用帐套“%1”。").arg(m_set.name));
        if (MsgBox(Question(m_set), MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("提示信息")) !=
            MsgAnswer::Yes)
            return Outcome::Declined;
        m_backup = SetBackup(m_progress).Run(m_set, QStringLiteral("注销前备份"));

        m_progress.step(QStringLiteral("正在注销帐套，请稍后……"));
        const QString deleteRow = QStringLiteral("delete from ZTML where Id=") + GetSqlVal(m_set.id);
        const QString& d = m_set.databaseName;
        if (gDBType == kSqlServer) {
            entry.detail = QStringLiteral("备份 ") + m_backup + QStringLiteral("，数据库已删除");
            TargetConnection master;
            master.Open(SetBackup::MasterConnectString());
            ChangeLog::Recorded(entry, [&] {
                SharedConn().Execute(deleteRow);
                master.conn().Execute(ServerStatements::SingleUser(d));
                try {
                    master.conn().Execute(ServerStatements::Drop(d));
                } catch (...) {
                    master.conn().Execute(ServerStatements::MultiUser(d));
                    throw;
                }
            });
        } else {
            const QStringList files = DatabaseCreation::AccessSetFiles(gAppPath, d);
            const QString from = files.value(0);
            const QString to = BackupFolder::Path() + QFileInfo(m_backup).completeBaseName() +
                               QStringLiteral(".retired.MDB");
            entry.detail = QStringLiteral("备份 ") + m_backup + QStringLiteral("，数据库文件移到 ") + to;
            bool moved = false;
            try {
                ChangeLog::Recorded(entry, [&] {
                    SharedConn().Execute(deleteRow);
                    if (!QFile::rename(from, to))
                        throw RuntimeError(RuntimeError::PermissionDenied,
                                           QStringLiteral("无法把“%1”移到“%2”。").arg(from, to));
                    moved = true;
                });
            } catch (...) {
                if (moved)
                    QFile::rename(to, from);
                throw;
            }
            m_movedTo = to;
        }
        return Outcome::Retired;
    } catch (const std::exception& e) {
        ChangeLog::Failed(entry, errorText(e));
        throw;
    }
}

}  // namespace ztgl
