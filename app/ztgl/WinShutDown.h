#pragma once

#include "platform/ShutDown.h"

namespace ztgl {

// The workstation orders on Windows: ExitWindowsEx, on the NT family after enabling the shutdown
// privilege of this process. `force` adds EWX_FORCE (4). Failures are ignored.
class WinShutDown final : public ShutDown {
public:
    void LogOffWindows(bool force) override;
    void ShutDownWindows(bool force) override;
    void RestartWindows(bool force) override;

    // True on the NT family (platform id 2).
    static bool IsWinNT();
    // Enables SeShutdownPrivilege in this process's token.
    static void EnableShutdownPrivilege();
};

}  // namespace ztgl
