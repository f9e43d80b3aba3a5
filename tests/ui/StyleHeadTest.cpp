// The head of a working window: band, plate, strip, title and line, and the button row laid out
// from the right edge, again on every resize.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <memory>

#include "RecordingUiPort.h"
#include "style/TitleFont.h"
#include "ui/BandPicture.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

using namespace ztgl;
using ztgl::gui::ShapeWidget;

namespace {

// The list window's five buttons (widths 780, 945, 945, 945, 930 twips) on an 800-pixel form.
class StyleHeadTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(800, 500);
        const std::pair<const char*, int> row[] = {
            {"关闭(&Q)", 52}, {"停用帐套", 63}, {"启用帐套", 63}, {"修改帐套", 63}, {"新增帐套", 62}};
        for (const auto& [caption, width] : row) {
            auto* b = new QPushButton(QString::fromUtf8(caption), &form);
            b->resize(width, 41);
            buttons << b;
        }
    }
    template <typename T>
    T* part(const char* name) {
        return form.findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    }
    QList<int> lefts() const {
        QList<int> out;
        for (auto* b : buttons)
            out << b->x();
        return out;
    }

    test::RecordingUiPort port;
    QWidget form;
    QList<QAbstractButton*> buttons;
};

TEST_F(StyleHeadTest, BuildsTheFivePartsOfTheHead) {
    gui::Set_Style(&form, buttons, QStringLiteral("帐套管理"));

    auto* band = part<QLabel>("ImgTitle");
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->pixmap().size(), QSize(1500, 53));
    EXPECT_TRUE(band->hasScaledContents());
    EXPECT_EQ(band->frameShape(), QFrame::NoFrame);

    for (const char* name : {"ShpTitle1", "ShpTitle2"}) {
        auto* shape = part<ShapeWidget>(name);
        ASSERT_NE(shape, nullptr) << name;
        EXPECT_EQ(shape->fillColour(), QColor(224, 224, 224)) << name;
        EXPECT_EQ(shape->borderColour(), QColor(150, 150, 78)) << name;
        EXPECT_TRUE(shape->isOpaque()) << name;
    }
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->kind(), ShapeWidget::Kind::RoundedRectangle);
    EXPECT_EQ(part<ShapeWidget>("ShpTitle2")->kind(), ShapeWidget::Kind::Rectangle);

    auto* title = part<QLabel>("LblTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), QStringLiteral("【帐套管理】"));
    // The Hei face, or its stand-in where it is missing: never the window font made bold.
    const auto face =
        style::TitleFont::choose([](const QString& family) { return QFontDatabase::hasFamily(family); });
    const QFontInfo shown(title->font());
    EXPECT_EQ(shown.family(), face.family);
    EXPECT_EQ(shown.bold(), face.bold);
    EXPECT_EQ(title->font().pointSize(), 14);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_FALSE(title->autoFillBackground());

    auto* line = part<QWidget>("LneTitle");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->palette().color(QPalette::Window), QColor(224, 224, 224));

    for (auto* b : buttons)
        EXPECT_EQ(b->palette().color(QPalette::Button), QColor(224, 224, 224));
    EXPECT_TRUE(port.messages.isEmpty());

    QStringList order;  // children in stacking order, back to front
    for (QObject* child : form.children()) {
        if (child->isWidgetType())
            order << (child->objectName().isEmpty() ? QStringLiteral("button") : child->objectName());
    }
    EXPECT_EQ(order, (QStringList{"ImgTitle", "LblTitle", "ShpTitle1", "ShpTitle2", "LneTitle", "button",
                                  "button", "button", "button", "button"}));

    // 800 px = 12000 twips: first left 12000 - 600 - 780 = 10620 twips = 708 px, then touching.
    EXPECT_EQ(lefts(), (QList<int>{708, 645, 582, 519, 457}));
    for (auto* b : buttons) {
        EXPECT_EQ(b->y(), 8);
        EXPECT_EQ(b->height(), 41);
    }
    EXPECT_EQ(buttons[0]->width(), 52);
    // Plate: left 6855 - 200 twips, width 4545 + 400 twips, top 75, height 680.
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->geometry(), QRect(443, 5, 774 - 443, 51 - 5));
    // Band and strip run the window's width plus a little, from just left of it.
    EXPECT_EQ(part<QLabel>("ImgTitle")->geometry(), QRect(-1, 0, 803, 42));
    EXPECT_EQ(part<ShapeWidget>("ShpTitle2")->geometry(), QRect(-1, 42, 803, 12));
    EXPECT_EQ(part<QLabel>("LblTitle")->pos(), QPoint(12, 7));
    // The line covers the strip's top border across the plate, inside the plate's side borders.
    EXPECT_EQ(part<QWidget>("LneTitle")->geometry(), QRect(444, 42, 774 - 443 - 2, 1));
}

// Every resize lays the row out again; a button hidden after load keeps its place and leaves the
// count.
TEST_F(StyleHeadTest, ResizeLaysTheRowOutAgain) {
    gui::Set_Style(&form, buttons, QStringLiteral("帐套管理"));
    form.show();
    form.resize(900, 500);
    QApplication::processEvents();
    EXPECT_EQ(lefts(), (QList<int>{808, 745, 682, 619, 557}));
    EXPECT_EQ(part<QLabel>("ImgTitle")->width(), form.frameGeometry().width() + 3);

    form.resize(800, 500);
    QApplication::processEvents();
    const int plateWidth = part<ShapeWidget>("ShpTitle1")->width();
    buttons[2]->hide();
    form.resize(900, 500);
    QApplication::processEvents();
    EXPECT_EQ(buttons[2]->x(), 582);  // where it stood at 800 px
    EXPECT_EQ(lefts()[0], 808);
    EXPECT_EQ(lefts()[1], 745);
    EXPECT_EQ(lefts()[3], 745 - 63);  // closes up to the last placed button
    EXPECT_EQ(lefts()[4], 745 - 63 - 62);
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->width(), plateWidth - 63);
}

