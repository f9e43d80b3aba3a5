#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace ztgl::admin {

// What a command gets: the program folder, its own arguments (after the command name) and the
// console streams.
struct AdminContext {
    QString dir;          // program folder (--dir, or the executable's folder)
    QStringList args;     // arguments after the command name
    bool yes = false;     // --yes: answer every question with Yes
    QTextStream& out;
    QTextStream& err;
};

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

using AdminFn = int (*)(AdminContext&);

// A command registers itself with a static object in its own file:
//   static const AdminCommand reg("list", "list", &runList);
struct AdminCommand {
    AdminCommand(const char* name, const char* usage, AdminFn fn);
};

// Runs the program's start-up on the program folder (in the network edition with the handshake
// of the suite's server) and so opens the shared connection. Prints the reason and returns false
// on failure.
bool openManagerDatabase(AdminContext& ctx);

// Takes the value of "--name VALUE" out of args; returns false when absent. A flag given
// without a value is bad usage: `bad` is set.
bool takeOption(QStringList& args, const QString& name, QString& value, bool& bad);

}  // namespace ztgl::admin
