#include "process/UiPort.h"

#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

class SilentPort final : public UiPort {
public:
    MsgAnswer message(const QString&, const QString&, MsgIcon, MsgButtons buttons) override {
        switch (buttons) {
            case MsgButtons::YesNo: return MsgAnswer::No;
            case MsgButtons::RetryCancel: return MsgAnswer::Cancel;
            case MsgButtons::Ok: break;
        }
        return MsgAnswer::Ok;
    }
    void showModal(ModalForm&) override {}
    void doEvents() override {}
    void setMainWindowEnabled(bool) override {}
};

SilentPort g_silent;
UiPort* g_port = nullptr;

}  // namespace

UiPort& ui() { return g_port ? *g_port : g_silent; }

void setUi(UiPort* port) { g_port = port; }

MsgAnswer MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) {
    return ui().message(text, title.isNull() ? gAppTitle : title, icon, buttons);
}

void ReportError(const QString& label, const std::exception& e) {
    MsgBox(label + errorText(e), MsgButtons::Ok, MsgIcon::Information, QStringLiteral("提示信息"));
}

}  // namespace ztgl
