#pragma once

#include <QString>
#include <memory>

#include "ado/Backend.h"
#include "ado/DataType.h"

namespace ado {

// ADO-like connection. The provider of the connection string picks the engine at Open; for the Jet
// providers a file in Jet's own format (Access 97 to 2003) goes to the engine that only reads such files.
// Every failure throws ztgl::RuntimeError (number + text).
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setConnectionString(const QString& cs) { m_connectionString = cs; }
    const QString& connectionString() const { return m_connectionString; }
    // Seconds to wait for the engine to open (login time-out on SQL Server).
    void setConnectionTimeout(int seconds) { m_timeout = seconds; }
    int connectionTimeout() const { return m_timeout; }

    void Open();
    void Close();  // no-op when closed
    int State() const { return m_backend ? adStateOpen : adStateClosed; }

    // Runs a statement; returns the number of affected rows (-1 when unknown).
    qint64 Execute(const QString& sql);
    // Runs a query and fetches every row (used by Recordset).
    RowSet query(const QString& sql);
    CatalogData readCatalog();
    // True while open on a file in Jet's own format, which the program only reads.
    bool isJetFile() const;

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // The embedded engine's own handle while open (for JetOnlineCopy); null for other engines.
    sqlite3* sqliteHandle() { return m_backend ? m_backend->sqliteHandle() : nullptr; }

private:
    Backend& backend();

    QString m_connectionString;
    int m_timeout = 15;
    std::unique_ptr<Backend> m_backend;
};

}  // namespace ado
