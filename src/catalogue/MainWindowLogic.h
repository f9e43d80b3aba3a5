#pragma once

#include <QString>
#include <QVector>

namespace ztgl {

// The rules of the main window MDIfrmZTGL: its captions, the toolbar and its dispatch, the
// lifetime of the list window inside it, and what its unloading does.
class MainWindowLogic {
public:
    class View {
    public:
        virtual ~View() = default;
        // Load the list window frmZTGL as a child, maximised (it reads the catalogue).
        virtual void loadList() = 0;
        virtual void bringListToFront() = 0;
        // Unload the main window; its children go with it.
        virtual void unload() = 0;
    };

    struct ToolButton {
        QString caption;
        QString key;
    };
    // Toolbar1's buttons in order.
    static QVector<ToolButton> toolbarButtons();

    explicit MainWindowLogic(View& view) : m_view(view) {}

    // The window caption and the caption of the menu item Company: gTitle.
    static QString caption();

    // Sets nothing itself (the widget shows caption()); shows the list window.
    void MDIForm_Load();
    // Dispatch on the key converted to capitals: ZTGL list, XGMM change password, TCXT quit;
    // any other key does nothing.
    void Toolbar1_ButtonClick(const QString& key);
    // The list window unloaded itself ("关闭(&Q)"): the next ZTGL loads it afresh.
    void listUnloaded() { m_listLoaded = false; }
    bool isListLoaded() const { return m_listLoaded; }
    // Closes and releases the shared connection.
    void MDIForm_Unload();

private:
    void showList();

    View& m_view;
    bool m_listLoaded = false;
};

}  // namespace ztgl
