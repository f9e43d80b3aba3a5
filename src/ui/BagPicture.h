#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace ztgl::gui {

// Sets the picture stored under `key` in the program's picture bag ("csxx.dac" in the program
// folder) as the picture of `target`: a label shows it, a button takes it as its icon, any other
// widget gets it as its background. A missing or unreadable file, a key the bag does not hold or
// bytes that are no picture leave `target` as it was, without a message.
void LoadBagPicture(const QString& key, QWidget* target);
// The picture stored under `key` in the program's picture bag; a null pixmap when there is none
// (for windows that draw their picture themselves).
QPixmap ReadBagPicture(const QString& key);

}  // namespace ztgl::gui
