#pragma once

#include <QObject>
#include <QPointer>

#include "safekeeping/CompanyCommands.h"

class QAction;
class QMdiSubWindow;
class QMenu;

namespace ztgl::gui {

class MDIfrmZTGL;

// The safekeeping commands in the main window's menu Company, put before `before` (the menu's
// first entry when null), and the record window they open as a child of the main window.
class CompanyMenu : public QObject, private CompanyCommands::View {
    Q_OBJECT
public:
    CompanyMenu(MDIfrmZTGL* main, QMenu* menu, QAction* before);
    ~CompanyMenu() override;

    CompanyCommands& logic() { return m_logic; }
    // The record window while it is open.
    QWidget* changeLogWindow() const;

private:
    // CompanyCommands::View
    QString currentSetId() const override;
    QString chooseBackupFile(const QString& folder) override;
    void reloadList() override;
    void showChangeLog() override;

    MDIfrmZTGL* m_main;
    CompanyCommands m_logic;
    QPointer<QMdiSubWindow> m_logSub;
};

}  // namespace ztgl::gui
