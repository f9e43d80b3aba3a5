#include "ui/FrmZTGL.h"

#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <functional>
#include <memory>

#include "ScriptedCatalogueFixture.h"
#include "UiFixture.h"
#include "catalogue/ListGrid.h"
#include "ui/FrmZTGLXZ.h"

namespace ztgl::test {
namespace {

using gui::FrmZTGL;

const QString kMarker = "◆";
const std::pair<bool, bool> kStopOnly{true, false}, kStartOnly{false, true};

// Tab from the focus until `target` has it; false when it is never reached.
bool tabToButton(QWidget* target) {
    for (int i = 0; i < 10 && QApplication::focusWidget() != target; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return QApplication::focusWidget() == target;
}

class FrmZTGLTest : public ScriptedCatalogueFixture {
protected:
    void TearDown() override {
        window.reset();
        ScriptedCatalogueFixture::TearDown();
    }

    // Opens the window over three sets, the third disabled.
    FrmZTGL& open() {
        setZtml({{"1", "甲", "MAIN_BK001", "2024-01-15", 1},
                 {"2", "乙", "MAIN_BK002", "2024-02-15", 1},
                 {"3", "丙", "MAIN_BK003", "2024-03-15", 0}});
        return show();
    }
    FrmZTGL& show() {
        window = std::make_unique<FrmZTGL>();
        window->resize(900, 480);
        window->show();
        QApplication::processEvents();
        return *window;
    }
    QTableView* grid() const { return window->MSFlexGrid1(); }
    QString cell(int modelRow, int col) const {
        return grid()->model()->index(modelRow, col).data().toString();
    }
    QPoint center(int modelRow) const {
        return grid()->visualRect(grid()->model()->index(modelRow, 3)).center();
    }
    void click(int modelRow) { QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, center(modelRow)); }
    void key(int k) { QTest::keyClick(grid(), Qt::Key(k)); }
    // Enabled state of "停用帐套" and "启用帐套".
    std::pair<bool, bool> stopStart() const {
        return {window->command1(1)->isEnabled(), window->command1(2)->isEnabled()};
    }
    QStringList markers() const {
        QStringList out;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            out << cell(r, 1);
        return out;
    }
    // The current row when it is the only marked one, else -1.
    int markedCurrentRow() const {
        const QStringList m = markers();
        const int row = grid()->currentIndex().row();
        return m.count(kMarker) == 1 && m.value(row) == kMarker ? row : -1;
    }

    std::unique_ptr<FrmZTGL> window;
};

// One set: shown current and marked; the columns as the format string gives them; names of ten
// Chinese characters and the buttons' captions show whole. Resizing places the grid inside the margins.
TEST_F(FrmZTGLTest, ColumnsComeFromTheFormatString) {
    const QString names[] = {"北京测试商贸有限公司", "上海华东贸易有限公司"};
    setZtml({{"1", names[0], "MAIN_BK001", "2024-02-15", 1}});
    show();
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(markedCurrentRow(), 0);
    window->list().renameCurrentSet(names[1]);
    const int margin = grid()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid()) + 1;
    for (const QString& name : names)
        EXPECT_LE(grid()->fontMetrics().horizontalAdvance(name) + 2 * margin, grid()->columnWidth(3));
    EXPECT_EQ(cell(0, 3), names[1]);
    for (int i = 0; i < 5; ++i) {
        QAbstractButton* b = window->command1(i);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&')) + 6, b->width()) << i;
    }
    render(window.get(), "frmztgl_1.png");

    const QHeaderView* header = grid()->horizontalHeader();
    ASSERT_EQ(grid()->model()->columnCount(), 7);
    // The widths from the header's text and blanks: AccountSetListTest; here they show whole.
    EXPECT_TRUE(grid()->isColumnHidden(0) || header->sectionSize(0) == 0);
    EXPECT_GE(grid()->columnWidth(1), grid()->fontMetrics().horizontalAdvance(kMarker)) << "the marker";
    // A flex grid row, the header too, is 240 twips.
    EXPECT_EQ(grid()->rowHeight(0) * 15, ListGrid::kRowHeight);
    EXPECT_EQ(header->height() * 15, ListGrid::kRowHeight);
    EXPECT_TRUE(grid()->verticalHeader()->isHidden());  // whole rows selected: EveryClickCountsForOneRow

