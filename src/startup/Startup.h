#pragma once

#include <QString>

namespace ztgl {

// What the program does once Main has returned.
enum class StartupOutcome {
    ShowLogin,  // the shared connection is open: show the login dialog frmZTLogin (not modal)
    End,        // the program ends at once, without any further window
};

// Where Main runs: the real program passes current(); tests pass a temporary program folder and
// an instance key of their own.
struct StartupEnvironment {
    QString programFolder;  // folder of the program file
    QString instanceKey;    // at most one running copy per user and key

    // The running program's folder and the key "ztgl": one copy per user, wherever it was
    // started from (like a second start of the same program on Windows).
    static StartupEnvironment current();
};

// The start-up sequence: single instance, configuration file, edition, connection string, the
// shared connection, application title and gTitle. Every message goes through ui().
// The network edition is not part of this build: its configuration ends the program with a
// message saying so.
StartupOutcome Main(const StartupEnvironment& env = StartupEnvironment::current());

// The message shown when kxconfig.ini asks for the network edition.
QString NetworkEditionUnavailableText();

}  // namespace ztgl
