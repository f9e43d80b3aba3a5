#include "WinShutDown.h"

#include <windows.h>

namespace ztgl {
namespace {

constexpr UINT kLogOff = 0;    // EWX_LOGOFF
constexpr UINT kShutDown = 1;  // EWX_SHUTDOWN
constexpr UINT kReboot = 2;    // EWX_REBOOT
constexpr UINT kForce = 4;     // EWX_FORCE

void exitWindows(UINT flags, bool force) {
    ExitWindowsEx(force ? flags | kForce : flags, 0);
}

}  // namespace

bool WinShutDown::IsWinNT() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);  // 148
#ifdef _MSC_VER
#pragma warning(suppress : 4996)  // GetVersionExA is deprecated, but answers the question asked
#endif
    if (!GetVersionExA(&info))
        return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;  // 2
}

void WinShutDown::EnableShutdownPrivilege() {
    HANDLE token = nullptr;
    // TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY = 40
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges = {};
    if (LookupPrivilegeValueA("", "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;  // 2
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    }
    CloseHandle(token);
}

void WinShutDown::LogOffWindows(bool force) {
    exitWindows(kLogOff, force);
}

void WinShutDown::ShutDownWindows(bool force) {
    if (IsWinNT())
        EnableShutdownPrivilege();
    exitWindows(kShutDown, force);
}

void WinShutDown::RestartWindows(bool force) {
    if (IsWinNT())
        EnableShutdownPrivilege();
    exitWindows(kReboot, force);
}

}  // namespace ztgl
