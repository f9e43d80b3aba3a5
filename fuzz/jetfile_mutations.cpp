// Damaged Jet files opened through the real engine: the reader of Jet files as a child process, the engine
// as its parent. Not a libFuzzer target: every input costs a child process, and what the child does cannot
// guide a fuzzer in the parent. Instead, from a fixed seed, each input is one of the test files of
// tests/data/jet with a few changes (bytes, 16- and 32-bit numbers set to edge values, ranges zeroed or
// copied from elsewhere), most of them on the pages that say how to read the rest (page 0, table
// definitions, data and index pages). Each is opened as the program opens a template or a file to import:
// the connection, its catalogue, every table read whole.
//
//   jetfile_mutations FOLDER INPUTS|SECONDSs SEED [IDLE_MS]
//
// Oracles: the engine always comes back, within the reader's idle time-out (IDLE_MS, 1000 unless given) for
// every request plus time to work; only the engine's errors come out (ztgl::RuntimeError), those about the
// file name it; the file is never changed; a sanitizer report of the child in the program's own code (not in
// libmdb) is a fault. A failed input is kept in the scratch folder, whose name is printed, and the program
// exits with 1.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <random>

#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/JetFileReader.h"
#include "platform/RuntimeError.h"

namespace {

constexpr int kPage[] = {2048, 4096};  // Jet 3, Jet 4

struct Original {
    QString name;
    QByteArray bytes;
    int pageSize;
    QVector<int> definitions;  // page 0 and the table definitions
    QVector<int> pages;        // data and index pages
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class Mutator {
public:
    explicit Mutator(quint64 seed) : m_rng(seed) {}
    quint32 below(quint32 n) { return quint32(m_rng() % n); }

    QByteArray mutate(const Original& o) {
        QByteArray b = o.bytes;
        const int changes = 1 + below(12);
        for (int i = 0; i < changes; ++i) {
            const quint32 where = below(10);
            const int page = where < 5   ? o.definitions[below(o.definitions.size())]
                             : where < 8 ? o.pages[below(o.pages.size())]
                                         : below(b.size() / o.pageSize);
            const int at = page * o.pageSize + below(o.pageSize - 8);
            switch (below(5)) {
                case 0:
                    b[at] = char(below(256));
                    break;
                case 1:
                    b[at] = char(b[at] ^ (1 << below(8)));
                    break;
                case 2: {
                    static const quint16 edges16[] = {0, 1, 0x7f, 0x80, 0xff, 0x7fff, 0x8000, 0xffff, 0x1fff};
                    qToLittleEndian(edges16[below(std::size(edges16))], b.data() + at);
                    break;
                }
                case 3: {
                    const quint32 pages = quint32(b.size() / o.pageSize);
                    const quint32 edges32[] = {0,          1,     0x7fffffff, 0x80000000,
                                               0xffffffff, pages, pages + 1,  pages << 8};
                    qToLittleEndian(edges32[below(std::size(edges32))], b.data() + at);
                    break;
                }
                default: {
                    const int length = 1 + below(64);
                    const int from = below(b.size() - length);
                    b.replace(at, qMin(length, int(b.size()) - at),
                              below(2) ? QByteArray(length, '\0') : b.mid(from, length));
                    b.resize(o.bytes.size());
                }
            }
        }
        return b;
    }

private:
    std::mt19937_64 m_rng;
};

// The child's sanitizer reports, written without symbols so that they are whole before the engine stops a
// reader that falls silent. The first frame in libmdb or in the reader's own code tells whose fault it is:
// the library's the engine reports as a damaged file; the program's own are faults (replay the input with
// ztgl-jetread to see where). A report without such a frame was cut short.
bool childReportsOwnFault(const QDir& reports, QMap<QString, int>* outcomes) {
    bool own = false;
    for (const QString& name : reports.entryList(QDir::Files)) {
        const QByteArray report = readAll(reports.filePath(name));
        QFile::remove(reports.filePath(name));
        QString whose = QStringLiteral("reader crashed, its report cut short (reported as 3049)");
        for (const QByteArray& line : report.split('\n')) {
            if (!line.trimmed().startsWith('#'))
                continue;
            if (line.contains("libmdb")) {
                whose = QStringLiteral("reader crashed in libmdb (reported as 3049)");
                break;
            }
            if (line.contains("ztgl-jetread+")) {
                own = true;
                whose = QStringLiteral("reader crashed in its own code");
                std::fprintf(stderr, "%s\n", report.constData());
                break;
            }
        }
        ++(*outcomes)[whose];
    }
    return own;
}

// Opens the file as the program does; "" when it read, else the outcome. Fails the oracle by returning null.
QString openAndRead(const QString& file) {
    try {
        ado::Connection c;
        c.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;"
                                             "Jet OLEDB:Database Password=")
                                  .arg(file));
        c.Open();
        for (const ado::CatalogTable& t : c.readCatalog().tables)
            c.query(QStringLiteral("select * from [%1]").arg(t.name));
        return QStringLiteral("read");
    } catch (const ztgl::RuntimeError& e) {
        if (e.number() == 3049 && !e.description().contains(file)) {
            std::fprintf(stderr, "error 3049 without the file's name: %s\n", qPrintable(e.description()));
            return QString();
        }
        // The kind of outcome: the number and the text (for a damaged file what was found, in brackets)
        // without the names and numbers in it.
        QString kind = e.description();
        kind.replace(file, QStringLiteral("F"));
        const qsizetype bracket = kind.indexOf(QStringLiteral("（"));
        if (e.number() == 3049 && bracket >= 0)
            kind = kind.mid(bracket + 1, kind.lastIndexOf(QStringLiteral("）")) - bracket - 1);
        kind.replace(QRegularExpression(QStringLiteral("\\d+")), QStringLiteral("N"));
        kind.replace(QRegularExpression(QStringLiteral("“[^”]*”")), QStringLiteral("“…”"));
        return QString::number(e.number()) + QLatin1Char(' ') + kind;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "not the engine's error: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "not the engine's error: not even a std::exception\n");
    }
    return QString();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: jetfile_mutations FOLDER INPUTS|SECONDSs SEED [IDLE_MS]\n");
        return 2;
    }
    const bool timed = args[2].endsWith(QLatin1Char('s'));
    const qint64 budget = QString(args[2]).remove(QLatin1Char('s')).toLongLong();
    const int idleMs = args.size() > 4 ? args[4].toInt() : 1000;
    ado::JetFileReader::setIdleTimeout(idleMs);

    QVector<Original> originals;
    for (const QString& name : QDir(args[1]).entryList({QStringLiteral("*.mdb")}, QDir::Files, QDir::Name)) {
        Original o{name, readAll(QDir(args[1]).filePath(name)), 0, {}, {}};
        o.pageSize = kPage[o.bytes.size() > 0x14 && o.bytes[0x14] != 0];
        for (int p = 0; p < o.bytes.size() / o.pageSize; ++p) {
            const char type = o.bytes[p * o.pageSize];
            if (p == 0 || type == 2)
                o.definitions.append(p);
            else if (type == 1 || type == 3 || type == 4)
                o.pages.append(p);
        }
        originals.append(o);
    }
    if (originals.isEmpty()) {
        std::fprintf(stderr, "no .mdb files in %s\n", qPrintable(args[1]));
        return 2;
    }

    QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                              ? QStringLiteral("/dev/shm/ztgl-jetmut-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/ztgl-jetmut-XXXXXX"));
    const QDir reports(scratch.filePath(QStringLiteral("reports")));
    QDir().mkpath(reports.path());
    std::printf(
        "jetfile_mutations: inputs in %s (should this program be stopped by a sanitizer, the input left "
        "there is the one)\n",
        qPrintable(scratch.path()));
    std::fflush(stdout);
    // The child's sanitizer reports go where they can be read (the parent's own stop this program). Leaks of
    // a child that gave up on a damaged file are of no interest: it ends there.
    const QByteArray log = ":log_path=" + reports.filePath(QStringLiteral("child")).toLocal8Bit();
    qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") + log + ":detect_leaks=0:symbolize=0");
    qputenv("UBSAN_OPTIONS", qgetenv("UBSAN_OPTIONS") + log + ":symbolize=0");

    Mutator mutator(args[3].toULongLong());
    QMap<QString, int> outcomes;
    QElapsedTimer total;
    total.start();
    qint64 slowest = 0, inputs = 0;
    while (timed ? total.elapsed() < budget * 1000 : inputs < budget) {
        const Original& o = originals[mutator.below(originals.size())];
        const QByteArray bytes = mutator.mutate(o);
        const QString file = scratch.filePath(QStringLiteral("input-%1.mdb").arg(inputs++));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 2;
        f.close();
        QElapsedTimer one;
        one.start();
        const QString outcome = openAndRead(file);
        const qint64 ms = one.elapsed();
        slowest = qMax(slowest, ms);
        // The catalogue and each table are one request each; a hung reader costs one idle time-out.
        const bool inTime = ms < 3 * idleMs + 20000;
        const bool own = childReportsOwnFault(reports, &outcomes);
        if (outcome.isNull() || !inTime || own || readAll(file) != bytes) {
            std::fprintf(stderr, "FAULT on %s (from %s, %lld ms): kept in %s\n", qPrintable(file),
                         qPrintable(o.name), ms, qPrintable(scratch.path()));
            scratch.setAutoRemove(false);
            return 1;
        }
        ++outcomes[outcome];
        QFile::remove(file);
    }
    std::printf("jetfile_mutations: %lld inputs in %lld s, slowest %lld ms\n", inputs, total.elapsed() / 1000,
                slowest);
    for (auto it = outcomes.begin(); it != outcomes.end(); ++it)
        std::printf("%7d  %s\n", it.value(), qPrintable(it.key()));
    return 0;
}
