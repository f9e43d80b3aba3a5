// The list grid's common look: centred header, first data row current and selected.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTableView>

#include "RecordingUiPort.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

using namespace ztgl;

namespace {

QStandardItemModel* modelWithRows(int rows, QObject* parent) {
    auto* model = new QStandardItemModel(rows, 7, parent);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < 7; ++c)
            model->setItem(r, c, new QStandardItem(QString::number(r * 10 + c)));
    }
    return model;
}

TEST(StyleGridTest, HeaderOnlyGridGetsCentredHeaderAndNoSelection) {
    test::RecordingUiPort port;
    QTableView grid;
    grid.setModel(modelWithRows(0, &grid));
    gui::Set_Msflexgrid(&grid, 0);
    EXPECT_EQ(grid.horizontalHeader()->defaultAlignment(), Qt::AlignCenter);
    EXPECT_FALSE(grid.currentIndex().isValid());
    EXPECT_FALSE(grid.selectionModel()->hasSelection());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST(StyleGridTest, FirstDataRowBecomesCurrentAndIsSelectedToTheLastColumn) {
    QTableView grid;
    grid.setModel(modelWithRows(3, &grid));
    grid.setCurrentIndex(grid.model()->index(2, 3));
    gui::Set_Msflexgrid(&grid, 0);
    EXPECT_EQ(grid.currentIndex(), grid.model()->index(0, 0));
    const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
    EXPECT_EQ(selected.size(), 7);
    for (const QModelIndex& i : selected)
        EXPECT_EQ(i.row(), 0);
    EXPECT_TRUE(grid.selectionModel()->isRowSelected(0, QModelIndex()));
}

TEST(StyleGridTest, GridFrameShapeIsPlacedAroundTheGridWhenTheWindowHasOne) {
    test::RecordingUiPort port;
    QWidget form;
    auto* grid = new QTableView(&form);
    grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid->setGeometry(10, 65, 500, 300);
    auto* other = new QTableView(&form);
    other->setObjectName(QStringLiteral("MSFlexGrid2"));
    auto* shape = new gui::ShapeWidget(&form);
    shape->setObjectName(QStringLiteral("shpMSFlexGrid1"));
    gui::Set_MsfBorder(&form);
    EXPECT_EQ(shape->geometry(), QRect(9, 64, 502, 302));
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
