// The common look of the windows, drawn by Qt: the head and its button row, button pictures by
// caption, flat input boxes and the focus frame, the list grid's look, pictures from the bag, and a
// styled sample window checked pixel by pixel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "RecordingUiPort.h"
#include "process/Globals.h"
#include "style/PictureBag.h"
#include "style/TitleFont.h"
#include "ui/BagPicture.h"
#include "ui/ButtonImageList.h"
#include "ui/GuiSetup.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

using namespace ztgl;
using ztgl::gui::ButtonImageList;
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
    EXPECT_FALSE(band->pixmap().toImage().isGrayscale());
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

QImage imageOf(const QIcon& icon, QIcon::Mode mode = QIcon::Normal) {
    return icon.pixmap(QSize(16, 16), mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage pictureImage(int number, bool disabled = false) {
    return ButtonImageList::picture(number, disabled).toImage().convertToFormat(QImage::Format_ARGB32);
}

class StyleButtonPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        own.fill(Qt::magenta);
        for (const char* caption :
             {"关闭(&Q)", "停用帐套", "启用帐套", "修改帐套", "新增帐套", "升级数据库", "关闭(&X)"}) {
            auto* b = new QPushButton(QString::fromUtf8(caption), &form);
            b->setIcon(QIcon(own));  // the picture from the window's own layout
            buttons << b;
        }
    }
    bool keepsOwn(QAbstractButton* b) const {
        return imageOf(b->icon()) == own.toImage().convertToFormat(QImage::Format_ARGB32);
    }

    QPixmap own{16, 16};
    QWidget form;
    QList<QAbstractButton*> buttons;
};

// Pictures only while the main window exists, found by its name in any letters; a child named
// like it is not it.
TEST_F(StyleButtonPicturesTest, ListWindowButtonsGetTheirPicturesWhileTheMainWindowExists) {
    QWidget notMain;
    notMain.setObjectName(QStringLiteral("frmZTLogin"));
    (new QWidget(&form))->setObjectName(QStringLiteral("MDIfrmZTGL"));
    gui::Set_ButtonPictures(buttons);
    for (auto* b : buttons)
        EXPECT_TRUE(keepsOwn(b)) << b->text().toStdString();

    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("mdifrmztgl"));
    gui::Set_ButtonPictures(buttons);
    const int numbers[] = {10, 5, 12, 6, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(imageOf(buttons[i]->icon()), pictureImage(numbers[i])) << i;
        EXPECT_EQ(imageOf(buttons[i]->icon(), QIcon::Disabled), pictureImage(numbers[i], true)) << i;
        EXPECT_EQ(buttons[i]->iconSize(), QSize(16, 16));
    }
    EXPECT_TRUE(keepsOwn(buttons[5]));  // "升级数据库"
    EXPECT_TRUE(keepsOwn(buttons[6]));  // "关闭(&X)": another access key, no picture
}

TEST(ButtonImageListTest, EighteenDistinctPicturesWithGreyDisabledForms) {
    QSet<QByteArray> seen;
    for (int n = 1; n <= 18; ++n) {
        const QImage normal = pictureImage(n);
        const QImage disabled = pictureImage(n, true);
        ASSERT_EQ(normal.size(), QSize(16, 16)) << n;
        ASSERT_EQ(disabled.size(), QSize(16, 16)) << n;
        EXPECT_NE(normal, disabled) << n;
        int inked = 0;
        bool colourful = false;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const QColor c = normal.pixelColor(x, y);
                if (c.alpha() > 0)
                    ++inked;
                if (c.alpha() > 128 && (c.red() != c.green() || c.green() != c.blue()))
                    colourful = true;
                const QColor d = disabled.pixelColor(x, y);
                if (d.alpha() > 0) {
                    EXPECT_LE(qAbs(d.red() - d.green()) + qAbs(d.green() - d.blue()), 2)
                        << n << " " << x << "," << y;
                }
            }
        }
        EXPECT_GT(inked, 20) << n;
        EXPECT_TRUE(colourful) << n;
        seen.insert(QByteArray(reinterpret_cast<const char*>(normal.constBits()), int(normal.sizeInBytes())));
    }
    EXPECT_EQ(seen.size(), 18);
    EXPECT_TRUE(ButtonImageList::picture(0).isNull());
    EXPECT_TRUE(ButtonImageList::picture(19).isNull());
}

// The rows of `image` holding pixels close to `colour`, and their columns.
struct Extent {
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    bool found() const { return bottom >= 0; }
};

