// The common look of the windows, drawn by Qt: the head and its button row, button pictures by
// caption, flat input boxes and the focus frame, the list grid's look, pictures from the bag, and a
// styled sample window checked pixel by pixel.

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QSet>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include "ShownLines.h"
#include "UiFixture.h"
#include "style/PictureBag.h"
#include "style/TitleFont.h"
#include "ui/BagPicture.h"
#include "ui/ButtonImageList.h"
#include "ui/GuiSetup.h"

using namespace ztgl;
using ztgl::gui::ButtonImageList;
using ztgl::gui::ShapeWidget;

namespace {

const QColor kPlate(224, 224, 224), kFrame(150, 150, 78);

// The list window's five buttons (widths 780, 945, 945, 945, 930 twips) and two input boxes on an
// 800-pixel form.
class StyleFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(800, 500);
        const std::pair<const char*, int> row[] = {
            {"关闭(&Q)", 52}, {"停用帐套", 63}, {"启用帐套", 63}, {"修改帐套", 63}, {"新增帐套", 62}};
        for (const auto& [caption, width] : row) {
            auto* b = new QPushButton(caption, &form);
            b->resize(width, 41);
            buttons << b;
        }
        code = new QLineEdit("admin", &form);
        code->setObjectName("txtCode");
        code->setGeometry(100, 60, 150, 22);
        pwd = new QLineEdit("secret", &form);
        pwd->setObjectName("txtPwd");
        pwd->setGeometry(100, 100, 150, 22);
        QWidget::setTabOrder(code, pwd);
    }
    // The box's background and its frame: colour, width and distance outside the box in pixels.
    static void expectLook(QLineEdit* box, bool focused) {
        const QColor fill = focused ? QColor(255, 255, 192) : QColor(Qt::white);
        const int width = focused ? 2 : 1;  // with the focus 20 twips outside, widened to whole pixels
        ShapeWidget* frame = gui::FrameShapeOf(box);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(box->palette().color(QPalette::Base), fill);
        EXPECT_EQ(frame->fillColour(), fill);
        EXPECT_EQ(frame->borderColour(), focused ? QColor(255, 0, 0) : QColor(171, 169, 146));
        EXPECT_EQ(frame->borderWidth(), width);
        EXPECT_EQ(frame->geometry(), box->geometry().adjusted(-width, -width, width, width));
    }
    template <typename T>
    T* part(const char* name) {
        return form.findChild<T*>(name, Qt::FindDirectChildrenOnly);
    }
    QList<int> lefts() const {
        QList<int> out;
        for (auto* b : buttons)
            out << b->x();
        return out;
    }
    void resize(int width) {
        form.resize(width, 500);
        QApplication::processEvents();
    }

    test::RecordingUiPort port;
    QWidget form;
    QList<QAbstractButton*> buttons;
    QLineEdit* code = nullptr;
    QLineEdit* pwd = nullptr;
};

