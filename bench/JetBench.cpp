// Figures of the embedded engine: open, definitions, row inserts with and without a transaction,
// a full read back and a catalogue read. Run: build/bin/JetBench [rows]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"

namespace {

void report(const char* what, QElapsedTimer& timer, int count = 0) {
    const double ms = timer.nsecsElapsed() / 1e6;
    if (count > 0)
        std::printf("%-34s %9.1f ms  (%.3f ms each)\n", what, ms, ms / count);
    else
        std::printf("%-34s %9.1f ms\n", what, ms);
    timer.restart();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("BENCH.MDB"));
    const QString cs = QStringLiteral(
                           "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=%1;"
                           "Mode=Read|Write;Jet OLEDB:Database Password=")
                           .arg(file);
    QElapsedTimer timer;
    timer.start();
    ado::CreateJetDatabase(file);
    report("create database", timer);

    ado::Connection conn;
    conn.setConnectionString(cs);
    conn.Open();
    report("open", timer);
    for (int i = 0; i < 30; ++i)
        conn.Execute(
            QStringLiteral("CREATE TABLE T%1 (ID TEXT(10) NOT NULL, MC TEXT(50) DEFAULT \"名称\", SL LONG "
                           "DEFAULT 0, JE CURRENCY, RQ DATETIME DEFAULT now(), BZ MEMO, "
                           "CONSTRAINT PK_T%1 PRIMARY KEY (ID))")
                .arg(i));
    report("30 table definitions", timer, 30);

    for (int i = 0; i < rows; ++i)
        conn.Execute(QStringLiteral("INSERT INTO T0 (ID, MC, SL, JE, RQ) VALUES ('%1', '商品%1', %1, 1.5, "
                                    "#2024-03-05 14:07:09#)")
                         .arg(i));
    report("inserts, each its own commit", timer, rows);

    conn.BeginTrans();
    for (int i = 0; i < rows; ++i)
        conn.Execute(QStringLiteral("INSERT INTO T1 (ID, MC, SL) VALUES ('%1', '商品%1', %1)").arg(i));
    conn.CommitTrans();
    report("inserts in one transaction", timer, rows);

    ado::Recordset rs;
    rs.Open(QStringLiteral("select * from T0"), conn);
    int n = 0;
    for (; !rs.Eof(); rs.MoveNext())
        n += rs.Fields(QStringLiteral("SL")).Value().toInt() >= 0 ? 1 : 0;
    report("read back every row", timer, n);

    rs.Open(QStringLiteral("select max(clng(ID)) as ls_bm from T0"), conn);
    report("next key over text keys", timer);

    rs.Open(QStringLiteral("select count(*) from T0 where MC like '%[_]%' or MC like '商品1%'"), conn);
    report("LIKE over every row", timer);
    conn.Close();

    ado::Catalog catalog;
    catalog.Open(cs);
    report("catalogue of 30 tables", timer);
    return 0;
}
