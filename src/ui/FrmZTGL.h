#pragma once

#include <QList>
#include <QPointF>
#include <QWidget>
#include <optional>

#include "catalogue/AccountSetList.h"
#include "catalogue/ListGrid.h"

class QAbstractButton;
class QModelIndex;
class QMouseEvent;
class QTableView;

namespace ztgl::gui {

class ListGridModel;

// The account-set list window, a child of the main window: shows the state of AccountSetList
// (the grid, the six buttons) and forwards clicks, double clicks, keyboard moves and resizes.
// The grid behaves as a flex grid: Tab leaves it for the next control (the buttons from left to
// right); only the operator moves its current row (arrow and page keys, a mouse press on a row),
// and a drag never does; a release of the left button anywhere on it is a click on the current
// row, and so is Space, the keyboard's way to the click rules.
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
    int textAdvance(const QString& text) const;
    // The view's current row moved: to the list when the operator moved it, else back.
    void viewMoved(const QModelIndex& current);
    bool gridMouse(QMouseEvent* event);

    // ListGrid::Listener
    void gridReset() override;
    void currentRowChanged(int row) override;
    void columnWidthChanged(int col) override;

    AccountSetList m_list;
    QTableView* m_grid;
    ListGridModel* m_model;
    QList<QAbstractButton*> m_buttons;
    bool m_operatorInput = false;         // the event being delivered to the grid is the operator's
    bool m_showingRow = false;            // the view is being put on the list's current row
    bool m_afterDoubleClick = false;      // the release that ends a double click is no click
    std::optional<QPointF> m_pressPoint;  // where the left button went down on a row
    bool m_replaying = false;             // the view is given the release at the press point
};

}  // namespace ztgl::gui
