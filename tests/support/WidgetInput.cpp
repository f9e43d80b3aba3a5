#include "WidgetInput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// Qt's own entry for simulated keys (its test library uses it): the key goes the way a real one
// does, shortcut map included.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key,
                                    Qt::KeyboardModifiers modifiers, const QString& text = QString(),
                                    bool autorep = false, ushort count = 1);

namespace ztgl::test {
namespace {

void sendKey(QWidget* target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
             const QString& text) {
    QKeyEvent event(type, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}

void sendMouse(QWidget* target, QEvent::Type type) {
    const QPointF local = QRectF(target->rect()).center();
    QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

int keyOf(QChar ch) {
    const ushort u = ch.toUpper().unicode();
    if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ')
        return u;
    return 0;
}

}  // namespace

void keyDown(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    sendKey(target, QEvent::KeyPress, key, modifiers, text);
}

void keyUp(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    sendKey(target, QEvent::KeyRelease, key, modifiers, text);
}

void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    keyDown(target, key, modifiers, text);
    keyUp(target, key, modifiers, text);
}

void pressKeyInWindow(QWidget* window, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QWindow* handle = window->window()->windowHandle();
    qt_handleKeyEvent(handle, QEvent::KeyPress, key, modifiers, text);
    qt_handleKeyEvent(handle, QEvent::KeyRelease, key, modifiers, text);
}

void typeText(QWidget* target, const QString& text) {
    for (const QChar ch : text)
        pressKey(target, keyOf(ch), Qt::NoModifier, QString(ch));
}

void clickMouse(QWidget* target) {
    sendMouse(target, QEvent::MouseButtonPress);
    sendMouse(target, QEvent::MouseButtonRelease);
}

void doubleClickMouse(QWidget* target) {
    clickMouse(target);
    sendMouse(target, QEvent::MouseButtonDblClick);
    sendMouse(target, QEvent::MouseButtonRelease);
}

bool waitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void whenModal(const char* className, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, className, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->inherits(className))
            return;
        timer->stop();
        timer->deleteLater();
        act(modal);
    });
    timer->start();
}

bool activate(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    for (int i = 0; i < 10 && !window->isActiveWindow(); ++i)
        QApplication::processEvents();
    return window->isActiveWindow();
}

}  // namespace ztgl::test
