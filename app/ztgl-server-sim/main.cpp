// ztgl-server-sim: a stand-in for the suite's server program, for trying and testing the network
// edition of ztgl and ztgl-admin without the suite. It listens on 127.0.0.1 only, answers the
// pre-login conversation and the user check, and logs each message received and sent on stdout.
// It runs until it is stopped (Ctrl+C). Exit codes: 1 when it cannot listen, 2 on bad usage.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include "SimServer.h"

namespace {

const char* const kUsage =
    "usage: ztgl-server-sim --port P --kind KIND --connect CONNSTR --dbname NAME [--check CODE] [--script "
    "FILE]";

// The script's lines are indented by four blanks, so that nothing in them reads as a usage line.
const char* const kHelp =
    "A stand-in for the suite's server program on 127.0.0.1: it answers the network edition's\n"
    "pre-login conversation (database kind, connection string, database name, SUCCESS:, Closed$:)\n"
    "and the user check (\"Failure:\" + CODE), and logs every message it receives and sends. The\n"
    "first line of the log names the port it listens on.\n"
    "\n"
    "Options:\n"
    "  --port P           TCP port to listen on; 0 takes any free one\n"
    "  --kind KIND        database kind: \"[Microsoft Access]\" or \"[Microsoft SQL Server]\"\n"
    "  --connect CONNSTR  connection string of the manager's database\n"
    "  --dbname NAME      name of the manager's database; new account sets are named after it\n"
    "  --check CODE       result of the user check: 100 (default) accepted, 102/PLACE logged in at\n"
    "                     PLACE, 105 check not completed\n"
    "  --script FILE      other answers, from a script (UTF-8)\n"
    "  --help             this text\n"
    "\n"
    "Script: one rule a line; empty lines and lines starting with # are skipped.\n"
    "    WHEN[#N]  ACTION  [ARGUMENT]\n"
    "WHEN is the tag of a client's message (KxBegin:, Connect:, DBNAME$:, KXEND$$:, Success:,\n"
    "PDUSERS:; any case) or 'connected' for a new connection. With #N the rule holds only the N-th\n"
    "time the server meets WHEN (counted over all connections); rules without #N hold whenever no\n"
    "#N rule does. The rules of one WHEN run in order, in place of the normal answer. ACTION:\n"
    "    answer          the normal answer of the protocol\n"
    "    send TEXT       TEXT as one message in code page 936; \\xHH in TEXT is the byte HH\n"
    "    split N TEXT    TEXT in two pieces: its first N bytes, a pause of 300 ms, the rest\n"
    "    repeat N TEXT   TEXT followed by 'x' up to N bytes, as one message\n"
    "    pause MS        wait MS milliseconds before the next action\n"
    "    close           close the connection\n"
    "    silent          nothing at all\n"
    "Example: a question first, then an order to end the client.\n"
    "    KxBegin:#1  send  Conning:数据库正在启动，请稍候重试\n"
    "    Connect:    send  restart:3\n";

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption port(QStringLiteral("port"), QString(), QStringLiteral("P"));
    const QCommandLineOption kind(QStringLiteral("kind"), QString(), QStringLiteral("KIND"));
    const QCommandLineOption connectString(QStringLiteral("connect"), QString(), QStringLiteral("CONNSTR"));
    const QCommandLineOption dbName(QStringLiteral("dbname"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption check(QStringLiteral("check"), QString(), QStringLiteral("CODE"),
                                   QStringLiteral("100"));
    const QCommandLineOption script(QStringLiteral("script"), QString(), QStringLiteral("FILE"));
    parser.addOptions({help, port, kind, connectString, dbName, check, script});
    if (!parser.parse(app.arguments())) {
        err << "ztgl-server-sim: " << parser.errorText() << Qt::endl << kUsage << Qt::endl;
        return 2;
    }
    if (parser.isSet(help)) {
        out << kUsage << Qt::endl << QString::fromUtf8(kHelp) << Qt::flush;
        return 0;
    }

    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    if (!parser.isSet(port) || !portOk || portNumber > 65535 || !parser.isSet(kind) ||
        !parser.isSet(connectString) || !parser.isSet(dbName) || !parser.positionalArguments().isEmpty()) {
        err << kUsage << Qt::endl;
        return 2;
    }

    ztgl::sim::SimSettings settings;
    settings.kind = parser.value(kind);
    settings.connect = parser.value(connectString);
    settings.dbName = parser.value(dbName);
    settings.check = parser.value(check);
    if (parser.isSet(script)) {
        QFile file(parser.value(script));
        if (!file.open(QIODevice::ReadOnly)) {
            err << "ztgl-server-sim: cannot read " << file.fileName() << ": " << file.errorString() << Qt::endl;
            return 2;
        }
        QString error;
        if (!settings.script.parse(QString::fromUtf8(file.readAll()), &error)) {
            err << "ztgl-server-sim: " << file.fileName() << ", " << error << Qt::endl;
            return 2;
        }
    }

    ztgl::sim::SimServer server(settings, [&out](const QString& line) { out << line << Qt::endl; });
    QString error;
    if (!server.listen(QHostAddress::LocalHost, quint16(portNumber), &error)) {
        err << "ztgl-server-sim: cannot listen on 127.0.0.1:" << portNumber << ": " << error << Qt::endl;
        return 1;
    }
    out << "listening on 127.0.0.1:" << server.port() << Qt::endl;
    return app.exec();
}
