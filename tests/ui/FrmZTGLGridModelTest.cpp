// The list window's table model over its grid, without a view.

#include "UiFixture.h"
#include "catalogue/ListGrid.h"
#include "ui/ListGridModel.h"

namespace ztgl::test {
namespace {

using gui::ListGridModel;

int perChar(const QString& text) {
    return 100 * text.size();
}

class GridModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.setFormatString("Key|>R|^C|<L", perChar);
        const auto rows = [this](const char* what) {
            return [this, what](const QModelIndex&, int first, int last) {
                events << QString("%1 %2-%3 of %4").arg(what).arg(first).arg(last).arg(model.rowCount());
            };
        };
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { events << "reset"; });
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, rows("inserted"));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, rows("removed"));
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& a, const QModelIndex& b) {
                             events << QString("data %1,%2 %3").arg(a.row()).arg(a.column()).arg(a == b);
                         });
        QObject::connect(
            &model, &QAbstractItemModel::headerDataChanged,
            [this](Qt::Orientation, int first, int) { events << QString("header %1").arg(first); });
    }

    ListGrid grid;
    ListGridModel model{grid};
    QStringList events;
};

// The header row is the horizontal header, data rows follow, read-only, aligned per column; every
// change of the grid reaches the views. (The list window's grid through this model: FrmZTGLTest.)
TEST_F(GridModelTest, HeaderRowIsTheHorizontalHeaderAndEveryChangeReachesTheViews) {
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "R");
    grid.setRows(3);
    EXPECT_EQ(model.flags(model.index(0, 0)) & (Qt::ItemIsSelectable | Qt::ItemIsEditable),
              Qt::ItemIsSelectable);
    const Qt::Alignment align[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter, Qt::AlignLeft};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                  align[c] | Qt::AlignVCenter);
    grid.setTextMatrix(2, 1, "x");
    EXPECT_EQ(model.index(1, 1).data().toString(), "x");
    grid.setTextMatrix(0, 2, "新");
    grid.setRows(2);
    grid.setFormatString("A", perChar);
    EXPECT_EQ(events,
              QStringList({"inserted 0-1 of 2", "data 1,1 1", "header 2", "removed 1-1 of 1", "reset"}));
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.rowCount(), 0);
}

}  // namespace
}  // namespace ztgl::test