// The five parts of the head; every resize lays the row out again; a button hidden in the load
// handler or after load keeps its place and leaves the count; styling again reuses the head.
TEST_F(StyleFormTest, BuildsTheHeadAndLaysItOutOnEveryResize) {
    buttons[4]->hide();  // hidden in the load handler, before the head is made: still placed
    gui::Set_Style(&form, buttons, "帐套管理");

    // The colours of the parts: SampleWindowDrawsHeadButtonsAndBoxes, pixel by pixel.
    auto* band = part<QLabel>("ImgTitle");
    ASSERT_NE(band, nullptr);
    EXPECT_EQ(band->pixmap().size(), QSize(1500, 53));
    EXPECT_TRUE(band->hasScaledContents());
    EXPECT_EQ(band->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->kind(), ShapeWidget::Kind::RoundedRectangle);
    EXPECT_EQ(part<ShapeWidget>("ShpTitle2")->kind(), ShapeWidget::Kind::Rectangle);
    auto* title = part<QLabel>("LblTitle");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "【帐套管理】");
    // The Hei face, or its stand-in where it is missing: never the window font made bold.
    const auto face = style::TitleFont::choose([](const QString& f) { return QFontDatabase::hasFamily(f); });
    const QFontInfo shown(title->font());
    EXPECT_EQ(shown.family(), face.family);
    EXPECT_EQ(shown.bold(), face.bold);
    EXPECT_EQ(title->font().pointSize(), 14);
    EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    for (auto* b : buttons)
        EXPECT_EQ(b->palette().color(QPalette::Button), kPlate);
    EXPECT_TRUE(port.messages.isEmpty());

    QStringList order;  // children in stacking order, back to front
    for (QObject* child : form.children()) {
        if (child->isWidgetType() && !qobject_cast<QLineEdit*>(child))
            order << (child->objectName().isEmpty() ? "button" : child->objectName());
    }
    EXPECT_EQ(order, (QStringList{"ImgTitle", "LblTitle", "ShpTitle1", "ShpTitle2", "LneTitle", "button",
                                  "button", "button", "button", "button"}));

    // 800 px = 12000 twips: first left 12000 - 600 - 780 = 10620 twips = 708 px, then touching.
    EXPECT_EQ(lefts(), (QList<int>{708, 645, 582, 519, 457}));
    for (auto* b : buttons)
        EXPECT_EQ(std::make_pair(b->y(), b->height()), std::make_pair(8, 41));
    // Plate: left 6855 - 200 twips, width 4545 + 400 twips, top 75, height 680.
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->geometry(), QRect(443, 5, 774 - 443, 51 - 5));
    // Band and strip run the window's width plus a little, from just left of it.
    EXPECT_EQ(part<QLabel>("ImgTitle")->geometry(), QRect(-1, 0, 803, 42));
    EXPECT_EQ(part<ShapeWidget>("ShpTitle2")->geometry(), QRect(-1, 42, 803, 12));
    EXPECT_EQ(title->pos(), QPoint(12, 7));
    // The line covers the strip's top border across the plate, inside the plate's side borders.
    EXPECT_EQ(part<QWidget>("LneTitle")->geometry(), QRect(444, 42, 774 - 443 - 2, 1));

    form.show();
    QApplication::processEvents();
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->width(), 774 - 443 - 62);
    resize(900);
    EXPECT_EQ(lefts(), (QList<int>{808, 745, 682, 619, 457}));
    EXPECT_EQ(band->width(), form.frameGeometry().width() + 3);
    resize(800);
    const int plateWidth = part<ShapeWidget>("ShpTitle1")->width();
    buttons[2]->hide();
    resize(900);
    // The hidden one stays where it stood at 800 px; the next closes up to the last placed button.
    EXPECT_EQ(lefts(), (QList<int>{808, 745, 582, 745 - 63, 457}));
    EXPECT_EQ(part<ShapeWidget>("ShpTitle1")->width(), plateWidth - 63);

    // A narrow window still gives the first button a non-negative left; styling again reuses the
    // head and takes the new caption.
    resize(60);
    EXPECT_EQ(buttons[0]->x(), 32);  // |900 - 600 - 780| twips = 480 twips = 32 px
    gui::Set_Style(&form, buttons, "修改帐套");
    EXPECT_EQ(form.findChildren<QLabel*>("LblTitle").size(), 1);
    EXPECT_EQ(form.findChildren<ShapeWidget*>("ShpTitle1").size(), 1);
    EXPECT_EQ(title->text(), "【修改帐套】");
}

TEST_F(StyleFormTest, PositionWithoutAFormIsReportedInTheProgramsConvention) {
    gui::Set_Style(nullptr, buttons, "x");
    gui::Set_Position(nullptr, buttons);
    gui::Set_Msflexgrid(nullptr, 0);
    QTableView noModel;
    gui::Set_Msflexgrid(&noModel, 0);
    gui::Set_MsfBorder(nullptr);
    QStringList expected;
    for (const char* f : {"Set_Style", "Set_Position", "Set_Msflexgrid", "Set_Msflexgrid", "Set_MsfBorder"})
        expected << test::msgLine(QString(f) + "():对象变量或 With 块变量未设置");
    EXPECT_EQ(test::shownLines(port), expected);
}

