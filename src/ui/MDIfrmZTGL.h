#pragma once

#include <QMainWindow>
#include <QPointer>

#include "catalogue/MainWindowLogic.h"

class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QMenu;

namespace ztgl::gui {

class FrmZTGL;

// The main window MDIfrmZTGL: the toolbar Toolbar1, the menu Company, and the list window as
// its maximised child. Closing it closes the shared connection; the program ends with it.
class MDIfrmZTGL : public QMainWindow, private MainWindowLogic::View {
    Q_OBJECT
public:
    explicit MDIfrmZTGL(QWidget* parent = nullptr);
    ~MDIfrmZTGL() override;

    MainWindowLogic& logic() { return m_logic; }
    QToolBar* Toolbar1() const { return m_toolbar; }
    QMenu* Company() const { return m_company; }
    QMdiArea* mdiArea() const { return m_mdi; }
    // The list window while it is loaded.
    FrmZTGL* listWindow() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // MainWindowLogic::View
    void loadList() override;
    void bringListToFront() override;
    void unload() override;

    MainWindowLogic m_logic;
    QMdiArea* m_mdi;
    QToolBar* m_toolbar;
    QMenu* m_company;
    QPointer<QMdiSubWindow> m_listSub;
};

}  // namespace ztgl::gui
