#include "ui/Style.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "platform/RuntimeError.h"
#include "process/UiPort.h"
#include "style/ButtonPictures.h"
#include "style/ButtonRowLayout.h"
#include "style/FocusFrame.h"
#include "style/StyleColours.h"
#include "style/TitleFont.h"
#include "ui/BandPicture.h"
#include "ui/ButtonImageList.h"
#include "ui/FocusLookFilter.h"
#include "ui/HeadLayoutFilter.h"
#include "ui/PictureButtonLook.h"

namespace ztgl::gui {
namespace {

using style::TwipsRect;
namespace colours = style::colours;

const QString kImgTitle = QStringLiteral("ImgTitle");
const QString kShpTitle1 = QStringLiteral("ShpTitle1");
const QString kShpTitle2 = QStringLiteral("ShpTitle2");
const QString kLblTitle = QStringLiteral("LblTitle");
const QString kLneTitle = QStringLiteral("LneTitle");

int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}
int ceilDiv(int a, int b) {
    return -floorDiv(-a, b);
}

void reportNotSet(const QString& label) {
    ReportError(label, RuntimeError(RuntimeError::ObjectNotSet));
}

// A direct child of the form by name, without regard to case.
template <typename T>
T* headPart(QWidget* form, const QString& name) {
    const auto children = form->findChildren<T*>(QString(), Qt::FindDirectChildrenOnly);
    for (T* child : children) {
        if (child->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

template <typename T>
T* makeHeadPart(QWidget* form, const QString& name) {
    if (T* existing = headPart<T>(form, name))
        return existing;
    auto* part = new T(form);
    part->setObjectName(name);
    return part;
}

void setBackground(QWidget* w, QPalette::ColorRole role, const QColor& colour) {
    QPalette pal = w->palette();
    pal.setColor(role, colour);
    w->setPalette(pal);
}

void buildHead(QWidget* form, const QList<QAbstractButton*>& buttons, const QString& caption) {
    auto* band = makeHeadPart<QLabel>(form, kImgTitle);
    band->setPixmap(BandPicture::picture());
    band->setScaledContents(true);
    band->setFrameShape(QFrame::NoFrame);
    band->show();

    auto* plate = makeHeadPart<ShapeWidget>(form, kShpTitle1);
    Set_ShapeStyle(plate, toColor(colours::kPlate), ShapeWidget::Kind::RoundedRectangle);
    plate->show();
    auto* strip = makeHeadPart<ShapeWidget>(form, kShpTitle2);
    Set_ShapeStyle(strip, toColor(colours::kPlate), ShapeWidget::Kind::Rectangle);
    strip->show();

    auto* title = makeHeadPart<QLabel>(form, kLblTitle);
    title->setText(QStringLiteral("【") + caption + QStringLiteral("】"));
    title->setFrameShape(QFrame::NoFrame);
    title->setAutoFillBackground(false);
    title->setTextFormat(Qt::PlainText);
    const auto face =
        style::TitleFont::choose([](const QString& family) { return QFontDatabase::hasFamily(family); });
    QFont font(face.family, style::TitleFont::kPointSize);
    font.setBold(face.bold);
    title->setFont(font);
    setBackground(title, QPalette::WindowText, toColor(colours::kTitleText));
    title->adjustSize();
    title->show();

    auto* line = makeHeadPart<QWidget>(form, kLneTitle);
    line->setAutoFillBackground(true);
    setBackground(line, QPalette::Window, toColor(colours::kPlate));
    line->show();

    for (QAbstractButton* b : buttons)
        setBackground(b, QPalette::Button, toColor(colours::kPlate));

    // Band, title, plate, strip and line in this order from the back, all behind the window's own
    // controls (the buttons stand on the plate).
    for (QWidget* part :
         {static_cast<QWidget*>(line), static_cast<QWidget*>(strip), static_cast<QWidget*>(plate),
          static_cast<QWidget*>(title), static_cast<QWidget*>(band)}) {
        part->lower();
    }
}

// "shp" + name (+ index for a member of a control array).
QString frameShapeName(const QWidget* control) {
    const QVariant index = control->property("controlIndex");
    return style::FocusFrame::shapeName(control->objectName(),
                                        index.isValid() ? std::optional<int>(index.toInt()) : std::nullopt);
}

void place(QWidget* w, const TwipsRect& r) {
    if (w)
        w->setGeometry(twipsToPixels(r));
}

}  // namespace

QRect twipsToPixels(const TwipsRect& r) {
    const int left = floorDiv(r.left, 15);
    const int top = floorDiv(r.top, 15);
    return QRect(left, top, ceilDiv(r.right(), 15) - left, ceilDiv(r.bottom(), 15) - top);
}

TwipsRect pixelsToTwips(const QRect& r) {
    return {pixelsToTwips(r.x()), pixelsToTwips(r.y()), pixelsToTwips(r.width()), pixelsToTwips(r.height())};
}

void Set_Style(QWidget* form, const QList<QAbstractButton*>& buttons, const QString& caption) {
    if (!form) {
        reportNotSet(QStringLiteral("Set_Style():"));
        return;
    }
    buildHead(form, buttons, caption);
    auto* filter = form->findChild<HeadLayoutFilter*>(QString(), Qt::FindDirectChildrenOnly);
    if (!filter)
        filter = new HeadLayoutFilter(form);
    filter->setButtons(buttons);
    auto* look = form->findChild<PictureButtonLook*>(QString(), Qt::FindDirectChildrenOnly);
    if (!look)
        look = new PictureButtonLook(form);
    for (QAbstractButton* b : buttons)
        b->installEventFilter(look);
    Set_Position(form, buttons);
    Set_ButtonPictures(buttons);
}

void Set_Position(QWidget* form, const QList<QAbstractButton*>& buttons) {
    if (!form) {
        reportNotSet(QStringLiteral("Set_Position():"));
        return;
    }
    QVector<style::ButtonSlot> row;
    for (QAbstractButton* b : buttons) {
        row.push_back({pixelsToTwips(b->width()),
                       style::ButtonRowLayout::takesPart(b->isVisible(), form->isVisible())});
    }
    const int outer = form->isWindow() ? form->frameGeometry().width() : form->width();
    const style::HeadGeometry g =
        style::ButtonRowLayout::compute(row, pixelsToTwips(form->width()), pixelsToTwips(outer));
    for (int i = 0; i < buttons.size(); ++i) {
        if (g.buttons[i])
            place(buttons[i], *g.buttons[i]);
    }
    place(headPart<QLabel>(form, kImgTitle), g.band);
    place(headPart<ShapeWidget>(form, kShpTitle2), g.strip);
    place(headPart<ShapeWidget>(form, kShpTitle1), g.plate);
    if (auto* title = headPart<QLabel>(form, kLblTitle)) {
        title->move(twipsToPixels(g.titleLeft), twipsToPixels(g.titleTop));
        title->adjustSize();
    }
    if (auto* line = headPart<QWidget>(form, kLneTitle)) {
        // One pixel in from each end, so the plate's side borders run on into the strip's border.
        const QRect span = twipsToPixels(TwipsRect{g.lineLeft, g.lineTop, g.lineRight - g.lineLeft, 1});
        line->setGeometry(span.left() + 1, span.top(), qMax(0, span.width() - 2), 1);
    }
}

void Set_ButtonPictures(const QList<QAbstractButton*>& buttons) {
    // The pictures belong to the main window: without it, buttons keep their own.
    bool mainWindowLoaded = false;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->objectName().toUpper() == QLatin1String("MDIFRMZTGL"))
            mainWindowLoaded = true;
    }
    if (!mainWindowLoaded)
        return;
    for (QAbstractButton* b : buttons) {
        const auto number = style::ButtonPictures::pictureNumber(b->text());
        if (!number)
            continue;
        b->setIcon(ButtonImageList::icon(*number));
        b->setIconSize(QSize(ButtonImageList::kSize, ButtonImageList::kSize));
    }
}

void Set_ShapeStyle(ShapeWidget* shape, const QColor& fill, ShapeWidget::Kind kind) {
    shape->setFillColour(fill);
    shape->setBorderColour(toColor(colours::kFrame));
    shape->setOpaque(true);
    shape->setKind(kind);
}

void Set_FlatControls(QWidget* form) {
    if (!form)
        return;
    form->setAutoFillBackground(true);
    setBackground(form, QPalette::Window, toColor(colours::kWindow));

    auto* filter = form->findChild<FocusLookFilter*>(QString(), Qt::FindDirectChildrenOnly);
    if (!filter)
        filter = new FocusLookFilter(form);
    const auto edits = form->findChildren<QLineEdit*>();
    for (QLineEdit* edit : edits) {
        // The editors inside combo and spin boxes belong to those boxes.
        QWidget* container = edit->parentWidget();
        if (qobject_cast<QComboBox*>(container) || qobject_cast<QAbstractSpinBox*>(container))
            continue;
        edit->setFrame(false);
        edit->installEventFilter(filter);  // installing again replaces, never doubles
        // The frame is found by name: a box without a name gets the look but no frame.
        if (!edit->objectName().isEmpty()) {
            ShapeWidget* frame = FrameShapeOf(edit);
            if (!frame) {
                frame = new ShapeWidget(container);
                frame->setObjectName(frameShapeName(edit));
                frame->setOpaque(true);
                frame->setVisible(!edit->isHidden());
            }
            frame->stackUnder(edit);
        }
        if (edit->hasFocus()) {
            Set_FocusOn(edit);
        } else {
            Set_FocusOff(edit);
        }
    }
}

ShapeWidget* FrameShapeOf(QWidget* control) {
    if (!control || !control->parentWidget() || control->objectName().isEmpty())
        return nullptr;
    return control->parentWidget()->findChild<ShapeWidget*>(frameShapeName(control),
                                                            Qt::FindDirectChildrenOnly);
}

namespace {

void applyFrameLook(QWidget* control, const style::FrameLook& look) {
    setBackground(control, QPalette::Base, toColor(look.fill));
    ShapeWidget* frame = FrameShapeOf(control);
    if (!frame)
        return;
    frame->setBorderColour(toColor(look.border));
    frame->setBorderWidth(look.borderWidth);
    frame->setFillColour(toColor(look.fill));
    frame->setGeometry(twipsToPixels(look.rect));
}

}  // namespace

void Set_FocusOn(QWidget* control) {
    if (control)
        applyFrameLook(control, style::FocusFrame::withFocus(pixelsToTwips(control->geometry())));
}

void Set_FocusOff(QWidget* control) {
    if (control)
        applyFrameLook(control, style::FocusFrame::atRest(pixelsToTwips(control->geometry())));
}

void Set_Msflexgrid(QTableView* grid, int style) {
    if (!grid || !grid->model()) {
        reportNotSet(QStringLiteral("Set_Msflexgrid():"));
        return;
    }
    if (style != 0)
        return;
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    QAbstractItemModel* model = grid->model();
    if (model->rowCount() < 1 || model->columnCount() < 1)
        return;
    const QModelIndex first = model->index(0, 0);
    grid->selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    grid->selectionModel()->select(QItemSelection(first, model->index(0, model->columnCount() - 1)),
                                   QItemSelectionModel::ClearAndSelect);
}

void Set_MsfBorder(QWidget* form) {
    if (!form) {
        reportNotSet(QStringLiteral("Set_MsfBorder():"));
        return;
    }
    const auto grids = form->findChildren<QTableView*>();
    for (QTableView* grid : grids) {
        auto* shape = form->findChild<QWidget*>(QStringLiteral("shp") + grid->objectName());
        if (shape && !grid->objectName().isEmpty()) {
            shape->setGeometry(twipsToPixels(pixelsToTwips(grid->geometry()).grown(15)));
        }
    }
}

QList<QAbstractButton*> Make_CommandButtons(QWidget* form, const std::function<QString(int)>& caption,
                                            const std::function<QString(int)>& toolTip,
                                            const std::function<void(int)>& click) {
    QList<QAbstractButton*> buttons;
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(caption(i), form);
        button->setObjectName(QStringLiteral("command1_%1").arg(i));
        button->setToolTip(toolTip(i));
        button->setAutoDefault(false);
        button->resize(twipsToPixels(1350), twipsToPixels(615));
        QObject::connect(button, &QPushButton::clicked, form, [click, i] { click(i); });
        buttons << button;
    }
    return buttons;
}

}  // namespace ztgl::gui
