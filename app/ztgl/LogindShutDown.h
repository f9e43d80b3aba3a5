#pragma once

#include "platform/ShutDown.h"

namespace ztgl {

// The workstation orders on Linux, through systemd-logind on the system bus
// (org.freedesktop.login1), without questions: power off and reboot with polkit's interactivity
// off; forced, they go past other programs' inhibitor locks where the user may, unforced they
// honour them. Log off terminates this program's login session, which logind always does by
// force. Failures (no system bus, no permission) are ignored, as the orders have no answer.
class LogindShutDown final : public ShutDown {
public:
    void LogOffWindows(bool force) override;
    void ShutDownWindows(bool force) override;
    void RestartWindows(bool force) override;
};

}  // namespace ztgl
