#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>
#include <stdexcept>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "process/Globals.h"

namespace ztgl::test {

// Statements on a connection of their own to `connectString`, in order, as one transaction; a failing
// one throws (and nothing of them stays).
inline void execSql(const QString& connectString, const QStringList& statements) {
    ado::Connection conn;
    conn.setConnectionString(connectString);
    conn.Open();
    for (const QString& s : statements)
        conn.Execute(s);
    conn.Close();
}
// The rows of a query through the ADO-like layer, as values, or each row's values as text joined by "|".
inline QVector<QVector<QVariant>> queryValues(const QString& connectString, const QString& sql) {
    ado::Connection conn;
    conn.setConnectionString(connectString);
    conn.Open();
    ado::Recordset rs;
    rs.Open(sql, conn);
    const auto rows = rs.rows().rows;
    rs.Close();
    conn.Close();
    return rows;
}
inline QStringList queryRows(const QString& connectString, const QString& sql) {
    QStringList out;
    for (const auto& row : queryValues(connectString, sql)) {
        QStringList values;
        for (const QVariant& v : row)
            values << v.toString();
        out << values.join('|');
    }
    return out;
}

// A new, empty database of the embedded engine in a temporary folder of its own, removed with the object.
// Statements run through ado::Connection, so they are in Jet's dialect.
class JetTestDatabase {
public:
    explicit JetTestDatabase(const QString& fileName = QStringLiteral("TEST.MDB"))
        : m_path(m_dir.filePath(fileName)) {
        ado::CreateJetDatabase(m_path);
    }

    const QString& path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    // The connection string the program builds for an Access database file (empty database password).
    static QString connectionStringFor(const QString& file,
                                       const QString& provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0")) {
        return QStringLiteral(
                   "Provider=%1;Persist Security Info=False;Data Source=%2;Mode=Read|Write;"
                   "Jet OLEDB:Database Password=")
            .arg(provider, file);
    }
    QString connectionString() const { return connectionStringFor(m_path); }
    void exec(const QStringList& statements) const { execSql(connectionString(), statements); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

}  // namespace ztgl::test
