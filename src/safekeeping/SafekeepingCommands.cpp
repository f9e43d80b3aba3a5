#include "safekeeping/SafekeepingCommands.h"

#include <QDir>

#include "ado/Connection.h"
#include "creation/TargetConnection.h"
#include "process/Globals.h"
#include "process/UiPort.h"
#include "safekeeping/BackupFile.h"
#include "safekeeping/BackupFolder.h"
#include "safekeeping/Refusal.h"
#include "safekeeping/ServerStatements.h"
#include "safekeeping/SetBackup.h"
#include "safekeeping/SetRestore.h"
#include "safekeeping/SetRetirement.h"
#include "safekeeping/WorkProgress.h"

namespace ztgl {
namespace {

using PW = ProgressWindow;

void inform(const QString& text) {
    MsgBox(text, MsgButtons::Ok, MsgIcon::Information, QStringLiteral("提示信息"));
}

// A refusal by its reason alone; any other failure under the procedure's label.
void report(const QString& label, const std::exception& e) {
    if (dynamic_cast<const Refusal*>(&e))
        inform(errorText(e));
    else
        ReportError(label, e);
}

void warnUnrecorded(const QString& error) {
    if (!error.isEmpty())
        inform(QStringLiteral("操作已经完成，但操作记录未能写入：") + error);
}

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The server's copy of a SQL Server backup goes with its manifest.
void removeServerFile(const QString& manifest) {
    if (gDBType != kSqlServer)
        return;
    const QString serverFile = BackupFile::ReadManifest(manifest).serverFile;
    TargetConnection master;
    master.Open(SetBackup::MasterConnectString());
    master.conn().Execute(ServerStatements::DeleteFile(serverFile));
}

}  // namespace

// The progress window and the unavailable main window for as long as the work runs.
class SafekeepingCommands::Busy {
public:
    Busy(SafekeepingCommands& c, const QString& heading) : m_c(c) {
        ui().setMainWindowEnabled(false);
        m_c.m_progress.Show();
        m_c.m_progress.Refresh();
        m_c.m_progress.setCaption(PW::Label3, heading);
    }
    ~Busy() { end(); }
    void end() {
        if (m_ended)
            return;
        m_ended = true;
        m_c.m_progress.Unload();
        ui().setMainWindowEnabled(true);
    }

private:
    SafekeepingCommands& m_c;
    bool m_ended = false;
};

QString SafekeepingCommands::BackupSet(const QString& id, int keep) {
    std::optional<SetRow> set;
    try {
        set = SetRow::Find(id);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("BackupSet():"), e);
        return QString();
    }
    if (!set) {
        inform(QStringLiteral("没有编号为“%1”的帐套。").arg(id.trimmed()));
        return QString();
    }
    Busy busy(*this, QStringLiteral("正在备份帐套“%1”").arg(set->name));
    WorkProgress work(m_progress);
    SetBackup backup(work);
    QString file;
    try {
        file = backup.Run(*set);
        if (keep > 0)
            BackupFolder::Prune(BackupFolder::Path(), set->code(), keep, &removeServerFile);
    } catch (const std::exception& e) {
        busy.end();
        report(QStringLiteral("BackupSet():"), e);
        return file;
    }
    busy.end();
    inform(QStringLiteral("已经成功备份帐套“%1”！\r\n备份文件：%2").arg(set->name, shown(file)));
    warnUnrecorded(backup.recordError());
    return file;
}

QStringList SafekeepingCommands::BackupAll(int keep, int* failed) {
    int failures = 0;
    QStringList files;
    QString recordError;
    QVector<SetRow> sets;
    QString folder;
    try {
        sets = SetRow::All();
        folder = BackupFolder::Path();
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("BackupAll():"), e);
        if (failed)
            *failed = 1;
        return files;
    }
    if (sets.isEmpty()) {
        inform(QStringLiteral("帐套目录中没有帐套，没有可备份的。"));
        if (failed)
            *failed = 0;
        return files;
    }
    for (int i = 0; i < sets.size(); ++i) {
        const SetRow& set = sets[i];
        Busy busy(*this,
                  QStringLiteral("正在备份帐套“%1”（%2/%3）").arg(set.name).arg(i + 1).arg(sets.size()));
        WorkProgress work(m_progress);
        SetBackup backup(work);
        try {
            files << backup.Run(set);
            if (recordError.isEmpty())
                recordError = backup.recordError();
            if (keep > 0)
                BackupFolder::Prune(folder, set.code(), keep, &removeServerFile);
        } catch (const std::exception& e) {
            busy.end();
            ++failures;
            MsgBox(QStringLiteral("BackupAll()::备份帐套“%1”失败。").arg(set.name) + errorText(e),
                   MsgButtons::Ok, MsgIcon::Information, QStringLiteral("提示信息"));
        }
    }
    if (failures == 0)
        inform(QStringLiteral("已经成功备份全部%1个帐套！\r\n备份文件夹：%2")
                   .arg(sets.size())
                   .arg(shown(folder)));
    else
        inform(QStringLiteral("%1个帐套已经备份，%2个帐套备份失败。\r\n备份文件夹：%3")
                   .arg(files.size())
                   .arg(failures)
                   .arg(shown(folder)));
    warnUnrecorded(recordError);
    if (failed)
        *failed = failures;
    return files;
}

bool SafekeepingCommands::Restore(const QString& file, bool asNew) {
    Busy busy(*this, asNew ? QStringLiteral("正在把备份恢复为新帐套") : QStringLiteral("正在恢复帐套"));
    WorkProgress work(m_progress);
    SetRestore restore(work);
    SetRestore::Outcome outcome;
    try {
        outcome = restore.Run(file, asNew);
    } catch (const std::exception& e) {
        busy.end();
        report(QStringLiteral("RestoreBackup():"), e);
        return false;
    }
    busy.end();
    if (outcome == SetRestore::Outcome::Declined)
        return false;
    const SetRow& set = restore.set();
    if (asNew)
        inform(QStringLiteral("已经成功把备份恢复为新帐套“%1”（编号%2，数据库%3）！")
                   .arg(set.name, set.id, set.databaseName));
    else if (restore.backupBefore().isEmpty())
        inform(QStringLiteral("已经成功恢复帐套“%1”！").arg(set.name));
    else
        inform(QStringLiteral("已经成功恢复帐套“%1”！\r\n恢复前的数据已备份到：%2")
                   .arg(set.name, shown(restore.backupBefore())));
    warnUnrecorded(restore.recordError());
    return true;
}

bool SafekeepingCommands::Retire(const QString& id) {
    Busy busy(*this, QStringLiteral("正在注销帐套"));
    WorkProgress work(m_progress);
    SetRetirement retirement(work);
    SetRetirement::Outcome outcome;
    try {
        outcome = retirement.Run(id);
    } catch (const std::exception& e) {
        busy.end();
        report(QStringLiteral("RetireSet():"), e);
        return false;
    }
    busy.end();
    if (outcome == SetRetirement::Outcome::Declined)
        return false;
    QString text = QStringLiteral("已经注销帐套“%1”！\r\n注销前的备份：%2")
                       .arg(retirement.set().name, shown(retirement.backup()));
    if (!retirement.movedTo().isEmpty())
        text += QStringLiteral("\r\n数据库文件已移到：") + shown(retirement.movedTo());
    inform(text);
    return true;
}

}  // namespace ztgl
