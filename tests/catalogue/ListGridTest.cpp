#include <gtest/gtest.h>

#include "catalogue/ListGrid.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

// 100 twips per character, whatever the character: widths then count characters.
int perChar(const QString& text) {
    return 100 * text.size();
}

struct RecordingListener : ListGrid::Listener {
    QStringList events;
    void gridAboutToReset() override { events << "aboutToReset"; }
    void gridReset() override { events << "reset"; }
    void rowsAboutToBeInserted(int first, int last) override {
        events << QString("aboutToInsert %1-%2").arg(first).arg(last);
    }
    void rowsInserted() override { events << "inserted"; }
    void rowsAboutToBeRemoved(int first, int last) override {
        events << QString("aboutToRemove %1-%2").arg(first).arg(last);
    }
    void rowsRemoved() override { events << "removed"; }
    void cellChanged(int row, int col) override { events << QString("cell %1,%2").arg(row).arg(col); }
    void currentRowChanged(int row) override { events << QString("row %1").arg(row); }
    void columnWidthChanged(int col) override { events << QString("width %1").arg(col); }
};

// Segments split at "|"; an alignment character counts only at a segment's start; a blank is half as
// wide as a Chinese character (the list window's own format string: AccountSetListTest).
TEST(ListGridTest, FormatStringGivesHeaderAlignmentAndWidthPerColumn) {
    using A = ListGrid::Align;
    const QString format = "帐套编号|> |^序号|<  名称 ||^|a<b";
    ListGrid grid;
    grid.setFormatString(format, perChar);
    // clang-format off
    const struct { QString header; A align; int width; } expected[] = {
        {"帐套编号", A::General, 400}, {" ", A::Right, 50}, {"序号", A::Center, 200}, {"  名称 ", A::Left, 200 + 3 * 50},
        {"", A::General, 0}, {"", A::Center, 0}, {"a<b", A::General, 300},
    };
    // clang-format on
    ASSERT_EQ(grid.Cols(), 7);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    for (int c = 0; c < 7; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(grid.TextMatrix(0, c), expected[c].header);
        EXPECT_EQ(grid.ColAlignment(c), expected[c].align);
        EXPECT_EQ(grid.ColWidth(c), expected[c].width);
    }
    EXPECT_EQ(grid.FormatString(), format);
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

TEST(ListGridTest, ListenersHearEveryChangeOnceAndOnlyRealChanges) {
    ListGrid grid;
    RecordingListener rec;
    grid.addListener(&rec);
    grid.addListener(&rec);  // registered once only
    grid.setFormatString("A|B", perChar);
    grid.setRows(3);
    grid.setTextMatrix(1, 0, "x");
    grid.setTextMatrix(1, 0, "x");  // same text: no news
    grid.setRow(2);
    grid.setRow(2);
    grid.setColWidth(0, 0);
    grid.setColWidth(0, 0);
    grid.setRows(2);  // the current row 2 goes away
    EXPECT_EQ(rec.events, QStringList({"aboutToReset", "reset", "aboutToInsert 1-2", "inserted", "cell 1,0",
                                       "row 2", "width 0", "aboutToRemove 2-2", "removed", "row 1"}));
    grid.removeListener(&rec);
    grid.addRow();
    EXPECT_EQ(rec.events.size(), 10);
}

}  // namespace
}  // namespace ztgl
