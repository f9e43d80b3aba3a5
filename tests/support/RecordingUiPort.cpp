#include "RecordingUiPort.h"

#include "session/HandshakeForm.h"

namespace ztgl::test {

RecordingUiPort::RecordingUiPort() { setUi(this); }

RecordingUiPort::~RecordingUiPort() { setUi(nullptr); }

MsgAnswer RecordingUiPort::message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) {
    messages.push_back({text, title, icon, buttons});
    if (!m_answers.empty()) {
        const MsgAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    switch (buttons) {
        case MsgButtons::YesNo: return MsgAnswer::No;
        case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
        case MsgButtons::Ok: break;
    }
    return MsgAnswer::Ok;
}

void RecordingUiPort::showModal(ModalForm& form) {
    modalForms.push_back(form.formName());
    if (m_modals.empty()) {
        if (otherModals)
            otherModals(form);
        return;
    }
    auto handler = std::move(m_modals.front());
    m_modals.pop_front();
    handler(form);
}

std::function<void(ModalForm&)> RecordingUiPort::runHandshakes(int timeoutMs) {
    return [timeoutMs](ModalForm& form) {
        if (auto* handshake = dynamic_cast<HandshakeForm*>(&form))
            handshake->runWithoutScreen(timeoutMs);
    };
}

}  // namespace ztgl::test
