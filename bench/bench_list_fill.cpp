// Filling the account-set list with 10,000 sets, next to the bare query on the same data.
//   bench_list_fill [SETS] [ROUNDS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <vector>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"
#include "catalogue/AccountSetList.h"
#include "db/PubSql.h"
#include "process/Globals.h"

using namespace ztgl;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int sets = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const int rounds = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 7;

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("KXPUB.MDB"));
    ado::CreateJetDatabase(file);
    gDBType = kAccess;
    gConnectString = QStringLiteral(
                         "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=%1;"
                         "Mode=Read|Write;Jet OLEDB:Database Password=")
                         .arg(file);
    gConn = std::make_unique<ado::Connection>();
    gConn->setConnectionString(gConnectString);
    gConn->Open();
    gConn->Execute(QStringLiteral(
        "CREATE TABLE ZTML (Id TEXT(10) COLLATE NOCASE NOT NULL, ZTMC TEXT(50) COLLATE NOCASE, ZTLJ TEXT(50) "
        "COLLATE NOCASE, CreateTime TEXT(20) COLLATE NOCASE, UserFlag LONG, CONSTRAINT PK_ZTML PRIMARY KEY "
        "(Id))"));
    gConn->BeginTrans();
    for (int i = 1; i <= sets; ++i)
        gConn->Execute(
            QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values('%1','第%1分公司 "
                           "O''Neil','MAIN_BK%1','2024-01-15',%2)")
                .arg(i)
                .arg(i % 3 == 0 ? 0 : 1));
    gConn->CommitTrans();

    std::vector<double> query, fill;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer t;
        t.start();
        {
            ado::Recordset rs;
            Open_Recordset(rs, QStringLiteral("select * from ZTML Order By Id"));
            rows = rs.RecordCount();
            Close_Recordset(rs);
        }
        query.push_back(t.nsecsElapsed() / 1e6);

        AccountSetList list;
        list.loadLayout();
        t.restart();
        const bool ok = list.SetMSFlexGrid1Date();
        fill.push_back(t.nsecsElapsed() / 1e6);
        if (!ok || list.grid().Rows() != sets + 1) {
            out << "fill failed" << Qt::endl;
            return 1;
        }
    }
    out << QStringLiteral("sets: %1 (query returned %2 rows), rounds: %3").arg(sets).arg(rows).arg(rounds)
        << Qt::endl;
    out << QStringLiteral("bare query  (select * from ZTML Order By Id, all rows fetched): median %1 ms")
               .arg(median(query), 0, 'f', 1)
        << Qt::endl;
    out << QStringLiteral("list fill   (SetMSFlexGrid1Date: query + grid + marker + buttons): median %1 ms")
               .arg(median(fill), 0, 'f', 1)
        << Qt::endl;
    out << QStringLiteral("fill / query: %1").arg(median(fill) / median(query), 0, 'f', 2) << Qt::endl;
    gConn.reset();
    return 0;
}
