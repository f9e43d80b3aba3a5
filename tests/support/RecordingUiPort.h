#pragma once

#include <QString>
#include <QVector>
#include <deque>
#include <functional>

#include "process/UiPort.h"
#include "session/HandshakeForm.h"

namespace ztgl::test {

// One message box the core showed.
struct ShownMessage {
    QString text;
    QString title;
    MsgIcon icon;
    MsgButtons buttons;
};

// The port tests install: records every message, answers from a queue (OK / No when empty),
// and runs scripted handlers for modal windows. Installs itself on construction and restores
// the silent port on destruction.
class RecordingUiPort final : public UiPort {
public:
    RecordingUiPort() { setUi(this); }
    ~RecordingUiPort() override { setUi(nullptr); }

    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        if (m_answers.empty())
            return buttons == MsgButtons::YesNo         ? MsgAnswer::No
                   : buttons == MsgButtons::RetryCancel ? MsgAnswer::Cancel
                                                        : MsgAnswer::Ok;
        const MsgAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    void showModal(ModalForm& form) override {
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
    void doEvents() override { ++doEventsCount; }
    void setMainWindowEnabled(bool enabled) override { mainWindowEnabled.push_back(enabled); }

    // Next answers to questions, in order.
    void answer(MsgAnswer a) { m_answers.push_back(a); }
    // Next modal window: the handler receives the form (cast it to its class).
    void onModal(std::function<void(ModalForm&)> handler) { m_modals.push_back(std::move(handler)); }
    // The handler of modal windows when no onModal one is queued (none by default).
    std::function<void(ModalForm&)> otherModals;
    // A handler that runs the handshake windows without a screen (see HandshakeForm), giving up
    // after `timeoutMs` as ztgl-admin does, and leaves other windows alone.
    static std::function<void(ModalForm&)> runHandshakes(int timeoutMs = 5000) {
        return [timeoutMs](ModalForm& form) {
            if (auto* handshake = dynamic_cast<HandshakeForm*>(&form))
                handshake->runWithoutScreen(timeoutMs);
        };
    }

    QVector<ShownMessage> messages;
    QStringList modalForms;           // formName() of every modal window shown
    QVector<bool> mainWindowEnabled;  // every call, in order
    int doEventsCount = 0;

private:
    std::deque<MsgAnswer> m_answers;
    std::deque<std::function<void(ModalForm&)>> m_modals;
};

}  // namespace ztgl::test
