#pragma once

#include "ado/Backend.h"

class QSqlDatabase;
class QSqlError;

namespace ado {

// SQL Server through Qt's ODBC driver. Every connection has a Qt connection name of its own,
// removed again on close.
class OdbcBackend final : public Backend {
public:
    // Seconds any one request may take before the driver gives up, like ADO's command time-out.
    static constexpr int kRequestTimeout = 30;

    OdbcBackend();
    ~OdbcBackend() override;

    void open(const ConnectionString& cs, int timeoutSeconds) override;
    void close() override;
    qint64 execute(const QString& sql) override;
    RowSet query(const QString& sql) override;
    // Not offered on this engine: the schema the program copies is read from the template.
    CatalogData readCatalog() override;
    void beginTrans() override;
    void commitTrans() override;
    void rollbackTrans() override;

private:
    QSqlDatabase database() const;
    [[noreturn]] void fail(const QSqlError& error) const;

    QString m_name;  // Qt connection name; empty when closed
};

}  // namespace ado
