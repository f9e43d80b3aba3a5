#pragma once

#include <QHash>
#include <QString>
#include <functional>

#include "process/UiPort.h"

class QWidget;

namespace ztgl::gui {

// The port of the GUI program: message boxes are QMessageBox, modal windows are the widgets
// registered by form name (the change-password dialog, the account-set editor, the connection
// settings dialog and the two handshake windows from the start).
class QtUiPort final : public UiPort {
public:
    // Shows a form's widget modally over `parent` and returns when it has closed.
    using ModalRunner = std::function<void(ModalForm&, QWidget* parent)>;

    QtUiPort();

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    void showModal(ModalForm& form) override;
    void doEvents() override;
    void setMainWindowEnabled(bool enabled) override;

    // Adds or replaces the widget for a form name (windows that land later register here).
    void registerModal(const QString& formName, ModalRunner runner);

private:
    QHash<QString, ModalRunner> m_runners;
};

}  // namespace ztgl::gui
