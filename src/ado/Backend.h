#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "ado/Catalog.h"
#include "ado/ConnectionString.h"
#include "ado/RowSet.h"

struct sqlite3;

namespace ado {

// One database engine behind a Connection. Every failure throws ztgl::RuntimeError with a
// number and a clear text (the engine's own message, in the program's language where known).
class Backend {
public:
    virtual ~Backend() = default;
    virtual void open(const ConnectionString& cs, int timeoutSeconds) = 0;
    virtual void close() = 0;
    // Runs a statement; returns the number of affected rows (-1 when unknown).
    virtual qint64 execute(const QString& sql) = 0;
    // Runs a query and fetches every row.
    virtual RowSet query(const QString& sql) = 0;
    virtual CatalogData readCatalog() = 0;
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollbackTrans() = 0;
    // The embedded engine's own handle, for its online copy (JetOnlineCopy); null for other engines.
    virtual sqlite3* sqliteHandle() { return nullptr; }
    // True for the engine that only reads files in Jet's own format.
    virtual bool isJetFile() const { return false; }
};

// Jet: the embedded engine; JetFile: files in Jet's own format, read only (chosen by the file, not by
// the provider); SqlServer: SQL Server over ODBC.
enum class EngineKind { Jet, JetFile, SqlServer, Unknown };

// Which engine a provider name selects: Microsoft.Jet.OLEDB.4.0 and Microsoft.ACE.OLEDB.* the
// embedded (Jet) engine; SQLOLEDB, SQLOLEDB.1, SQLNCLI*, MSOLEDBSQL* SQL Server over ODBC.
EngineKind engineForProvider(const QString& provider);

using BackendFactory = std::function<std::unique_ptr<Backend>()>;

// Tests replace the engine of a kind (for example SQL Server by a scripted backend);
// an empty factory restores the real engine.
void setBackendFactory(EngineKind kind, BackendFactory factory);

// The engine for a kind: the installed factory's, or the real one.
std::unique_ptr<Backend> createBackend(EngineKind kind);

// Real engines (implemented in JetBackend.cpp, JetFileBackend.cpp and OdbcBackend.cpp).
std::unique_ptr<Backend> createJetBackend();
std::unique_ptr<Backend> createJetFileBackend();
std::unique_ptr<Backend> createOdbcBackend();

}  // namespace ado
