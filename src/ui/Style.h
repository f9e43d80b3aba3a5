#pragma once

#include <QList>
#include <QString>

class QAbstractButton;
class QTableView;
class QWidget;

namespace ztgl::gui {

// The common look of the working windows.

// Title band across the top, grey plate at the right holding the buttons in one row (index 0
// rightmost), bold "【caption】" at the left, strip with a line under the band; button pictures
// by caption. Lays out at once and again on every resize of the form.
void Set_Style(QWidget* form, const QList<QAbstractButton*>& buttons, const QString& caption);
// Lays out the buttons and the head again (after a button was hidden or shown).
void Set_Position(QWidget* form, const QList<QAbstractButton*>& buttons);
// Pale window background, flat framed input boxes; every line edit of the form then selects
// its whole text and switches the focus highlight on when it gains the focus and off when it
// loses it (Set_FocusOn / Set_FocusOff).
void Set_FlatControls(QWidget* form);
void Set_FocusOn(QWidget* control);
void Set_FocusOff(QWidget* control);
// Grid style 0: header cells centred; row 1 current and selected when there is one.
void Set_Msflexgrid(QTableView* grid, int style);

// 15 twips = 1 pixel at 96 dpi.
constexpr int twipsToPixels(int twips) { return twips / 15; }
constexpr int pixelsToTwips(int pixels) { return pixels * 15; }

}  // namespace ztgl::gui
