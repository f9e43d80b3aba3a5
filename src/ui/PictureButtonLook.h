#pragma once

#include <QObject>

namespace ztgl::gui {

// The look of the picture push buttons of the button row: the picture centred above the caption,
// so a short button (the row's buttons are 52 to 63 pixels wide) shows both whole. A button without
// a picture shows its caption centred. Installed on the push buttons of a styled window by Set_Style;
// one per window, a child of it.
class PictureButtonLook : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    static constexpr int kGap = 2;  // pixels between picture and caption

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace ztgl::gui
