#include "catalogue/MainWindowLogic.h"

#include "db/PubSql.h"
#include "operators/ChangePasswordForm.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl {

QVector<MainWindowLogic::ToolButton> MainWindowLogic::toolbarButtons() {
    return {{QStringLiteral("帐套管理"), QStringLiteral("ZTGL")},
            {QStringLiteral("修改密码"), QStringLiteral("XGMM")},
            {QStringLiteral("退出系统"), QStringLiteral("TCXT")}};
}

QString MainWindowLogic::caption() {
    return gTitle;
}

void MainWindowLogic::MDIForm_Load() {
    showList();
}

void MainWindowLogic::Toolbar1_ButtonClick(const QString& key) {
    const QString command = key.toUpper();
    if (command == QLatin1String("ZTGL")) {
        showList();
    } else if (command == QLatin1String("XGMM")) {
        ChangePasswordForm form;
        ui().showModal(form);
    } else if (command == QLatin1String("TCXT")) {
        m_view.unload();
    }
}

void MainWindowLogic::MDIForm_Unload() {
    Close_Connect();
}

void MainWindowLogic::showList() {
    // An open list is only brought forward: it does not read the catalogue again.
    if (!m_listLoaded) {
        m_view.loadList();
        m_listLoaded = true;
    }
    m_view.bringListToFront();
}

}  // namespace ztgl
