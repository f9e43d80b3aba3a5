#include "safekeeping/CompanyCommands.h"

#include "process/UiPort.h"
#include "safekeeping/BackupFolder.h"

namespace ztgl {

QVector<CompanyCommands::MenuItem> CompanyCommands::menuItems() {
    return {{QStringLiteral("备份当前帐套(&B)"), QStringLiteral("BFZT")},
            {QStringLiteral("备份全部帐套(&A)"), QStringLiteral("BFQB")},
            {QStringLiteral("从备份恢复帐套(&R)…"), QStringLiteral("HFZT")},
            {QStringLiteral("从备份恢复为新帐套(&N)…"), QStringLiteral("HFXZ")},
            {QStringLiteral("注销当前帐套(&D)…"), QStringLiteral("ZXZT")},
            {QStringLiteral("操作记录(&L)"), QStringLiteral("CZJL")}};
}

bool CompanyCommands::separatorAfter(const QString& key) {
    return key == QLatin1String("HFXZ") || key == QLatin1String("ZXZT") || key == QLatin1String("CZJL");
}

QString CompanyCommands::currentSet() {
    const QString id = m_view.currentSetId().trimmed();
    if (id.isEmpty())
        MsgBox(QStringLiteral("请先在帐套列表中选中一个帐套。"), MsgButtons::Ok, MsgIcon::Information,
               QStringLiteral("提示信息"));
    return id;
}

void CompanyCommands::Company_Click(const QString& key) {
    const QString command = key.toUpper();
    if (command == QLatin1String("BFZT")) {
        const QString id = currentSet();
        if (!id.isEmpty())
            m_commands.BackupSet(id);
    } else if (command == QLatin1String("BFQB")) {
        m_commands.BackupAll(0);
    } else if (command == QLatin1String("HFZT") || command == QLatin1String("HFXZ")) {
        QString folder;
        try {
            folder = BackupFolder::Path();
        } catch (const std::exception&) {
            // the dialog then starts where it likes
        }
        const QString file = m_view.chooseBackupFile(folder);
        const bool asNew = command == QLatin1String("HFXZ");
        if (!file.isEmpty() && m_commands.Restore(file, asNew) && asNew)
            m_view.reloadList();
    } else if (command == QLatin1String("ZXZT")) {
        const QString id = currentSet();
        if (!id.isEmpty() && m_commands.Retire(id))
            m_view.reloadList();
    } else if (command == QLatin1String("CZJL")) {
        m_view.showChangeLog();
    }
}

}  // namespace ztgl
