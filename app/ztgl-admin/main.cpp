// ztgl-admin: the account-set manager's operations without a screen, for IT staff and scripts.
//   ztgl-admin [--dir PROGRAM_FOLDER] [--yes] [--timeout SECONDS] COMMAND ...
//   ztgl-admin --help | -h | --version;  ztgl-admin COMMAND --help | -h
// Exit codes: 0 done, 1 refused or failed, 2 bad usage (the usage then goes to stderr).
#include <QCoreApplication>
#include <QDir>
#include <map>

#include "AdminCommand.h"
#include "ConsoleUiPort.h"
#include "db/PubSql.h"
#include "platform/ProgramFolder.h"

namespace ztgl::admin {
namespace {

struct Entry {
    const char* usage;
    AdminFn fn;
};

std::map<QString, Entry>& registry() {
    static std::map<QString, Entry> r;
    return r;
}

// Asked for (--help) on stdout with 0; after bad usage on stderr with 2.
int usage(QTextStream& s, int code = ExitUsage) {
    s << "usage: ztgl-admin [--dir PROGRAM_FOLDER] [--yes] [--timeout SECONDS] COMMAND ..." << Qt::endl
      << "       ztgl-admin --help | --version | COMMAND --help" << Qt::endl << "commands:" << Qt::endl;
    for (const auto& [name, e] : registry()) s << "  " << e.usage << Qt::endl;
    return code;
}

bool isHelp(const QString& arg) { return arg == QLatin1String("--help") || arg == QLatin1String("-h"); }

}  // namespace

AdminCommand::AdminCommand(const char* name, const char* usage, AdminFn fn) {
    registry()[QString::fromUtf8(name)] = Entry{usage, fn};
}

bool takeOption(QStringList& args, const QString& name, QString& value, bool& bad) {
    const int i = args.indexOf(name);
    if (i < 0) return false;
    if (i + 1 >= args.size()) {
        bad = true;
        args.removeAt(i);
        return false;
    }
    value = args.at(i + 1);
    args.remove(i, 2);
    return true;
}

}  // namespace ztgl::admin

int main(int argc, char** argv) {
    using namespace ztgl::admin;
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList args = app.arguments().mid(1);
    QString dir = ztgl::ProgramFolder();
    bool bad = false;
    takeOption(args, QStringLiteral("--dir"), dir, bad);
    bool yes = false;
    if (args.removeAll(QStringLiteral("--yes")) > 0) yes = true;
    // How long the network edition's handshake windows wait for the server.
    QString timeoutText;
    int timeout = ConsoleUiPort::kDefaultTimeout;
    if (takeOption(args, QStringLiteral("--timeout"), timeoutText, bad)) {
        bool ok = false;
        timeout = timeoutText.toInt(&ok);
        bad = bad || !ok || timeout < 1 || timeout > 24 * 3600;
    }
    if (bad || args.isEmpty()) return usage(err);

    const QString command = args.takeFirst();
    if (isHelp(command)) return usage(out, ExitOk);
    if (command == QLatin1String("--version")) {
        out << "ztgl-admin " << ZTGL_VERSION_MAJOR << '.' << ZTGL_VERSION_MINOR << '.' << ZTGL_VERSION_PATCH << Qt::endl;
        return ExitOk;
    }
    auto it = registry().find(command);
    if (it == registry().end()) {
        err << QStringLiteral("未知的命令：") << command << Qt::endl;
        return usage(err);
    }
    if (!args.isEmpty() && isHelp(args.first())) {
        out << "usage: ztgl-admin [--dir PROGRAM_FOLDER] " << it->second.usage << Qt::endl;
        return ExitOk;
    }
    ConsoleUiPort port(err, yes, timeout);
    ztgl::setUi(&port);
    AdminContext ctx{dir, args, yes, out, err};
    const int rc = it->second.fn(ctx);
    // The shared connection goes before the application does: Qt's database drivers need it.
    ztgl::Close_Connect();
    ztgl::setUi(nullptr);
    if (rc == ExitUsage) err << "usage: ztgl-admin [--dir PROGRAM_FOLDER] " << it->second.usage << Qt::endl;
    return rc;
}