template <typename Pred>
Extent extentOf(const QImage& image, Pred pred) {
    Extent e;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!pred(image.pixelColor(x, y)))
                continue;
            e.top = qMin(e.top, y);
            e.bottom = qMax(e.bottom, y);
            e.left = qMin(e.left, x);
            e.right = qMax(e.right, x);
        }
    }
    return e;
}

bool isPictureGreen(const QColor& c) {
    return c.green() > 120 && c.red() < 90 && c.blue() < 110;
}
bool isText(const QColor& c) {
    return c.lightness() < 90;
}

// A picture button shows its picture centred above the caption, both whole on a short button; a
// caption alone is centred.
TEST(StylePictureButtonTest, PictureCentredAboveTheCaption) {
    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("MDIfrmZTGL"));
    QWidget form;
    form.resize(400, 200);
    auto* ok = new QPushButton(QStringLiteral("确定(&Y)"), &form);
    ok->resize(52, 41);
    auto* plain = new QPushButton(QStringLiteral("升级数据库"), &form);
    plain->resize(90, 41);
    gui::Set_Style(&form, {ok, plain}, QStringLiteral("密码修改"));
    form.show();
    QApplication::processEvents();

    QImage shot = ok->grab().toImage();
    const Extent check = extentOf(shot, isPictureGreen);  // picture 12, the green check
    ASSERT_TRUE(check.found());
    EXPECT_LT(check.bottom, shot.height() / 2);
    EXPECT_LE(qAbs(check.left - (shot.width() - 1 - check.right)), 3) << check.left << " " << check.right;
    Extent caption = extentOf(shot, isText);
    ASSERT_TRUE(caption.found());
    EXPECT_GT(caption.top, check.bottom);
    EXPECT_GT(caption.left, 1);  // whole: not cut at either side
    EXPECT_LT(caption.right, shot.width() - 2);

    shot = plain->grab().toImage();
    caption = extentOf(shot, isText);
    ASSERT_TRUE(caption.found());
    EXPECT_LE(qAbs(caption.top - (shot.height() - 1 - caption.bottom)), 4);
    EXPECT_LE(qAbs(caption.left - (shot.width() - 1 - caption.right)), 4);
}

const QColor kWhite(255, 255, 255);
const QColor kLightYellow(255, 255, 192);
const QColor kGrey(171, 169, 146);
const QColor kRed(255, 0, 0);

class StyleFlatControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(400, 200);
        code = new QLineEdit(QStringLiteral("admin"), &form);
        code->setObjectName(QStringLiteral("txtCode"));
        code->setGeometry(100, 60, 150, 22);
        pwd = new QLineEdit(QStringLiteral("secret"), &form);
        pwd->setObjectName(QStringLiteral("txtPwd"));
        pwd->setGeometry(100, 100, 150, 22);
        QWidget::setTabOrder(code, pwd);
    }
    // The box's background and its frame: colour, width and distance outside the box in pixels.
    static void expectLook(QLineEdit* box, const QColor& fill, const QColor& border, int width, int outset) {
        ShapeWidget* frame = gui::FrameShapeOf(box);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(box->palette().color(QPalette::Base), fill);
        EXPECT_EQ(frame->fillColour(), fill);
        EXPECT_EQ(frame->borderColour(), border);
        EXPECT_EQ(frame->borderWidth(), width);
        EXPECT_EQ(frame->geometry(), box->geometry().adjusted(-outset, -outset, outset, outset));
    }
    static void expectAtRest(QLineEdit* box) { expectLook(box, kWhite, kGrey, 1, 1); }
    // 20 twips outside the box, widened to whole pixels.
    static void expectFocused(QLineEdit* box) { expectLook(box, kLightYellow, kRed, 2, 2); }

    QWidget form;
    QLineEdit* code = nullptr;
    QLineEdit* pwd = nullptr;
};

