#include "ui/FrmZTGL.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPointer>
#include <QTableView>
#include <memory>

#include "ScriptedCatalogueFixture.h"

namespace ztgl::test {
namespace {

using gui::FrmZTGL;

const QString kMarker = QStringLiteral("◆");

class FrmZTGLTest : public ScriptedCatalogueFixture {
protected:
    void TearDown() override {
        window.reset();
        ScriptedCatalogueFixture::TearDown();
    }

    // Opens the window over `count` sets; every third one is disabled, the names mix Chinese,
    // quotes and blanks.
    FrmZTGL& open(int count) {
        QVector<QVector<QVariant>> rows;
        for (int i = 1; i <= count; ++i) {
            const QString name =
                i == 2 ? QStringLiteral("O'Neil \"华东\" 分公司") : QStringLiteral("第%1分公司").arg(i);
            rows.push_back(
                {QString::number(i), name, QStringLiteral("MAIN_BK%1").arg(i, 3, 10, QLatin1Char('0')),
                 QStringLiteral("2024-%1-15").arg(i % 12 + 1, 2, 10, QLatin1Char('0')), i % 3 == 0 ? 0 : 1});
        }
        setZtml(rows);
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
    void mouse(QEvent::Type type, int modelRow) {
        QMouseEvent e(type, center(modelRow), grid()->viewport()->mapToGlobal(center(modelRow)),
                      Qt::LeftButton, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(grid()->viewport(), &e);
    }
    void click(int modelRow) {
        mouse(QEvent::MouseButtonPress, modelRow);
        mouse(QEvent::MouseButtonRelease, modelRow);
    }
    void key(int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(grid(), &press);
    }
    QStringList markers() const {
        QStringList out;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            out << cell(r, 1);
        return out;
    }
    void render(const QString& name) const {
        const QString file = QDir::temp().filePath(name);
        EXPECT_TRUE(window->grab().save(file)) << file.toStdString();
    }

    std::unique_ptr<FrmZTGL> window;
};

TEST_F(FrmZTGLTest, EmptyListShowsOnlyTheHeader) {
    FrmZTGL& w = open(0);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("帐套管理"));
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_FALSE(grid()->currentIndex().isValid());
    EXPECT_TRUE(w.command1(1)->isEnabled());
    EXPECT_FALSE(w.command1(2)->isEnabled());
    EXPECT_TRUE(w.command1(5)->isHidden());
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(w.command1(i)->isHidden()) << i;
        EXPECT_GE(w.command1(i)->width(), w.command1(i)->sizeHint().width()) << "caption shows whole " << i;
    }
    render(QStringLiteral("frmztgl_0.png"));
}

TEST_F(FrmZTGLTest, ColumnsComeFromTheFormatString) {
    open(1);
    const QHeaderView* header = grid()->horizontalHeader();
    const QStringList headers = {"帐套编号",
                                 " ",
                                 "序号",
                                 "    帐套名称           ",
                                 " 是否停用 ",
                                 "      数据库名称              ",
                                 "   创建日期     "};
    ASSERT_EQ(grid()->model()->columnCount(), 7);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid()->model()->headerData(c, Qt::Horizontal).toString(), headers[c]) << c;
    EXPECT_EQ(grid()->columnWidth(0), 0);
    EXPECT_TRUE(grid()->isColumnHidden(0) || header->sectionSize(0) == 0);
    // Widths follow the header texts: the long padded ones are the widest.
    EXPECT_GT(grid()->columnWidth(5), grid()->columnWidth(3));
    EXPECT_GT(grid()->columnWidth(3), grid()->columnWidth(2));
    EXPECT_GT(grid()->columnWidth(2), grid()->columnWidth(1));
    EXPECT_GE(grid()->columnWidth(1), grid()->fontMetrics().horizontalAdvance(kMarker))
        << "the marker shows whole";
    for (int c = 1; c < 7; ++c)
        EXPECT_GE(grid()->columnWidth(c), header->fontMetrics().horizontalAdvance(headers[c])) << c;
    const auto align = [&](int c) {
        return grid()->model()->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(1), Qt::AlignRight);
    EXPECT_EQ(align(2), Qt::AlignHCenter);
    EXPECT_EQ(align(3), Qt::AlignLeft);
    EXPECT_EQ(align(4), Qt::AlignHCenter);
    EXPECT_EQ(align(5), Qt::AlignLeft);
    EXPECT_EQ(align(6), Qt::AlignHCenter);
    EXPECT_TRUE(grid()->verticalHeader()->isHidden());
    EXPECT_EQ(grid()->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(FrmZTGLTest, OneSetIsShownCurrentAndMarked) {
    open(1);
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(grid()->currentIndex().row(), 0);
    const QStringList expected = {"1", kMarker, "1", "第1分公司", "现启用", "MAIN_BK001", "2024-02-15"};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(cell(0, c), expected[c]) << c;
    render(QStringLiteral("frmztgl_1.png"));
}

TEST_F(FrmZTGLTest, ManySetsMouseAndKeyboard) {
    FrmZTGL& w = open(40);
    EXPECT_EQ(grid()->currentIndex().row(), 39);
    EXPECT_EQ(cell(1, 3), QStringLiteral("O'Neil \"华东\" 分公司"));
    EXPECT_EQ(cell(2, 4), QStringLiteral("已停用"));
    render(QStringLiteral("frmztgl_40.png"));

    grid()->scrollToTop();
    click(2);  // the third set is disabled
    EXPECT_EQ(grid()->currentIndex().row(), 2);
    EXPECT_EQ(markers().indexOf(kMarker), 2);
    EXPECT_EQ(markers().count(kMarker), 1);
    EXPECT_FALSE(w.command1(1)->isEnabled());
    EXPECT_TRUE(w.command1(2)->isEnabled());

    key(Qt::Key_Up);  // onto the second set, in use: buttons stay as clicked
    EXPECT_EQ(grid()->currentIndex().row(), 1);
    EXPECT_EQ(markers().indexOf(kMarker), 1);
    EXPECT_EQ(markers().count(kMarker), 1);
    EXPECT_FALSE(w.command1(1)->isEnabled());
    EXPECT_TRUE(w.command1(2)->isEnabled());

    click(1);
    EXPECT_TRUE(w.command1(1)->isEnabled());
    EXPECT_FALSE(w.command1(2)->isEnabled());
    render(QStringLiteral("frmztgl_40_clicked.png"));
}

TEST_F(FrmZTGLTest, HeaderClickKeepsTheMarker) {
    FrmZTGL& w = open(3);
    key(Qt::Key_Up);  // onto the second set; the buttons still follow the disabled third
    EXPECT_FALSE(w.command1(1)->isEnabled());
    emit grid()->horizontalHeader()->sectionClicked(3);
    EXPECT_EQ(markers(), QStringList({"", kMarker, ""}));
    EXPECT_TRUE(w.command1(1)->isEnabled());
    EXPECT_FALSE(w.command1(2)->isEnabled());
}

TEST_F(FrmZTGLTest, ClicksBelowTheRowsCountAsClicksOnTheCurrentRow) {
    FrmZTGL& w = open(3);
    key(Qt::Key_Up);  // onto the second set, in use; the buttons still follow the disabled third
    EXPECT_FALSE(w.command1(1)->isEnabled());
    const QPoint below(20, grid()->viewport()->height() - 5);
    ASSERT_FALSE(grid()->indexAt(below).isValid());
    const auto send = [&](QEvent::Type type) {
        QMouseEvent e(type, below, grid()->viewport()->mapToGlobal(below), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid()->viewport(), &e);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(grid()->currentIndex().row(), 1);
    EXPECT_TRUE(grid()->selectionModel()->isRowSelected(1)) << "the current row stays highlighted";
    EXPECT_TRUE(w.command1(1)->isEnabled());
    EXPECT_FALSE(w.command1(2)->isEnabled());
    EXPECT_EQ(markers(), QStringList({"", kMarker, ""}));
    EXPECT_TRUE(port.modalForms.isEmpty());
    send(QEvent::MouseButtonDblClick);
    EXPECT_EQ(port.modalForms, QStringList{QStringLiteral("frmZTGLXZ")}) << "the editor for the current set";
}

TEST_F(FrmZTGLTest, DoubleClickOpensTheEditorForThatSet) {
    open(3);
    mouse(QEvent::MouseButtonPress, 0);
    mouse(QEvent::MouseButtonRelease, 0);
    mouse(QEvent::MouseButtonDblClick, 0);
    mouse(QEvent::MouseButtonRelease, 0);
    EXPECT_EQ(port.modalForms, QStringList{QStringLiteral("frmZTGLXZ")});
}

TEST_F(FrmZTGLTest, DisableButtonUpdatesTheShownRow) {
    FrmZTGL& w = open(2);
    port.answer(MsgAnswer::Yes);
    w.command1(1)->click();
    EXPECT_EQ(server.executed().filter(QStringLiteral("ZTML")),
              QStringList{QStringLiteral("Update ZTML set UserFlag=0 WHERE ID='2'")});
    EXPECT_EQ(cell(1, 4), QStringLiteral("已停用"));
    EXPECT_FALSE(w.command1(1)->isEnabled());
    EXPECT_TRUE(w.command1(2)->isEnabled());
}

TEST_F(FrmZTGLTest, NewSetFromTheEditorBecomesTheCurrentRow) {
    FrmZTGL& w = open(2);
    w.list().appendNewSet(QStringLiteral("3"), QStringLiteral("新公司"), QStringLiteral("MAIN_BK003"),
                          QStringLiteral("2024-06-01"));
    EXPECT_EQ(grid()->model()->rowCount(), 3);
    EXPECT_EQ(grid()->currentIndex().row(), 2);
    EXPECT_EQ(markers(), QStringList({"", "", kMarker}));
    EXPECT_EQ(cell(2, 3), QStringLiteral("新公司"));
}

TEST_F(FrmZTGLTest, ResizePlacesTheGridInsideTheMargins) {
    FrmZTGL& w = open(1);
    w.resize(800, 600);
    QApplication::processEvents();
    EXPECT_EQ(grid()->geometry(), QRect(10, 65, (800 * 15 - 350) / 15, (600 * 15 - 1180) / 15));
    w.resize(20, 30);  // narrower than the margins: still a positive size
    QApplication::processEvents();
    EXPECT_GT(grid()->width(), 0);
    EXPECT_GT(grid()->height(), 0);
}

TEST_F(FrmZTGLTest, CloseButtonUnloadsTheWindow) {
    FrmZTGL& w = open(1);
    int unloaded = 0;
    QObject::connect(&w, &FrmZTGL::unloaded, &w, [&] { ++unloaded; });
    w.command1(0)->click();
    EXPECT_EQ(unloaded, 1);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.command1(0)->toolTip(), QStringLiteral("关闭窗体，快捷键Alt+Q"));
}

TEST_F(FrmZTGLTest, CloseButtonInsideTheMainWindowClosesTheChildWindow) {
    open(0);
    window.reset();  // this test's window lives in an MDI area
    QMdiArea area;
    QPointer<FrmZTGL> child = new FrmZTGL;
    QPointer<QMdiSubWindow> sub = area.addSubWindow(child);
    area.resize(900, 500);
    area.show();
    sub->showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(area.subWindowList().size(), 1);
    child->command1(0)->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(sub.isNull());
    EXPECT_TRUE(child.isNull());
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

}  // namespace
}  // namespace ztgl::test
