#pragma once

#include <QString>
#include <functional>

namespace ztgl {

class ShutDown;

// What the program does once Main has returned.
enum class StartupOutcome {
    ShowLogin,  // the shared connection is open: show the login dialog frmZTLogin (not modal)
    End,        // the program ends at once, without any further window
};

// Where Main runs: the real program passes current() with its workstation orders and its login
// dialog; tests pass a temporary program folder, an instance key of their own and a recording
// fake of the orders; ztgl-admin passes no key and orders that are only reported.
struct StartupEnvironment {
    QString programFolder;  // folder of the program file
    QString instanceKey;    // at most one running copy per user and key; "" = no such test
    ShutDown* orders = nullptr;  // the server's workstation orders; null = not obeyed
    // Shows the login dialog frmZTLogin (not modal). Called once more by the run that resumes
    // after a restart from the pre-login window: the dialog already shown stays the only one.
    std::function<void()> showLogin;

    // The running program's folder and the key "ztgl": one copy per user, wherever it was
    // started from (like a second start of the same program on Windows).
    static StartupEnvironment current();
};

// The start-up sequence: single instance, configuration file, edition; in the network edition
// the handshake loop between the pre-login window w_PreLogin and the connection settings dialog
// frm_connect, in the single-user edition the connection string of DBCONNECT; then the shared
// connection, application title and gTitle, and the login dialog. Every message and window goes
// through ui(). The pre-login window's "q" runs Main again inside the running one.
StartupOutcome Main(const StartupEnvironment& env);

}  // namespace ztgl
