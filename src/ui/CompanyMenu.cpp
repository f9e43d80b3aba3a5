#include "ui/CompanyMenu.h"

#include <QAction>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "catalogue/AccountSetList.h"
#include "ui/FrmCZRZ.h"
#include "ui/FrmProgressBar.h"
#include "ui/FrmZTGL.h"
#include "ui/MDIfrmZTGL.h"

namespace ztgl::gui {

CompanyMenu::CompanyMenu(MDIfrmZTGL* main, QMenu* menu, QAction* before)
    : QObject(main), m_main(main), m_logic(*this) {
    setObjectName(QStringLiteral("CompanyMenu"));
    m_logic.commands().progress().setViewFactory(FrmProgressBar::factory());
    if (!before && !menu->actions().isEmpty())
        before = menu->actions().first();
    for (const auto& item : CompanyCommands::menuItems()) {
        auto* action = new QAction(item.caption, menu);
        action->setObjectName(item.key);
        const QString key = item.key;
        connect(action, &QAction::triggered, this, [this, key] { m_logic.Company_Click(key); });
        menu->insertAction(before, action);
        if (CompanyCommands::separatorAfter(key))
            menu->insertSeparator(before);
    }
}

CompanyMenu::~CompanyMenu() {
    m_logic.commands().progress().setViewFactory(nullptr);
}

QWidget* CompanyMenu::changeLogWindow() const {
    return m_logSub ? m_logSub->widget() : nullptr;
}

QString CompanyMenu::currentSetId() const {
    FrmZTGL* list = m_main->listWindow();
    if (!list)
        return QString();
    const ListGrid& grid = list->list().grid();
    const QString id = grid.TextMatrix(grid.Row(), AccountSetList::ColId);
    return grid.Row() > 0 && AccountSetList::IsNumeric(id) ? id.trimmed() : QString();
}

QString CompanyMenu::chooseBackupFile(const QString& folder) {
    return QFileDialog::getOpenFileName(m_main, QStringLiteral("选择帐套备份文件"), folder,
                                        QStringLiteral("帐套备份文件 (*.ztbak)"));
}

void CompanyMenu::reloadList() {
    if (FrmZTGL* list = m_main->listWindow())
        list->list().SetMSFlexGrid1Date();
}

void CompanyMenu::showChangeLog() {
    if (m_logSub) {
        static_cast<FrmCZRZ*>(m_logSub->widget())->query();
    } else {
        m_logSub = m_main->mdiArea()->addSubWindow(new FrmCZRZ());
        m_logSub->setAttribute(Qt::WA_DeleteOnClose);
        m_logSub->setWindowIcon(m_main->windowIcon());
        m_logSub->showMaximized();
    }
    m_main->mdiArea()->setActiveSubWindow(m_logSub);
}

}  // namespace ztgl::gui
