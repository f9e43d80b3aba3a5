#include "ui/BagPicture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPixmap>

#include "style/PictureBag.h"

namespace ztgl::gui {

QPixmap ReadBagPicture(const QString& key) {
    QPixmap picture;
    const auto bytes = style::PictureBag::fromFile(style::PictureBag::programBagPath()).picture(key);
    if (bytes)
        picture.loadFromData(*bytes);
    return picture;
}

void LoadBagPicture(const QString& key, QWidget* target) {
    if (!target)
        return;
    const QPixmap picture = ReadBagPicture(key);
    if (picture.isNull())
        return;
    if (auto* label = qobject_cast<QLabel*>(target)) {
        label->setPixmap(picture);
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        button->setIcon(picture);
    } else {
        QPalette pal = target->palette();
        pal.setBrush(QPalette::Window, picture);
        target->setPalette(pal);
        target->setAutoFillBackground(true);
    }
}

}  // namespace ztgl::gui
