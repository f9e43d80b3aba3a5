// Figures of the engine for files in Jet's own format on testV2000.mdb (3 MB, Jet 4): opening it (the
// catalogue), reading every table through the engine next to mdb-export of the same tables (the same
// library, run as a program for each table), and ztgl-admin import's conversion of the file.
// Run: build/bin/bench_jet_read [rounds] [file]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "migration/DatabaseConverter.h"

namespace {

void report(const char* what, QElapsedTimer& timer, int rounds, qint64 rows = -1) {
    const double ms = timer.nsecsElapsed() / 1e6 / rounds;
    if (rows >= 0)
        std::printf("%-46s %8.1f ms per round  (%lld rows)\n", what, ms, static_cast<long long>(rows));
    else
        std::printf("%-46s %8.1f ms per round\n", what, ms);
    timer.restart();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 20;
    const QString file = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                  : QStringLiteral(ZTGL_SOURCE_DIR "/tests/data/jet/testV2000.mdb");
    const QString cs =
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Jet OLEDB:Database Password=")
            .arg(file);
    std::printf("%s, %lld bytes, %d rounds\n", qPrintable(file), static_cast<long long>(QFile(file).size()),
                rounds);

    QStringList tables;
    {
        ado::Catalog catalog;
        catalog.Open(cs);
        for (const auto& t : catalog.Tables())
            tables << t.name;
    }
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i) {
        ado::Catalog catalog;
        catalog.Open(cs);
    }
    report("open: catalogue and relationships", timer, rounds);

    qint64 rows = 0;
    for (int i = 0; i < rounds; ++i) {
        ado::Connection c;
        c.setConnectionString(cs);
        c.Open();
        rows = 0;
        for (const QString& t : tables)
            rows += c.query(QStringLiteral("select * from [%1]").arg(t)).rows.size();
    }
    report(qPrintable(QStringLiteral("engine: open, then every table (%1)").arg(tables.size())), timer,
           rounds, rows);

    for (int i = 0; i < rounds; ++i)
        for (const QString& t : tables) {
            QProcess p;
            p.setStandardOutputFile(QProcess::nullDevice());
            p.setStandardErrorFile(QProcess::nullDevice());
            p.start(QStringLiteral("mdb-export"), {file, t});
            if (!p.waitForFinished(60000) || p.exitCode() != 0) {
                std::printf("mdb-export failed on %s (is the package mdbtools installed?)\n", qPrintable(t));
                return 1;
            }
        }
    report("mdb-export of the same tables", timer, rounds);

    QTemporaryDir dir;
    ztgl::DatabaseConverter::Summary s;
    for (int i = 0; i < rounds; ++i)
        s = ztgl::DatabaseConverter::convert(cs, dir.filePath(QStringLiteral("IMPORT%1.MDB").arg(i)));
    report(qPrintable(QStringLiteral("import: convert and compare (%1 tables)").arg(s.tables)), timer, rounds,
           s.rows);
    return 0;
}