    window->resize(800, 600);  // the margins in twips: AccountSetListGeometryTest
    QApplication::processEvents();
    EXPECT_EQ(grid()->geometry(), QRect(10, 65, (800 * 15 - 350) / 15, (600 * 15 - 1180) / 15));
}

// Every click counts for one row: one on the header or below the rows for the current row; a
// press on one row released on another for the row where the button went down, however far the
// mouse went (as the flex grid did). A double click opens the editor for the current set.
TEST_F(FrmZTGLTest, EveryClickCountsForOneRow) {
    open();
    QWidget* area = grid()->viewport();
    const QPoint below(20, area->height() - 5);
    ASSERT_FALSE(grid()->indexAt(below).isValid());
    const auto drag = [&](int to) {
        QTest::mousePress(area, Qt::LeftButton, {}, center(0));
        QTest::mouseMove(area, center(1));
        QTest::mouseMove(area, center(to));
        QTest::mouseRelease(area, Qt::LeftButton, {}, center(to));
    };
    // clang-format off
    const struct { const char* name; std::function<void()> act; int row; } ways[] = {
        {"header", [&] { emit grid()->horizontalHeader()->sectionClicked(3); }, 1},
        {"below the rows", [&] { QTest::mouseClick(area, Qt::LeftButton, {}, below); }, 1},
        {"first row to third", [&] { drag(2); }, 0},
    };
    // clang-format on
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        click(2);
        key(Qt::Key_Up);  // onto the second set, in use; the buttons still follow the disabled third
        EXPECT_EQ(stopStart(), kStartOnly);
        way.act();
        EXPECT_EQ(markedCurrentRow(), way.row);
        EXPECT_EQ(grid()->selectionModel()->selectedRows().size(), 1);
        EXPECT_TRUE(grid()->selectionModel()->isRowSelected(way.row)) << "the current row stays highlighted";
        EXPECT_EQ(stopStart(), kStopOnly);
    }
    EXPECT_TRUE(port.modalForms.isEmpty());
    QTest::mouseDClick(area, Qt::LeftButton, {}, below);
    EXPECT_EQ(port.modalForms, QStringList{"frmZTGLXZ"});
    click(0);  // a double click on a row begins with a click
    QTest::mouseDClick(area, Qt::LeftButton, {}, center(0));
    EXPECT_EQ(port.modalForms, QStringList({"frmZTGLXZ", "frmZTGLXZ"}));
    EXPECT_EQ(grid()->currentIndex().row(), 0);
}

// A fill that fails halfway (no UserFlag column) keeps the rows added and sets no current row and
// no marker; the focus arriving does not set one either; the operator's own move does.
TEST_F(FrmZTGLTest, FailedFillSetsNoCurrentRow) {
    server.onQuery("^select \\* from ZTML Order By Id$",
                   ScriptedServer::rows({"Id", "ZTMC"}, {{"1", "甲"}, {"2", "乙"}}));
    FrmZTGL& w = show();
    ASSERT_TRUE(activate(&w));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(port.messages[0].text.startsWith("SetMSFlexGrid1Date():"));
    EXPECT_GT(port.messages[0].text.size(), 21) << "the standard error text follows the label";
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 3), "甲") << "rows already added stay";
    w.command1(0)->setFocus();
    QTest::keyClick(w.command1(0), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), grid());
    EXPECT_FALSE(grid()->currentIndex().isValid());
    EXPECT_EQ(w.list().grid().Row(), 0);
    EXPECT_EQ(markers(), QStringList({""}));
    key(Qt::Key_Down);
    EXPECT_EQ(w.list().grid().Row(), 1);
    EXPECT_EQ(markers(), QStringList({kMarker}));
}

