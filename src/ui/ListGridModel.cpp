#include "ui/ListGridModel.h"

namespace ztgl::gui {

ListGridModel::ListGridModel(ListGrid& grid, QObject* parent) : QAbstractTableModel(parent), m_grid(grid) {
    m_grid.addListener(this);
}

ListGridModel::~ListGridModel() {
    m_grid.removeListener(this);
}

int ListGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.Rows() - 1;
}

int ListGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_grid.Cols();
}

QVariant ListGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    switch (role) {
        case Qt::DisplayRole:
            return m_grid.TextMatrix(gridRow(index.row()), index.column());
        case Qt::TextAlignmentRole: {
            Qt::Alignment h = Qt::AlignLeft;
            switch (m_grid.ColAlignment(index.column())) {
                case ListGrid::Align::Center:
                    h = Qt::AlignHCenter;
                    break;
                case ListGrid::Align::Right:
                    h = Qt::AlignRight;
                    break;
                case ListGrid::Align::General:
                case ListGrid::Align::Left:
                    break;
            }
            return QVariant::fromValue(h | Qt::AlignVCenter);
        }
        default:
            return QVariant();
    }
}

QVariant ListGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_grid.Cols())
        return QVariant();
    return m_grid.TextMatrix(0, section);
}

Qt::ItemFlags ListGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ListGridModel::gridAboutToReset() {
    beginResetModel();
}

void ListGridModel::gridReset() {
    endResetModel();
}

void ListGridModel::rowsAboutToBeInserted(int first, int last) {
    beginInsertRows(QModelIndex(), modelRow(first), modelRow(last));
}

void ListGridModel::rowsInserted() {
    endInsertRows();
}

void ListGridModel::rowsAboutToBeRemoved(int first, int last) {
    beginRemoveRows(QModelIndex(), modelRow(first), modelRow(last));
}

void ListGridModel::rowsRemoved() {
    endRemoveRows();
}

void ListGridModel::cellChanged(int row, int col) {
    if (row == 0) {
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    const QModelIndex i = index(modelRow(row), col);
    emit dataChanged(i, i, {Qt::DisplayRole});
}

}  // namespace ztgl::gui