// The list grid's common look: centred header; the first data row current and selected to the
// last column when there is one; a frame shape named after the grid placed around it.
TEST_F(StyleFormTest, GridLook) {
    for (int rows : {0, 3}) {
        SCOPED_TRACE(rows);
        QTableView grid;
        auto* model = new QStandardItemModel(rows, 7, &grid);
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
    grid->setObjectName("MSFlexGrid1");
    grid->setGeometry(10, 65, 500, 300);
    (new QTableView(&form))->setObjectName("MSFlexGrid2");
    auto* shape = new ShapeWidget(&form);
    shape->setObjectName("shpMSFlexGrid1");
    gui::Set_MsfBorder(&form);
    EXPECT_EQ(shape->geometry(), QRect(9, 64, 502, 302));
    EXPECT_TRUE(port.messages.isEmpty());
}

QImage imageOf(const QIcon& icon, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage pictureImage(int number, bool disabled = false) {
    return ButtonImageList::picture(number, disabled).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Eighteen distinct coloured pictures, each with a grey disabled form; none outside 1 to 18.
TEST(ButtonImageListTest, EighteenDistinctPicturesWithGreyDisabledForms) {
    QSet<QByteArray> seen;
    for (int n = 1; n <= 18; ++n) {
        const QImage normal = pictureImage(n), disabled = pictureImage(n, true);
        ASSERT_EQ(normal.size(), QSize(16, 16)) << n;
        ASSERT_EQ(disabled.size(), QSize(16, 16)) << n;
        int inked = 0, coloured = 0, greyDisabled = 0;
        for (int i = 0; i < 16 * 16; ++i) {
            const QColor c = normal.pixelColor(i % 16, i / 16), d = disabled.pixelColor(i % 16, i / 16);
            inked += c.alpha() > 0;
            coloured += c.alpha() > 128 && (c.red() != c.green() || c.green() != c.blue());
            greyDisabled += d.alpha() == 0 || qAbs(d.red() - d.green()) + qAbs(d.green() - d.blue()) <= 2;
        }
        EXPECT_GT(inked, 20) << n;
        EXPECT_GT(coloured, 0) << n;
        EXPECT_EQ(greyDisabled, 256) << n;
        seen.insert(QByteArray(reinterpret_cast<const char*>(normal.constBits()), int(normal.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 18);
    EXPECT_TRUE(ButtonImageList::picture(0).isNull());
    EXPECT_TRUE(ButtonImageList::picture(19).isNull());
}

// The boxes go flat, each with a thin frame directly behind it, named after the box (an array's box
// with its index); a second pass makes no second frame; the editor of a combo box is left to the combo
// box (the window's pale colour: SampleWindowDrawsHeadButtonsAndBoxes). Tab moves the highlight; the
// box that gets the focus, by Tab or by a click, has its whole text selected; the frame follows its
// box when it moves or hides.
TEST_F(StyleFormTest, FlatBoxesAndTheHighlightFollowingTheFocus) {
    auto* third = new QLineEdit(&form);
    third->setObjectName("TxtDB");
    third->setProperty("controlIndex", 2);
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    gui::Set_FlatControls(&form);
    gui::Set_FlatControls(&form);
    EXPECT_TRUE(form.autoFillBackground());
    for (QLineEdit* box : {code, pwd}) {
        EXPECT_FALSE(box->hasFrame());
        EXPECT_EQ(gui::FrameShapeOf(box)->kind(), ShapeWidget::Kind::Rectangle);
        EXPECT_EQ(form.children().indexOf(gui::FrameShapeOf(box)) + 1, form.children().indexOf(box));
    }
    EXPECT_EQ(gui::FrameShapeOf(pwd)->objectName(), "shptxtPwd");
    EXPECT_EQ(gui::FrameShapeOf(third)->objectName(), "shpTxtDB2");
    EXPECT_EQ(gui::FrameShapeOf(combo->lineEdit()), nullptr);
    EXPECT_EQ(form.findChildren<ShapeWidget*>().size(), 3);

    form.show();
    QApplication::setActiveWindow(&form);
    code->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(code->hasFocus());
    expectLook(code, true);
    expectLook(pwd, false);
    QTest::keyClick(code, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(pwd->hasFocus());
    expectLook(code, false);
    expectLook(pwd, true);
    EXPECT_EQ(pwd->selectedText(), "secret");

    code->setFocus(Qt::MouseFocusReason);
    code->deselect();  // what the click itself does after the focus arrives
    QApplication::processEvents();
    EXPECT_EQ(code->selectedText(), "admin");

    pwd->setGeometry(120, 150, 100, 22);
    expectLook(pwd, false);
    pwd->hide();
    EXPECT_FALSE(gui::FrameShapeOf(pwd)->isVisible());
    pwd->show();
    EXPECT_TRUE(gui::FrameShapeOf(pwd)->isVisible());
}

// The bag is csxx.dac beside the program: no file, a key missing from the bag or no picture under
// the key change nothing (damaged files: PictureBagTest); a picture goes to a button or a window (to
// a label: the login window's background, FrmZTLoginTest).
TEST(StyleBagPictureTest, PictureUnderTheKeyGoesToTheTargetElseNothingChanges) {
    ResetGlobals();
    QTemporaryDir dir;
    gAppPath = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    test::RecordingUiPort port;
    QPixmap builtIn(40, 30);
    builtIn.fill(Qt::blue);
    QLabel label;
    label.setPixmap(builtIn);
    gui::LoadBagPicture("201", &label);
    style::PictureBag bag;
    bag.insert("201", test::png(QSize(320, 200), Qt::red));
    bag.insert("202", test::png(QSize(10, 10), Qt::green));
    bag.insert("203", "not a picture");
    QFile file(dir.filePath("csxx.dac"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bag.toFileBytes()) > 0);
    file.close();
    gui::LoadBagPicture("204", &label);
    gui::LoadBagPicture("203", &label);
    gui::LoadBagPicture("202", nullptr);
    EXPECT_EQ(label.pixmap().toImage(), builtIn.toImage());

    QPushButton button;
    gui::LoadBagPicture("202", &button);
    EXPECT_FALSE(button.icon().isNull());
    QWidget form;
    gui::LoadBagPicture("201", &form);
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().brush(QPalette::Window).textureImage().size(), QSize(320, 200));
    EXPECT_TRUE(port.messages.isEmpty());
    ResetGlobals();
}

// The list window's head and buttons and the two boxes, drawn. The pictures come only while the
// main window exists, found by its name in any letters (the captions and numbers: ButtonPicturesTest).
TEST_F(StyleFormTest, SampleWindowDrawsHeadButtonsAndBoxes) {
    gui::InstallChineseUi(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    gui::Set_Style(&form, buttons, "帐套管理");
    EXPECT_TRUE(buttons[0]->icon().isNull()) << "no main window: the button keeps what it had";
    QWidget mainWindow;
    mainWindow.setObjectName("mdifrmztgl");
    gui::Set_ButtonPictures(buttons);
    EXPECT_EQ(imageOf(buttons[0]->icon()), pictureImage(10));
    EXPECT_EQ(imageOf(buttons[0]->icon(), QIcon::Disabled), pictureImage(10, true));
    gui::Set_FlatControls(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    pwd->setFocus();
    QApplication::processEvents();
    const QImage shot = form.grab().toImage();
    test::render(&form, "ztgl-styled-sample.png");

    // The plate from 443 to 773 px, the buttons from 457 px (BuildsTheHeadAndLaysItOutOnEveryResize).
    // clang-format off
    const struct { QPoint at; QColor colour; const char* what; } pixels[] = {
        {{450, 20}, kPlate, "plate beside the buttons"}, {{443, 25}, kFrame, "plate border"},
        {{200, 47}, kPlate, "strip"}, {{200, 42}, kFrame, "strip border"},
        {{450, 42}, kPlate, "line where plate meets strip"}, {{20, 250}, QColor(238, 242, 221), "window background"},
        {{99, 59}, QColor(171, 169, 146), "frame of the box at rest"}, {{240, 70}, Qt::white, "box at rest"},
        {{98, 98}, Qt::red, "outer ring of the focused frame"}, {{99, 99}, Qt::red, "inner ring of the focused frame"},
        {{240, 111}, QColor(255, 255, 192), "focused box"},
    };
    // clang-format on
    for (const auto& p : pixels)
        EXPECT_EQ(shot.pixelColor(p.at), p.colour) << p.what;

    // A picture button shows its picture (12, the green check) centred above the caption, both whole.
    const QImage button = buttons[2]->grab().toImage();
    const auto extent = [&button](auto accepts) {  // where the pixels lie that `accepts` accepts
        QRect r;
        for (int i = 0; i < button.width() * button.height(); ++i)
            if (accepts(button.pixelColor(i % button.width(), i / button.width())))
                r |= QRect(i % button.width(), i / button.width(), 1, 1);
        return r;
    };
    const QRect check =
        extent([](const QColor& c) { return c.green() > 120 && c.red() < 90 && c.blue() < 110; });
    ASSERT_FALSE(check.isNull());
    EXPECT_LT(check.bottom(), button.height() / 2);
    EXPECT_LE(qAbs(check.left() - (button.width() - 1 - check.right())), 3);
    const QRect caption = extent([](const QColor& c) { return c.lightness() < 90; });
    EXPECT_GT(caption.top(), check.bottom());
    EXPECT_GT(caption.left(), 1);
    EXPECT_LT(caption.right(), button.width() - 2);
}

}  // namespace
