#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <functional>

#include "style/Rgb.h"
#include "style/TwipsRect.h"
#include "ui/ShapeWidget.h"

class QAbstractButton;
class QTableView;
class QWidget;

namespace ztgl::gui {

// The common look of the working windows.

// Title band across the top, grey plate at the right holding the buttons in one row (index 0
// rightmost), "【caption】" in the Hei title face (style::TitleFont) at the left, strip with a line under the band; button pictures
// by caption, shown above the caption on push buttons. Lays out at once and again on every resize
// of the form (and when it is shown).
// The head's parts are children of the form named ImgTitle, ShpTitle1, ShpTitle2, LblTitle and
// LneTitle; calling it again reuses them.
void Set_Style(QWidget* form, const QList<QAbstractButton*>& buttons, const QString& caption);
// The two buttons "command1_0" (close) and "command1_1" of the small dialogs, 1350 by 615 twips
// (caption and picture fit), neither a default button; a click runs `click` with the index.
QList<QAbstractButton*> Make_CommandButtons(QWidget* form, const std::function<QString(int)>& caption,
                                            const std::function<QString(int)>& toolTip,
                                            const std::function<void(int)>& click);
// Lays out the buttons and the head again (after a button was hidden or shown). While the form is
// not visible every button is placed; afterwards a hidden button keeps its place and is not counted.
void Set_Position(QWidget* form, const QList<QAbstractButton*>& buttons);
// Gives each button the picture of its caption, when the main window "MDIfrmZTGL" exists;
// otherwise, and for captions without a picture, a button keeps the picture it has.
void Set_ButtonPictures(const QList<QAbstractButton*>& buttons);
// Fill colour, common frame colour, opaque fill and kind of a shape (the dialogs' white shape).
void Set_ShapeStyle(ShapeWidget* shape, const QColor& fill, ShapeWidget::Kind kind);

// Pale window background, flat framed input boxes; every line edit of the form then selects
// its whole text and switches the focus highlight on when it gains the focus and off when it
// loses it (Set_FocusOn / Set_FocusOff). The frame of a line edit is a ShapeWidget beside it named
// "shp" + its objectName, followed by its index when the box belongs to an array: such a box
// carries its index in the dynamic property "controlIndex" (int). Combo boxes keep their look.
void Set_FlatControls(QWidget* form);
void Set_FocusOn(QWidget* control);
void Set_FocusOff(QWidget* control);
// The frame shape Set_FlatControls made for an input box, or null.
ShapeWidget* FrameShapeOf(QWidget* control);
// Grid style 0: header cells centred; row 1 current and selected when there is one.
void Set_Msflexgrid(QTableView* grid, int style);
// Places the frame shape "shp" + grid name (if the form has one) 15 twips around each grid.
void Set_MsfBorder(QWidget* form);

// 15 twips = 1 pixel at 96 dpi.
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}
constexpr int pixelsToTwips(int pixels) {
    return pixels * 15;
}
// The smallest pixel rectangle that covers a rectangle in twips (negative positions included).
QRect twipsToPixels(const style::TwipsRect& rect);
style::TwipsRect pixelsToTwips(const QRect& rect);
inline QColor toColor(const style::Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

}  // namespace ztgl::gui
