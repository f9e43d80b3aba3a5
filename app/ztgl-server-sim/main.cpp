// ztgl-server-sim: a stand-in for the suite's server program, for trying the network edition of
// ztgl and ztgl-admin without the suite.
//   ztgl-server-sim --port P --kind KIND --connect CONNSTR --dbname NAME [--check CODE]
//                   [--script FILE] [--listen ADDRESS]
// It answers the pre-login conversation (the database kind, the connection string, the
// database name, SUCCESS:, Closed$:) and the user check ("Failure:" + CODE, "100" unless
// --check says otherwise); a script (see SimScript.h) changes the answers. Each message
// received and sent is logged on stdout; the first line names the address and port.
// It runs until it is stopped (Ctrl+C). Exit codes: 1 when it cannot listen, 2 on bad usage.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include "SimServer.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A stand-in for the suite's server program."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port (0: any free one)."),
                                  QStringLiteral("P"));
    const QCommandLineOption kind(QStringLiteral("kind"),
                                  QStringLiteral("Database kind, e.g. \"[Microsoft Access]\"."),
                                  QStringLiteral("KIND"));
    const QCommandLineOption connectString(QStringLiteral("connect"),
                                           QStringLiteral("Connection string of the manager's database."),
                                           QStringLiteral("CONNSTR"));
    const QCommandLineOption dbName(QStringLiteral("dbname"), QStringLiteral("Name of the manager's database."),
                                    QStringLiteral("NAME"));
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("User-check result (default 100; 102/PLACE, 105 …)."),
                                   QStringLiteral("CODE"), QStringLiteral("100"));
    const QCommandLineOption script(QStringLiteral("script"), QStringLiteral("Script of other answers."),
                                    QStringLiteral("FILE"));
    const QCommandLineOption listen(QStringLiteral("listen"),
                                    QStringLiteral("Address to listen on (default 127.0.0.1)."),
                                    QStringLiteral("ADDRESS"), QStringLiteral("127.0.0.1"));
    parser.addOptions({port, kind, connectString, dbName, check, script, listen});
    parser.process(app);

    bool portOk = false;
    const uint portNumber = parser.value(port).toUInt(&portOk);
    if (!parser.isSet(port) || !portOk || portNumber > 65535 || !parser.isSet(kind) ||
        !parser.isSet(connectString) || !parser.isSet(dbName) || !parser.positionalArguments().isEmpty()) {
        err << "usage: ztgl-server-sim --port P --kind KIND --connect CONNSTR --dbname NAME "
               "[--check CODE] [--script FILE] [--listen ADDRESS]"
            << Qt::endl;
        return 2;
    }
    const QHostAddress address(parser.value(listen));
    if (address.isNull()) {
        err << "ztgl-server-sim: not an address: " << parser.value(listen) << Qt::endl;
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
    if (!server.listen(address, quint16(portNumber), &error)) {
        err << "ztgl-server-sim: cannot listen on " << address.toString() << ":" << portNumber << ": " << error
            << Qt::endl;
        return 1;
    }
    out << "listening on " << address.toString() << ":" << server.port() << Qt::endl;
    return app.exec();
}
