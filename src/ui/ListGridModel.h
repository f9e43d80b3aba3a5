#pragma once

#include <QAbstractTableModel>

#include "catalogue/ListGrid.h"

namespace ztgl::gui {

// Qt table model over the list window's grid: the grid's row 0 is the horizontal header, its data
// rows 1.. are the model's rows 0.. Every change of the grid reaches the views through it.
class ListGridModel : public QAbstractTableModel, private ListGrid::Listener {
    Q_OBJECT
public:
    explicit ListGridModel(ListGrid& grid, QObject* parent = nullptr);
    ~ListGridModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static int gridRow(int modelRow) { return modelRow + 1; }
    static int modelRow(int gridRow) { return gridRow - 1; }

private:
    void gridAboutToReset() override;
    void gridReset() override;
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void cellChanged(int row, int col) override;

    ListGrid& m_grid;
};

}  // namespace ztgl::gui
