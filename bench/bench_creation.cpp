// Client-side cost of making a new account set.
//   bench_creation [TABLES COLUMNS ROWS]   (default 300 4000 20000)
// 1. SQL Server kind: the statements of `ztgl-admin script` (schema copy and row copy written to
//    memory, no server) for a generated template of TABLES tables, COLUMNS columns and ROWS rows,
//    next to reading that template's rows alone.
// 2. Access kind: CreateDataBase (a copy of the template beside the program) next to a plain file
//    copy of the same template, for the demo template and for the generated one.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "creation/ProgressWindow.h"
#include "creation/DatabaseCreation.h"
#include "demo/DemoTemplate.h"
#include "creation/SchemaCopy.h"
#include "creation/TargetConnection.h"
#include "creation/TemplateDatabase.h"
#include "process/Globals.h"
#include "process/UiPort.h"

using namespace ztgl;

namespace {

// Column kinds of the generated template, cycled through.
const char* const kTypes[] = {"TEXT(20) COLLATE NOCASE", "LONG DEFAULT 0",
                              "CURRENCY DEFAULT 0",      "DATETIME",
                              "BIT NOT NULL DEFAULT 0",  "DOUBLE",
                              "MEMO COLLATE NOCASE",     "TEXT(50) COLLATE NOCASE DEFAULT 'x'"};

QString columnValue(int type, int row) {
    switch (type % 8) {
        case 0:
            return QStringLiteral("'编号%1'").arg(row);
        case 1:
            return QString::number(row);
        case 2:
            return QStringLiteral("%1.25").arg(row);
        case 3:
            return QStringLiteral("'2024-03-05 10:20:30'");
        case 4:
            return QString::number(row % 2);
        case 5:
            return QStringLiteral("%1.5").arg(row);
        case 6:
            return QStringLiteral("'备注：第%1行'").arg(row);
        default:
            return QStringLiteral("'O''Brien %1'").arg(row);
    }
}

bool writeTemplate(const QString& file, int tables, int columns, int rows) {
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(file);
        ok = db.open() && db.transaction();
        QSqlQuery q(db);
        int columnNo = 0;
        for (int t = 0; ok && t < tables; ++t) {
            const int n = columns / tables + (t < columns % tables ? 1 : 0);
            QString sql =
                QStringLiteral("CREATE TABLE T%1 (ID LONG NOT NULL").arg(t, 3, 10, QLatin1Char('0'));
            for (int c = 1; c < n; ++c)
                sql += QStringLiteral(", C%1 %2").arg(c).arg(QString::fromLatin1(kTypes[(columnNo + c) % 8]));
            sql += QStringLiteral(", CONSTRAINT PK PRIMARY KEY (ID))");
            ok = q.exec(sql);
            const int r = rows / tables + (t < rows % tables ? 1 : 0);
            for (int i = 0; ok && i < r; ++i) {
                QString insert =
                    QStringLiteral("INSERT INTO T%1 VALUES (%2").arg(t, 3, 10, QLatin1Char('0')).arg(i);
                for (int c = 1; c < n; ++c)
                    insert += QLatin1Char(',') + columnValue(columnNo + c, i);
                ok = q.exec(insert + QLatin1Char(')'));
            }
            columnNo += n;
            if (!ok)
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        }
        q.finish();
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return ok;
}

double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

// Median of a few runs, so a stray pause does not decide the figure.
template <typename F>
double median(int runs, F f) {
    QVector<double> times;
    for (int i = 0; i < runs; ++i)
        times << f();
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void benchScript(const QString& folder) {
    gDBType = kSqlServer;
    qint64 bytes = 0;
    int statements = 0;
    const double script = median(3, [&] {
        QString out;
        ProgressWindow progress;
        progress.Show();
        QElapsedTimer t;
        t.start();
        SchemaCopy copy(
            TemplateConnectString(folder),
            [&](const QString& sql) {
                out += sql;
                out += QStringLiteral("\nGO\n");
                ++statements;
            },
            progress);
        copy.XZBJG();
        const double elapsed = ms(t);
        bytes = out.toUtf8().size();
        return elapsed;
    });
    statements /= 3;

    int rowsRead = 0;
    const double readOnly = median(3, [&] {
        QElapsedTimer t;
        t.start();
        ado::Connection conn;
        conn.setConnectionString(TemplateConnectString(folder));
        conn.Open();
        rowsRead = 0;
        for (const auto& table : conn.readCatalog().tables) {
            ado::Recordset rs;
            rs.Open(QStringLiteral("Select * From ") + table.name, conn);
            for (; !rs.Eof(); rs.MoveNext()) {
                for (int i = 0; i < rs.FieldCount(); ++i)
                    (void)rs.Fields(i).Value();
                ++rowsRead;
            }
        }
        conn.Close();
        return ms(t);
    });
    std::printf("script (schema + row statements, client only): %8.1f ms  (%d statements, %.1f MB of text)\n",
                script, statements, bytes / 1048576.0);
    std::printf("reading the template's rows alone:             %8.1f ms  (%d rows)\n", readOnly, rowsRead);
}

void benchAccess(const QString& folder, const char* what) {
    gDBType = kAccess;
    gAppPath = folder;
    const QString source = folder + kTemplateFileName;
    int n = 0;
    const double create = median(5, [&] {
        const QString name = QStringLiteral("_BK%1").arg(++n, 3, 10, QLatin1Char('0'));
        TargetConnection target;
        ProgressWindow progress;
        progress.Show();
        QElapsedTimer t;
        t.start();
        DatabaseCreation creation(target, progress);
        if (!creation.CreateDataBase(name))
            std::fprintf(stderr, "creation failed\n");
        const double elapsed = ms(t);
        QFile::remove(folder + name + QStringLiteral(".MDB"));
        return elapsed;
    });
    const double copy = median(5, [&] {
        const QString target = folder + QStringLiteral("plain-copy.mdb");
        QElapsedTimer t;
        t.start();
        QFile::copy(source, target);
        const double elapsed = ms(t);
        QFile::remove(target);
        return elapsed;
    });
    std::printf("%s (%.1f MB): CreateDataBase %7.2f ms, plain file copy %7.2f ms\n", what,
                QFileInfo(source).size() / 1048576.0, create, copy);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int tables = argc > 3 ? std::atoi(argv[1]) : 300;
    const int columns = argc > 3 ? std::atoi(argv[2]) : 4000;
    const int rows = argc > 3 ? std::atoi(argv[3]) : 20000;

    QTemporaryDir big, demo;
    const QString bigFolder = big.path() + QLatin1Char('/');
    const QString demoFolder = demo.path() + QLatin1Char('/');
    QElapsedTimer t;
    t.start();
    if (!writeTemplate(bigFolder + kTemplateFileName, tables, columns, rows))
        return 1;
    std::printf("generated template: %d tables, %d columns, %d rows in %.0f ms\n", tables, columns, rows,
                ms(t));
    QString error;
    if (!WriteDemoTemplate(demoFolder + kTemplateFileName, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    benchScript(bigFolder);
    benchAccess(demoFolder, "demo template     ");
    benchAccess(bigFolder, "generated template");
    return 0;
}
