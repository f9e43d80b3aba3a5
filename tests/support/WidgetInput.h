#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ztgl::test {

// Keyboard and mouse events sent straight to a widget (shortcuts and access keys go through
// QTest's key clicks on the window instead).

// Only the press, or only the release, of one key; `text` is what the key types ("" for keys that
// type nothing).
inline void keyDown(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString& text = QString()) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}
inline void keyUp(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  const QString& text = QString()) {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &event);
}
// Press and release of one key.
inline void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     const QString& text = QString()) {
    keyDown(target, key, modifiers, text);
    keyUp(target, key, modifiers, text);
}
// Every character as one key typed into the target (Chinese included).
inline void typeText(QWidget* target, const QString& text) {
    for (const QChar ch : text) {
        const ushort u = ch.toUpper().unicode();
        const bool named = (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == ' ';
        pressKey(target, named ? u : 0, Qt::NoModifier, QString(ch));
    }
}
// Left button events in the middle of the target: a click, and a double click.
inline void sendMouse(QWidget* target, QEvent::Type type) {
    const QPointF local = QRectF(target->rect()).center();
    QMouseEvent event(type, local, target->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}
inline void clickMouse(QWidget* target) {
    sendMouse(target, QEvent::MouseButtonPress);
    sendMouse(target, QEvent::MouseButtonRelease);
}
inline void doubleClickMouse(QWidget* target) {
    clickMouse(target);
    sendMouse(target, QEvent::MouseButtonDblClick);
    sendMouse(target, QEvent::MouseButtonRelease);
}
// Lets events run until `done` holds, for at most `ms` milliseconds (a button pressed by its
// access key clicks after its short press animation). Returns `done()`.
inline bool waitFor(const std::function<bool()>& done, int ms = 1000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}
// Shows the window and makes it the active one, so that focus and access keys work offscreen.
inline bool activate(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    for (int i = 0; i < 10 && !window->isActiveWindow(); ++i)
        QApplication::processEvents();
    return window->isActiveWindow();
}
// Runs `act` once on the modal window that inherits `className` as soon as it is up (message
// boxes and dialogs run event loops of their own; the caller then opens the window).
inline void whenModal(const char* className, std::function<void(QWidget*)> act) {
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

}  // namespace ztgl::test
