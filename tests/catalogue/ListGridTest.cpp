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
    void gridAboutToReset() override { events << QStringLiteral("aboutToReset"); }
    void gridReset() override { events << QStringLiteral("reset"); }
    void rowsAboutToBeInserted(int first, int last) override {
        events << QStringLiteral("aboutToInsert %1-%2").arg(first).arg(last);
    }
    void rowsInserted() override { events << QStringLiteral("inserted"); }
    void rowsAboutToBeRemoved(int first, int last) override {
        events << QStringLiteral("aboutToRemove %1-%2").arg(first).arg(last);
    }
    void rowsRemoved() override { events << QStringLiteral("removed"); }
    void cellChanged(int row, int col) override { events << QStringLiteral("cell %1,%2").arg(row).arg(col); }
    void currentRowChanged(int row) override { events << QStringLiteral("row %1").arg(row); }
    void columnWidthChanged(int col) override { events << QStringLiteral("width %1").arg(col); }
};

// clang-format off
const QString kListFormat = QStringLiteral("帐套编号|> |^序号|<    帐套名称           |^ 是否停用 |<      数据库名称              |^   创建日期     ");
// clang-format on

TEST(ListGridTest, FormatStringGivesHeaderAlignmentAndWidthPerColumn) {
    ListGrid grid;
    grid.setFormatString(kListFormat, perChar);
    struct Expected {
        QString header;
        ListGrid::Align align;
        int chinese, blanks;  // a blank is half a Chinese character wide
    };
    const Expected expected[] = {
        {QStringLiteral("帐套编号"), ListGrid::Align::General, 4, 0},
        {QStringLiteral(" "), ListGrid::Align::Right, 0, 1},
        {QStringLiteral("序号"), ListGrid::Align::Center, 2, 0},
        {QStringLiteral("    帐套名称           "), ListGrid::Align::Left, 4, 4 + 11},
        {QStringLiteral(" 是否停用 "), ListGrid::Align::Center, 4, 1 + 1},
        {QStringLiteral("      数据库名称              "), ListGrid::Align::Left, 5, 6 + 14},
        {QStringLiteral("   创建日期     "), ListGrid::Align::Center, 4, 3 + 5},
    };
    ASSERT_EQ(grid.Cols(), 7);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    for (int c = 0; c < 7; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(grid.TextMatrix(0, c), expected[c].header);
        EXPECT_EQ(grid.ColAlignment(c), expected[c].align);
        EXPECT_EQ(grid.ColWidth(c), 100 * expected[c].chinese + 50 * expected[c].blanks);
    }
    EXPECT_EQ(grid.FormatString(), kListFormat);
}

TEST(ListGridTest, AlignmentCharacterOnlyCountsAtTheStartOfASegment) {
    ListGrid grid;
    grid.setFormatString(QStringLiteral("a<b||^|x>"), perChar);
    ASSERT_EQ(grid.Cols(), 4);
    EXPECT_EQ(grid.TextMatrix(0, 0), QStringLiteral("a<b"));
    EXPECT_EQ(grid.ColAlignment(0), ListGrid::Align::General);
    EXPECT_EQ(grid.TextMatrix(0, 1), QString());
    EXPECT_EQ(grid.ColWidth(1), 0);
    EXPECT_EQ(grid.TextMatrix(0, 2), QString());
    EXPECT_EQ(grid.ColAlignment(2), ListGrid::Align::Center);
    EXPECT_EQ(grid.TextMatrix(0, 3), QStringLiteral("x>"));
}

TEST(ListGridTest, RowsGrowEmptyAndNeverDropTheHeaderRow) {
    ListGrid grid;
    grid.setFormatString(QStringLiteral("A|B"), perChar);
    EXPECT_EQ(grid.addRow(), 1);
    EXPECT_EQ(grid.addRow(), 2);
    EXPECT_EQ(grid.TextMatrix(2, 1), QString());
    grid.setTextMatrix(2, 1, QStringLiteral("x"));
    grid.setRow(2);
    grid.setRows(0);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("B"));
    EXPECT_EQ(grid.addRow(), 1);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString()) << "a row added again starts empty";
}

TEST(ListGridTest, CellsOutsideTheGridRaiseError381) {
    ListGrid grid;
    grid.setFormatString(QStringLiteral("A|B"), perChar);
    grid.addRow();
    for (const auto& [row, col] : {std::pair{2, 0}, {-1, 0}, {0, 2}, {1, -1}}) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(row).arg(col).toStdString());
        try {
            grid.TextMatrix(row, col);
            FAIL() << "no error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 381);
        }
        EXPECT_THROW(grid.setTextMatrix(row, col, QStringLiteral("x")), RuntimeError);
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
    grid.setFormatString(QStringLiteral("A|B"), perChar);
    grid.setRows(3);
    grid.setTextMatrix(1, 0, QStringLiteral("x"));
    grid.setTextMatrix(1, 0, QStringLiteral("x"));  // same text: no news
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
