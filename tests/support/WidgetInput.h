#pragma once

#include <QString>
#include <Qt>
#include <functional>

class QWidget;

namespace ztgl::test {

// Keyboard and mouse input for widget tests, delivered as the window system would hand it to the
// application (shortcuts and access keys included), without Qt's test library.

// Press and release of one key; `text` is what the key types ("" for keys that type nothing).
void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = QString());
// Only the press, or only the release.
void keyDown(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = QString());
void keyUp(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString());
// A key pressed and released while `window` is active, through the window system's path: the
// focus widget receives it, and shortcuts and access keys (Alt+Y) are tried first.
void pressKeyInWindow(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                      const QString& text = QString());
// Every character as one key typed into the target (Chinese included).
void typeText(QWidget* target, const QString& text);
// Left button click and double click in the middle of the target.
void clickMouse(QWidget* target);
void doubleClickMouse(QWidget* target);
// Lets events run until `done` holds, for at most `ms` milliseconds (a button pressed by its
// access key clicks after its short press animation). Returns `done()`.
bool waitFor(const std::function<bool()>& done, int ms = 1000);
// Shows the window and makes it the active one, so that focus and access keys work offscreen.
bool activate(QWidget* window);
// Runs `act` once on the modal window that inherits `className` as soon as it is up (message
// boxes and dialogs run event loops of their own; the caller then opens the window).
void whenModal(const char* className, std::function<void(QWidget*)> act);

}  // namespace ztgl::test
