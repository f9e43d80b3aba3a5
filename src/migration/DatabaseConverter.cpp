#include "migration/DatabaseConverter.h"

#include <QFile>
#include <QFileInfo>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/JetError.h"
#include "migration/TableChecksum.h"
#include "migration/TableDdl.h"
#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

using ado::CatalogTable;

QString embeddedConnectionString(const QString& file) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=") +
           file + QStringLiteral(";Mode=Read|Write;Jet OLEDB:Database Password=");
}

QString selectAll(const CatalogTable& t) {
    return QStringLiteral("select * from [") + t.name + QLatin1Char(']');
}

RuntimeError difference(const QString& table, const QString& what) {
    return RuntimeError(RuntimeError::DatabaseError,
                        QStringLiteral("表“%1”转换后核对不符：%2").arg(table, what));
}

struct Copied {
    const CatalogTable* table;
    TableChecksum checksum;
};

// The rows of the source, as the engine typed them, checked against the catalogue's columns.
ado::RowSet readTable(ado::Connection& c, const CatalogTable& t) {
    ado::RowSet rows = c.query(selectAll(t));
    if (rows.fields.size() != t.columns.size())
        throw difference(t.name, QStringLiteral("读出的字段数与表的结构不同"));
    return rows;
}

void compare(const QString& target, const QVector<Copied>& copied) {
    ado::Connection c;
    c.setConnectionString(embeddedConnectionString(target));
    c.Open();
    const ado::CatalogData catalog = c.readCatalog();
    for (const Copied& from : copied) {
        const CatalogTable& t = *from.table;
        const CatalogTable* made = nullptr;
        for (const CatalogTable& m : catalog.tables)
            if (m.name == t.name)
                made = &m;
        if (!made)
            throw difference(t.name, QStringLiteral("新文件中没有这个表"));
        const QStringList want = TableDdl::describe(t), got = TableDdl::describe(*made);
        for (int i = 0; i < qMax(want.size(), got.size()); ++i)
            if (want.value(i) != got.value(i))
                throw difference(t.name,
                                 QStringLiteral("原为“%1”，转换后为“%2”").arg(want.value(i), got.value(i)));
        TableChecksum sum;
        for (const auto& row : readTable(c, *made).rows)
            sum.add(row);
        if (sum.rows() != from.checksum.rows())
            throw difference(
                t.name, QStringLiteral("原有 %1 行，转换后 %2 行").arg(from.checksum.rows()).arg(sum.rows()));
        if (sum.result() != from.checksum.result())
            throw difference(t.name, QStringLiteral("行数相同，但数据的校验和不同"));
    }
    c.Close();
}

DatabaseConverter::Summary copy(const QString& source, const QString& target, QVector<Copied>* copied,
                                ado::CatalogData* catalog) {
    ado::Connection from;
    from.setConnectionString(source);
    from.Open();
    *catalog = from.readCatalog();
    for (const CatalogTable& t : catalog->tables)
        if (t.type != QLatin1String("SYSTEM TABLE") && t.type != QLatin1String("VIEW"))
            copied->append({&t, TableChecksum()});

    ado::CreateJetDatabase(target);
    ado::Connection to;
    to.setConnectionString(embeddedConnectionString(target));
    to.Open();
    to.BeginTrans();
    // Rows go in table by table, children perhaps before their parents: relationships are checked once, when
    // the whole file is in.
    to.Execute(QStringLiteral("PRAGMA defer_foreign_keys = ON"));
    for (const Copied& c : *copied)
        to.Execute(TableDdl::create(*c.table));
    DatabaseConverter::Summary summary;
    for (Copied& c : *copied) {
        for (const auto& row : readTable(from, *c.table).rows) {
            to.Execute(TableDdl::insert(*c.table, row));
            c.checksum.add(row);
        }
        summary.rows += c.checksum.rows();
    }
    to.CommitTrans();
    to.Close();
    from.Close();
    summary.tables = copied->size();
    return summary;
}

}  // namespace

DatabaseConverter::Summary DatabaseConverter::convert(const QString& source, const QString& target) {
    if (QFileInfo::exists(target))
        throw ado::JetError::alreadyExists(target);
    ado::CatalogData catalog;
    QVector<Copied> copied;
    try {
        const Summary summary = copy(source, target, &copied, &catalog);
        compare(target, copied);
        return summary;
    } catch (...) {
        QFile::remove(target);
        throw;
    }
}

}  // namespace ztgl