// Tab leaves the grid for the buttons, left to right, without moving the row; Space in the grid
// runs the click rules for the current row; a keyboard alone disables and enables (creating: below).
TEST_F(FrmZTGLTest, KeyboardOnlyOperator) {
    FrmZTGL& w = open();
    ASSERT_TRUE(activate(&w));
    ASSERT_EQ(QApplication::focusWidget(), grid());
    QTest::keyClick(grid(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.command1(4)) << "新增帐套 first";
    QTest::keyClick(w.command1(4), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.command1(3));
    EXPECT_EQ(markedCurrentRow(), 2);
    ASSERT_TRUE(tabToButton(grid()));

    key(Qt::Key_Up);  // the second set, in use; the buttons still show the third
    EXPECT_EQ(stopStart(), kStartOnly);
    key(Qt::Key_Space);
    EXPECT_EQ(stopStart(), kStopOnly);
    EXPECT_EQ(markers(), QStringList({"", kMarker, ""}));

    ASSERT_TRUE(tabToButton(w.command1(1)));
    port.answer(MsgAnswer::Yes);
    QTest::keyClick(w.command1(1), Qt::Key_Space);
    EXPECT_EQ(cell(1, 4), "已停用");
    EXPECT_EQ(stopStart(), kStartOnly);
    ASSERT_TRUE(tabToButton(w.command1(2)));
    port.answer(MsgAnswer::Yes);
    QTest::keyClick(w.command1(2), Qt::Key_Return);
    EXPECT_EQ(cell(1, 4), "现启用");
    EXPECT_EQ(server.executed().size(), 2);  // the statements: AccountSetListTest
}

// The whole creation from the keyboard, the editor's own window and a failed check included, on an
// Access folder. (The checks' order and messages: AccountSetEditorTest.)
TEST(FrmZTGLKeyboardTest, CreatesASetWithoutTheMouse) {
    AccountSetFolder folder;
    ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
    RecordingUiPort port;
    port.onModal([](ModalForm& form) { gui::runFrmZTGLXZ(form, QApplication::activeWindow()); });
    FrmZTGL w;
    ASSERT_TRUE(activate(&w));
    bool typed = false;
    whenModal("ztgl::gui::FrmZTGLXZ", [&](QWidget* editor) {
        // Should the editor stay open, its close button ends the test's wait.
        auto* close = static_cast<gui::FrmZTGLXZ*>(editor)->button(0);
        QTimer::singleShot(5000, close, [close] { close->click(); });
        // The window system makes the new window the active one; the operator types once it is.
        if (!waitFor([editor] { return editor->isActiveWindow(); }))
            return;
        // The name (Chinese too), the default user "管理员" left as it is, the password twice but
        // mistyped: the failed check takes the focus to the first password, selected; the operator
        // types it again and Tab selects the second for retyping.
        for (const char* text : {"华南贸易有限责任公司", "", "pw", "px"}) {
            typeText(QApplication::focusWidget(), text);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(editor, Qt::Key_Y, Qt::AltModifier);
        EXPECT_TRUE(waitFor([&] { return !port.messages.isEmpty(); }));  // the access key clicks on a timer
        auto* first = static_cast<gui::FrmZTGLXZ*>(editor)->box(2);
        EXPECT_EQ(QApplication::focusWidget(), first);
        EXPECT_EQ(first->selectedText(), "pw");
        for (int i = 0; i < 2; ++i) {
            typeText(QApplication::focusWidget(), "pw");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QTest::keyClick(editor, Qt::Key_Y, Qt::AltModifier);
        typed = true;
    });
    ASSERT_TRUE(tabToButton(w.command1(4)));
    QTest::keyClick(w.command1(4), Qt::Key_Space);
    EXPECT_TRUE(typed);
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[0].text, "两次录入的密码不一致，请重新确认密码！");
    EXPECT_EQ(port.messages[1].text, "已经成功创建新帐套！");
    const QAbstractItemModel* model = w.MSFlexGrid1()->model();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 3).data().toString(), "华南贸易有限责任公司");
    EXPECT_EQ(model->index(0, 1).data().toString(), kMarker);
}

}  // namespace
}  // namespace ztgl::test
