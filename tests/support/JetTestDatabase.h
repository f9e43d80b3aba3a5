#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace ztgl::test {

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
    // Runs the statements in order on one connection, as one transaction; a failing one throws (and
    // nothing of them stays).
    void exec(const QStringList& statements) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

}  // namespace ztgl::test