TEST_F(StyleHeadTest, WhileLoadingEveryButtonIsPlacedThenHiddenOnesLeaveOnShow) {
    buttons[4]->hide();  // hidden in the load handler, before the head is made
    gui::Set_Style(&form, buttons, QStringLiteral("帐套管理"));
    EXPECT_EQ(buttons[4]->x(), 457);
    const int plateWidth = part<ShapeWidget>("ShpTitle1")->width();
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(buttons[4]->x(), 457);
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->width(), plateWidth - 62);
}

// A narrow window still gives the first button a non-negative left; styling again reuses the
// head and takes the new caption.
TEST_F(StyleHeadTest, NarrowWindowAndStylingAgain) {
    form.resize(60, 300);
    gui::Set_Style(&form, buttons, QStringLiteral("新增帐套"));
    // |900 - 600 - 780| twips = 480 twips = 32 px
    EXPECT_EQ(buttons[0]->x(), 32);
    gui::Set_Style(&form, buttons, QStringLiteral("修改帐套"));
    EXPECT_EQ(form.findChildren<QLabel*>(QStringLiteral("LblTitle")).size(), 1);
    EXPECT_EQ(form.findChildren<ShapeWidget*>(QStringLiteral("ShpTitle1")).size(), 1);
    EXPECT_EQ(part<QLabel>("LblTitle")->text(), QStringLiteral("【修改帐套】"));
}

TEST_F(StyleHeadTest, PositionWithoutAFormIsReportedInTheProgramsConvention) {
    gui::Set_Style(nullptr, buttons, QStringLiteral("x"));
    gui::Set_Position(nullptr, buttons);
    gui::Set_Msflexgrid(nullptr, 0);
    QTableView noModel;
    gui::Set_Msflexgrid(&noModel, 0);
    gui::Set_MsfBorder(nullptr);
    const QStringList labels{
        "Set_Style():", "Set_Position():", "Set_Msflexgrid():", "Set_Msflexgrid():", "Set_MsfBorder():"};
    ASSERT_EQ(port.messages.size(), labels.size());
    for (int i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(port.messages[i].text, labels[i] + QStringLiteral("对象变量或 With 块变量未设置"));
        EXPECT_EQ(port.messages[i].title, QStringLiteral("提示信息"));
        EXPECT_EQ(port.messages[i].icon, MsgIcon::Information);
        EXPECT_EQ(port.messages[i].buttons, MsgButtons::Ok);
    }
}

// The list grid's common look: centred header; the first data row current and selected to the
// last column when there is one; a frame shape named after the grid placed around it.
TEST_F(StyleHeadTest, GridLook) {
    for (int rows : {0, 3}) {
        SCOPED_TRACE(rows);
        QTableView grid;
        auto* model = new QStandardItemModel(rows, 7, &grid);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < 7; ++c)
                model->setItem(r, c, new QStandardItem(QString::number(r * 10 + c)));
        grid.setModel(model);
        if (rows)
            grid.setCurrentIndex(model->index(2, 3));
        gui::Set_Msflexgrid(&grid, 0);
        EXPECT_EQ(grid.horizontalHeader()->defaultAlignment(), Qt::AlignCenter);
        EXPECT_EQ(grid.currentIndex(), rows ? model->index(0, 0) : QModelIndex());
        const QModelIndexList selected = grid.selectionModel()->selectedIndexes();
        EXPECT_EQ(selected.size(), rows ? 7 : 0);
        for (const QModelIndex& i : selected)
            EXPECT_EQ(i.row(), 0);
    }
    auto* grid = new QTableView(&form);
    grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid->setGeometry(10, 65, 500, 300);
    (new QTableView(&form))->setObjectName(QStringLiteral("MSFlexGrid2"));
    auto* shape = new ShapeWidget(&form);
    shape->setObjectName(QStringLiteral("shpMSFlexGrid1"));
    gui::Set_MsfBorder(&form);
    EXPECT_EQ(shape->geometry(), QRect(9, 64, 502, 302));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST(StyleTwipsTest, PixelRectangleCoversTheTwipsRectangle) {
    EXPECT_EQ(gui::twipsToPixels(style::TwipsRect{150, 300, 1500, 45}), QRect(10, 20, 100, 3));
    EXPECT_EQ(gui::twipsToPixels(style::TwipsRect{-15, 0, 45, 630}), QRect(-1, 0, 3, 42));
    EXPECT_EQ(gui::twipsToPixels(style::TwipsRect{-20, -20, 40, 40}), QRect(-2, -2, 4, 4));
    EXPECT_EQ(gui::twipsToPixels(style::TwipsRect{5655, 75, 4945, 680}), QRect(377, 5, 330, 46));
    EXPECT_EQ(gui::pixelsToTwips(QRect(10, 20, 100, 3)), (style::TwipsRect{150, 300, 1500, 45}));
}

}  // namespace
