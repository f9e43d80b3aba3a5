#include "ui/PictureButtonLook.h"

#include <QEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>

namespace ztgl::gui {
namespace {

void paintButton(QPushButton* b) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.state |= b->isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    if (b->isChecked())
        opt.state |= QStyle::State_On;
    if (b->isDefault())
        opt.features |= QStyleOptionButton::DefaultButton;
    if (b->autoDefault())
        opt.features |= QStyleOptionButton::AutoDefaultButton;

    QPainter p(b);
    QStyle* style = b->style();
    style->drawControl(QStyle::CE_PushButtonBevel, &opt, &p, b);

    const QRect area = style->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    const int textHeight = b->fontMetrics().height();
    const bool hasPicture = !b->icon().isNull();
    const QSize pictureSize = hasPicture ? b->iconSize() : QSize(0, 0);
    const int contentHeight =
        hasPicture ? pictureSize.height() + PictureButtonLook::kGap + textHeight : textHeight;
    int top = area.top() + (area.height() - contentHeight) / 2;
    // Pressed buttons move their contents like the platform's own.
    const int shift = b->isDown() ? style->pixelMetric(QStyle::PM_ButtonShiftVertical, &opt, b) : 0;
    const int shiftX = b->isDown() ? style->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &opt, b) : 0;
    top += shift;

    if (hasPicture) {
        const QIcon::Mode mode = b->isEnabled() ? QIcon::Normal : QIcon::Disabled;
        const QPixmap picture = b->icon().pixmap(pictureSize, b->devicePixelRatio(), mode);
        const QPoint at(area.left() + (area.width() - pictureSize.width()) / 2 + shiftX, top);
        p.drawPixmap(QRect(at, pictureSize), picture);
        top += pictureSize.height() + PictureButtonLook::kGap;
    }
    const QRect textRect(area.left() + shiftX, top, area.width(), textHeight);
    style->drawItemText(&p, textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic, b->palette(),
                        b->isEnabled(), b->text(), QPalette::ButtonText);

    if (b->hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(b);
        focus.rect = style->subElementRect(QStyle::SE_PushButtonFocusRect, &opt, b);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, b);
    }
}

}  // namespace

bool PictureButtonLook::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint)
        return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button)
        return false;
    paintButton(button);
    return true;
}

}  // namespace ztgl::gui
