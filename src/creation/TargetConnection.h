#pragma once

#include <QString>
#include <memory>

namespace ado {
class Connection;
}

namespace ztgl {

// The account-set editor's own connection to one account-set database (or to "master" while a
// SQL Server database is being made), kept with the connection string it was opened with.
class TargetConnection {
public:
    TargetConnection();
    ~TargetConnection();
    TargetConnection(const TargetConnection&) = delete;
    TargetConnection& operator=(const TargetConnection&) = delete;

    // A new connection on `connectString` with a time-out of 120 seconds; one still open is
    // closed first. Throws ztgl::RuntimeError when the database cannot be opened.
    void Open(const QString& connectString);
    // Closes and releases the connection (nothing when there is none). Throws when closing fails;
    // the connection is released all the same.
    void Close();
    bool isOpen() const;
    // The open connection; throws when there is none.
    ado::Connection& conn();
    const QString& connectString() const { return m_connectString; }

private:
    std::unique_ptr<ado::Connection> m_conn;
    QString m_connectString;
};

}  // namespace ztgl
