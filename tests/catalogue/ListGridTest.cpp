#include <gtest/gtest.h>

#include "catalogue/ListGrid.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

// 100 twips per character, whatever the character: widths then count characters.
int perChar(const QString& text) {
    return 100 * text.size();
}

// Rows grow empty and never drop the header row; cells outside the grid raise error 381.
TEST(ListGridTest, RowsAndCells) {
    ListGrid grid;
    grid.setFormatString("A|B", perChar);
    EXPECT_EQ(grid.addRow(), 1);
    EXPECT_EQ(grid.addRow(), 2);
    EXPECT_EQ(grid.TextMatrix(2, 1), QString());
    grid.setTextMatrix(2, 1, "x");
    grid.setRow(2);
    grid.setRows(0);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.TextMatrix(0, 1), "B");
    EXPECT_EQ(grid.addRow(), 1);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString()) << "a row added again starts empty";

    for (const auto& [row, col] : {std::pair{2, 0}, {-1, 0}, {0, 2}, {1, -1}}) {
        SCOPED_TRACE(QString("%1,%2").arg(row).arg(col).toStdString());
        try {
            grid.TextMatrix(row, col);
            FAIL() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 381);
        }
        EXPECT_THROW(grid.setTextMatrix(row, col, "x"), RuntimeError);
    }
    EXPECT_THROW(grid.setRow(2), RuntimeError);
    EXPECT_THROW(grid.setColWidth(2, 0), RuntimeError);
    EXPECT_EQ(grid.Row(), 0);
}

}  // namespace
}  // namespace ztgl