// A second pass makes no second frame; a box of an array carries its index in the frame's name;
// the editor of a combo box is left to the combo box.
TEST_F(StyleFlatControlsTest, PaleWindowAndFlatBoxesWithAThinFrameBehindThem) {
    auto* third = new QLineEdit(&form);
    third->setObjectName(QStringLiteral("TxtDB"));
    third->setProperty("controlIndex", 2);
    auto* combo = new QComboBox(&form);
    combo->setEditable(true);
    combo->lineEdit()->setObjectName(QStringLiteral("comboEdit"));
    gui::Set_FlatControls(&form);
    gui::Set_FlatControls(&form);
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(238, 242, 221));
    for (QLineEdit* box : {code, pwd}) {
        EXPECT_FALSE(box->hasFrame());
        expectAtRest(box);
        ShapeWidget* frame = gui::FrameShapeOf(box);
        EXPECT_EQ(frame->kind(), ShapeWidget::Kind::Rectangle);
        const auto siblings = form.children();  // directly behind its box
        EXPECT_EQ(siblings.indexOf(frame) + 1, siblings.indexOf(box));
    }
    EXPECT_EQ(gui::FrameShapeOf(pwd)->objectName(), QStringLiteral("shptxtPwd"));
    EXPECT_EQ(gui::FrameShapeOf(third)->objectName(), QStringLiteral("shpTxtDB2"));
    EXPECT_EQ(gui::FrameShapeOf(combo->lineEdit()), nullptr);
    EXPECT_EQ(form.findChildren<ShapeWidget*>().size(), 3);
}

// Tab moves the highlight; the box that gets the focus, by Tab or by a click, has its whole text
// selected; the frame follows its box when it moves or hides.
TEST_F(StyleFlatControlsTest, TabbingMovesTheHighlightFromOneBoxToTheNext) {
    gui::Set_FlatControls(&form);
    form.show();
    QApplication::setActiveWindow(&form);
    code->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    ASSERT_TRUE(code->hasFocus());
    expectFocused(code);
    expectAtRest(pwd);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(code, &tab);
    QApplication::processEvents();
    ASSERT_TRUE(pwd->hasFocus());
    expectAtRest(code);
    expectFocused(pwd);
    EXPECT_EQ(pwd->selectedText(), QStringLiteral("secret"));

    code->setFocus(Qt::MouseFocusReason);
    code->deselect();  // what the click itself does after the focus arrives
    QApplication::processEvents();
    EXPECT_EQ(code->selectedText(), QStringLiteral("admin"));

    pwd->setGeometry(120, 150, 100, 22);
    expectAtRest(pwd);
    pwd->hide();
    EXPECT_FALSE(gui::FrameShapeOf(pwd)->isVisible());
    pwd->show();
    EXPECT_TRUE(gui::FrameShapeOf(pwd)->isVisible());
}

