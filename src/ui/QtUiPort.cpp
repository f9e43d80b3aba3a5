#include "ui/QtUiPort.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>
#include <QtDebug>

#include "ui/ConsumedKeyFilter.h"
#include "ui/ModalForms.h"

namespace ztgl::gui {
namespace {

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The buttons of the box; the first one is the default, as operators are used to.
QList<QMessageBox::StandardButton> boxButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::YesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case MsgButtons::RetryCancel:
            return {QMessageBox::Retry, QMessageBox::Cancel};
        case MsgButtons::Ok:
            break;
    }
    return {QMessageBox::Ok};
}

MsgAnswer answerOf(int clicked, MsgButtons buttons) {
    switch (clicked) {
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Retry:
            return MsgAnswer::Retry;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        default:
            break;
    }
    // Closed without a button (window close box): the answer that gives up.
    switch (buttons) {
        case MsgButtons::YesNo:
            return MsgAnswer::No;
        case MsgButtons::RetryCancel:
            return MsgAnswer::Cancel;
        case MsgButtons::Ok:
            break;
    }
    return MsgAnswer::Ok;
}

// The window that was active before a modal one becomes active again when it closes, so that its
// shortcuts and access keys work at once: without a window manager (or offscreen) nobody else
// gives it the focus back.
void reactivate(const QPointer<QWidget>& window) {
    if (window && window->isVisible() && !window->isActiveWindow())
        window->activateWindow();
}

}  // namespace

QtUiPort::QtUiPort() {
    registerModal(QStringLiteral("frmCyXgmm"), &runFrmCyXgmm);
    registerModal(QStringLiteral("frmZTGLXZ"), &runFrmZTGLXZ);
    registerModal(QStringLiteral("frm_connect"), &runFrmConnect);
    registerModal(QStringLiteral("w_PreLogin"), &runHandshakeWindow);
    registerModal(QStringLiteral("w_CheckUser"), &runHandshakeWindow);
}

MsgAnswer QtUiPort::message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
    const QPointer<QWidget> behind = QApplication::activeWindow();
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton, behind);
    const auto standard = boxButtons(buttons);
    for (const auto b : standard)
        box.addButton(b);
    box.setDefaultButton(standard.front());
    auto* keys = new ConsumedKeyFilter;
    const int clicked = box.exec();
    keys->boxClosed();
    reactivate(behind);
    return answerOf(clicked, buttons);
}

void QtUiPort::showModal(ModalForm& form) {
    const auto it = m_runners.constFind(form.formName());
    if (it == m_runners.constEnd()) {
        qWarning("QtUiPort: no window for the modal form \"%s\"", qUtf8Printable(form.formName()));
        return;
    }
    const QPointer<QWidget> behind = QApplication::activeWindow();
    it.value()(form, behind);
    reactivate(behind);
}

void QtUiPort::doEvents() {
    QCoreApplication::processEvents();
}

void QtUiPort::setMainWindowEnabled(bool enabled) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w->objectName() == QLatin1String("MDIfrmZTGL"))
            w->setEnabled(enabled);
    }
}

void QtUiPort::registerModal(const QString& formName, ModalRunner runner) {
    m_runners.insert(formName, std::move(runner));
}

}  // namespace ztgl::gui
