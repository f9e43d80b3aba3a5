#include "ui/FocusLookFilter.h"

#include <QFocusEvent>
#include <QLineEdit>

#include "ui/Style.h"

namespace ztgl::gui {

bool FocusLookFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit)
        return false;
    switch (event->type()) {
        case QEvent::FocusIn:
            Set_FocusOn(edit);
            edit->selectAll();
            // A click that gave the focus would place the cursor after this: select again after it.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
                QMetaObject::invokeMethod(edit, &QLineEdit::selectAll, Qt::QueuedConnection);
            }
            break;
        case QEvent::FocusOut:
            Set_FocusOff(edit);
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (edit->hasFocus()) {
                Set_FocusOn(edit);
            } else {
                Set_FocusOff(edit);
            }
            break;
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            if (ShapeWidget* frame = FrameShapeOf(edit))
                frame->setVisible(!edit->isHidden());
            break;
        default:
            break;
    }
    return false;
}

}  // namespace ztgl::gui
