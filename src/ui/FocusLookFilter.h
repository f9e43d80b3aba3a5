#pragma once

#include <QObject>

namespace ztgl::gui {

// Switches the focus highlight of the flat input boxes: on and select-all when a box gains the
// focus, off when it loses it; keeps a box's frame beside it when the box moves, resizes, hides
// or shows. One per window, a child of it; Set_FlatControls installs it on every line edit.
class FocusLookFilter : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ztgl::gui
