#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

namespace ztgl::test {

// Statements on a connection of their own to `connectString`, in order, as one transaction; a failing
// one throws (and nothing of them stays).
void execSql(const QString& connectString, const QStringList& statements);
// The rows of a query through the ADO-like layer, as values, or each row's values as text joined by "|".
QVector<QVector<QVariant>> queryValues(const QString& connectString, const QString& sql);
QStringList queryRows(const QString& connectString, const QString& sql);

// A new, empty database of the embedded engine in a temporary folder of its own, removed with the object.
// Statements run through ado::Connection, so they are in Jet's dialect.
class JetTestDatabase {
public:
    explicit JetTestDatabase(const QString& fileName = QStringLiteral("TEST.MDB"));

    const QString& path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    // The connection string the program builds for an Access database file (empty database password).
    static QString connectionStringFor(const QString& file,
                                       const QString& provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    QString connectionString() const { return connectionStringFor(m_path); }
    void exec(const QStringList& statements) const { execSql(connectionString(), statements); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

}  // namespace ztgl::test
