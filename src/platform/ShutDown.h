#pragma once

namespace ztgl {

// The workstation orders the suite's server can give in the network edition: log the user's
// session off, shut the workstation down, restart it. `force` ends the running programs without
// asking them (the pre-login window always forces).
//
// The real orders are compiled into the ztgl program only (app/ztgl: systemd-logind on Linux,
// ExitWindowsEx on Windows); the libraries, ztgl-admin and the tests get their orders handed in
// and cannot make the real ones.
class ShutDown {
public:
    virtual ~ShutDown() = default;
    virtual void LogOffWindows(bool force) = 0;
    virtual void ShutDownWindows(bool force) = 0;
    virtual void RestartWindows(bool force) = 0;
};

}  // namespace ztgl
