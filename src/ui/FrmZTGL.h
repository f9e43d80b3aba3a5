#pragma once

#include <QList>
#include <QWidget>

#include "catalogue/AccountSetList.h"
#include "catalogue/ListGrid.h"

class QAbstractButton;
class QTableView;

namespace ztgl::gui {

class ListGridModel;

// The account-set list window, a child of the main window: shows the state of AccountSetList
// (the grid, the six buttons) and forwards clicks, double clicks, keyboard moves and resizes.
class FrmZTGL : public QWidget, private ListGrid::Listener {
    Q_OBJECT
public:
    explicit FrmZTGL(QWidget* parent = nullptr);
    ~FrmZTGL() override;

    AccountSetList& list() { return m_list; }
    QTableView* MSFlexGrid1() const { return m_grid; }
    QAbstractButton* command1(int index) const { return m_buttons.at(index); }

signals:
    // The window unloaded itself ("关闭(&Q)").
    void unloaded();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void unload();
    void showButtons();
    void applyColumnWidths();
    int headerTextWidth(const QString& text) const;

    // ListGrid::Listener
    void gridReset() override;
    void currentRowChanged(int row) override;
    void columnWidthChanged(int col) override;

    AccountSetList m_list;
    QTableView* m_grid;
    ListGridModel* m_model;
    QList<QAbstractButton*> m_buttons;
};

}  // namespace ztgl::gui
