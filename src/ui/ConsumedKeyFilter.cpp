#include "ui/ConsumedKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace ztgl::gui {

ConsumedKeyFilter::ConsumedKeyFilter() : QObject(QCoreApplication::instance()) {
    QCoreApplication::instance()->installEventFilter(this);
}

ConsumedKeyFilter::~ConsumedKeyFilter() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void ConsumedKeyFilter::boxClosed() {
    m_boxClosed = true;
    finishWhenNothingHeld();
}

void ConsumedKeyFilter::finishWhenNothingHeld() {
    if (m_boxClosed && m_held.isEmpty()) {
        QCoreApplication::instance()->removeEventFilter(this);
        deleteLater();
    }
}

// An application filter sees a key once for every widget it travels up through; the set takes
// each key once.
bool ConsumedKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat())
        return m_boxClosed && m_held.contains(key->key());
    if (type == QEvent::KeyPress) {
        if (!m_boxClosed)
            m_held.insert(key->key());
        else if (m_held.remove(key->key()))
            finishWhenNothingHeld();
        return false;
    }
    if (!m_held.remove(key->key()))
        return false;
    finishWhenNothingHeld();
    return m_boxClosed;
}

}  // namespace ztgl::gui
