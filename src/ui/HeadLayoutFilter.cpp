#include "ui/HeadLayoutFilter.h"

#include <QEvent>

#include "ui/Style.h"

namespace ztgl::gui {

HeadLayoutFilter::HeadLayoutFilter(QWidget* form) : QObject(form), m_form(form) {
    form->installEventFilter(this);
}

void HeadLayoutFilter::setButtons(const QList<QAbstractButton*>& buttons) {
    m_buttons.clear();
    for (QAbstractButton* b : buttons)
        m_buttons << b;
}

bool HeadLayoutFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_form && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        QList<QAbstractButton*> alive;
        for (const auto& b : m_buttons) {
            if (b)
                alive << b.data();
        }
        Set_Position(m_form, alive);
    }
    return false;
}

}  // namespace ztgl::gui