QByteArray png(const QSize& size, const QColor& colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(StyleBagPictureTest, PictureUnderTheKeyGoesToTheTargetElseNothingChanges) {
    ResetGlobals();
    QTemporaryDir dir;
    gAppPath = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    test::RecordingUiPort port;
    QPixmap builtIn(40, 30);
    builtIn.fill(Qt::blue);
    QLabel label;
    label.setPixmap(builtIn);
    const auto keepsBuiltIn = [&] { return label.pixmap().toImage() == builtIn.toImage(); };
    const auto writeFile = [&](const QByteArray& bytes) {
        QFile file(dir.filePath(QStringLiteral("csxx.dac")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };

    gui::LoadBagPicture(QStringLiteral("201"), &label);  // no bag beside the program
    EXPECT_TRUE(keepsBuiltIn());
    writeFile(QByteArrayLiteral("\x11\x20\x01\x00\xff\xff\xff\x00\x00\x00\x00\x00ZTPB"));  // damaged
    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_TRUE(keepsBuiltIn());

    style::PictureBag bag;
    bag.insert(QStringLiteral("202"), png(QSize(10, 10), Qt::green));
    bag.insert(QStringLiteral("203"), QByteArrayLiteral("not a picture"));
    writeFile(bag.toFileBytes());
    for (const char* key : {"201", "203"}) {  // missing key, no picture under the key
        gui::LoadBagPicture(QString::fromLatin1(key), &label);
        EXPECT_TRUE(keepsBuiltIn()) << key;
        EXPECT_TRUE(gui::ReadBagPicture(QString::fromLatin1(key)).isNull()) << key;
    }
    gui::LoadBagPicture(QStringLiteral("202"), nullptr);

    bag.insert(QStringLiteral("201"), png(QSize(320, 200), Qt::red));
    writeFile(bag.toFileBytes());
    gui::LoadBagPicture(QStringLiteral("201"), &label);
    EXPECT_EQ(label.pixmap().size(), QSize(320, 200));
    EXPECT_EQ(label.pixmap().toImage().pixelColor(5, 5), QColor(Qt::red));
    QPushButton button;
    gui::LoadBagPicture(QStringLiteral("202"), &button);
    EXPECT_FALSE(button.icon().isNull());
    QWidget form;
    gui::LoadBagPicture(QStringLiteral("201"), &form);
    EXPECT_TRUE(form.autoFillBackground());
    EXPECT_EQ(form.palette().brush(QPalette::Window).textureImage().size(), QSize(320, 200));
    EXPECT_TRUE(port.messages.isEmpty());
    ResetGlobals();
}

struct SampleWindow {
    QWidget form;
    QList<QAbstractButton*> buttons;
    QList<QLineEdit*> boxes;

    SampleWindow() {
        form.setObjectName(QStringLiteral("frmSample"));
        form.setWindowTitle(QStringLiteral("新增帐套"));
        form.resize(600, 300);
        const std::pair<const char*, int> captions[] = {
            {"确定(&Y)", 945}, {"关闭(&Q)", 945}, {"新增帐套", 1200}};
        for (const auto& [caption, width] : captions) {
            auto* b = new QPushButton(QString::fromUtf8(caption), &form);
            b->resize(gui::twipsToPixels(width), gui::twipsToPixels(615));
            buttons << b;
        }
        // Two members of the box array TxtDB, each with its label.
        const std::pair<const char*, const char*> rows[] = {{"帐套名称：", "演示公司"},
                                                            {"用户名称：", "管理员"}};
        for (int i = 0; i < 2; ++i) {
            auto* label = new QLabel(QString::fromUtf8(rows[i].first), &form);
            label->setGeometry(40, 90 + 40 * i, 90, 22);
            auto* box = new QLineEdit(QString::fromUtf8(rows[i].second), &form);
            box->setObjectName(QStringLiteral("TxtDB"));
            box->setProperty("controlIndex", i);
            box->setGeometry(140, 90 + 40 * i, 240, 22);
            boxes << box;
        }
        gui::Set_Style(&form, buttons, form.windowTitle());
        gui::Set_FlatControls(&form);
    }
};

TEST(StyleRenderTest, SampleWindowDrawsHeadButtonsAndBoxes) {
    gui::InstallChineseUi(*qobject_cast<QApplication*>(QCoreApplication::instance()));
    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->setObjectName(QStringLiteral("MDIfrmZTGL"));
    SampleWindow w;
    gui::Set_ButtonPictures(w.buttons);
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    w.boxes[1]->setFocus();
    QApplication::processEvents();
    const QImage shot = w.form.grab().toImage();
    // ZTGL_RENDER_DIR=/some/dir keeps the picture for a look by eye.
    const QString dir = qEnvironmentVariable("ZTGL_RENDER_DIR");
    if (!dir.isEmpty())
        shot.save(QDir(dir).filePath(QStringLiteral("styled-sample.png")));

    // 600 px = 9000 twips: buttons at 497, 434 and 354 px; the plate from 340 to 574 px.
    EXPECT_EQ(w.buttons[0]->geometry(), QRect(497, 8, 63, 41));
    EXPECT_EQ(w.buttons[2]->geometry(), QRect(354, 8, 80, 41));
    const struct {
        QPoint at;
        QColor colour;
        const char* what;
    } pixels[] = {
        {{345, 20}, QColor(224, 224, 224), "plate beside the buttons"},
        {{340, 25}, QColor(150, 150, 78), "plate border"},
        {{200, 47}, QColor(224, 224, 224), "strip"},
        {{200, 42}, QColor(150, 150, 78), "strip border"},
        {{345, 42}, QColor(224, 224, 224), "line where plate meets strip"},
        {{20, 250}, QColor(238, 242, 221), "window background"},
        {{139, 89}, QColor(171, 169, 146), "frame of the box at rest"},
        {{370, 100}, QColor(255, 255, 255), "box at rest"},
        {{138, 128}, QColor(255, 0, 0), "outer ring of the focused frame"},
        {{139, 129}, QColor(255, 0, 0), "inner ring of the focused frame"},
        {{300, 141}, QColor(255, 255, 192), "focused box"},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(shot.pixelColor(p.at), p.colour) << p.what;

    // The bold title shows dark strokes inside the band, and the band is not plain.
    int dark = 0;
    for (int y = 7; y < 35; ++y) {
        for (int x = 12; x < 130; ++x)
            dark += shot.pixelColor(x, y).lightness() < 60 ? 1 : 0;
    }
    EXPECT_GT(dark, 100);
    EXPECT_NE(shot.pixelColor(150, 5), shot.pixelColor(590, 38));
}

}  // namespace
