// Placeholder until the common window styling lands.
#include "ui/Style.h"

namespace ztgl::gui {
void Set_Style(QWidget*, const QList<QAbstractButton*>&, const QString&) {}
void Set_Position(QWidget*, const QList<QAbstractButton*>&) {}
void Set_FlatControls(QWidget*) {}
void Set_FocusOn(QWidget*) {}
void Set_FocusOff(QWidget*) {}
void Set_Msflexgrid(QTableView*, int) {}
}  // namespace ztgl::gui
