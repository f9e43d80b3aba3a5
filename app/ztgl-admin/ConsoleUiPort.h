#pragma once

#include <QTextStream>

#include "process/UiPort.h"

namespace ztgl::admin {

// Messages of the core on stderr. Questions: Yes (Retry) with --yes; asked on a terminal;
// otherwise answered No (Cancel, refused), saying so.
// Modal windows: the handshake windows run without a screen; where they would wait for an
// operator they are closed as the operator would close them: at once when the server has closed
// the connection (nothing more can come), after `timeoutSeconds` when the conversation has not
// ended by then. The connection settings dialog is not shown: it says where the settings are,
// and counts as closed without OK.
class ConsoleUiPort final : public UiPort {
public:
    static constexpr int kDefaultTimeout = 30;  // seconds

    ConsoleUiPort(QTextStream& err, bool yes, int timeoutSeconds = kDefaultTimeout);
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    void showModal(ModalForm& form) override;
    void doEvents() override {}
    void setMainWindowEnabled(bool) override {}

    // Lines written so far (messages and notes).
    int linesWritten() const { return m_lines; }

private:
    QTextStream& m_err;
    bool m_yes;
    int m_timeoutSeconds;
    int m_lines = 0;
};

}  // namespace ztgl::admin
