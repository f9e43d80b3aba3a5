#pragma once

#include <QTextStream>

#include "process/UiPort.h"

namespace ztgl::admin {

// Messages of the core on stderr. Questions: Yes with --yes; asked on a terminal; otherwise
// answered No (refused), saying so.
class ConsoleUiPort final : public UiPort {
public:
    ConsoleUiPort(QTextStream& err, bool yes);
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override;
    void showModal(ModalForm&) override {}
    void doEvents() override {}
    void setMainWindowEnabled(bool) override {}

private:
    QTextStream& m_err;
    bool m_yes;
};

}  // namespace ztgl::admin
