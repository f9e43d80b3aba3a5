#pragma once

#include <stdexcept>

#include "JetTestDatabase.h"
#include "ado/Connection.h"
#include "db/PubSql.h"
#include "process/Globals.h"

namespace ztgl::test {

// A temporary database of the embedded engine made from a list of statements (Jet dialect),
// optionally installed as the manager's database: gDBType = "[Microsoft Access]",
// gConnectString = its connection string, and gConn opened through Open_Connect.
// The file is named KXPUB.MDB by default, so that Get_ZtConnectString derives the account-set
// files beside it. When it opened gConn, the destructor closes gConn again (if it is still ours).
class JetTestDb {
public:
    enum class Use { FileOnly, SetGlobals, OpenShared };

    explicit JetTestDb(const QStringList& statements = {}, Use use = Use::FileOnly,
                       const QString& fileName = QStringLiteral("KXPUB.MDB"))
        : m_db(fileName) {
        m_db.exec(statements);
        if (use == Use::FileOnly)
            return;
        gDBType = kAccess;
        gConnectString = connectionString();
        if (use == Use::OpenShared && Open_Connect() != 1)
            throw std::runtime_error("JetTestDb: the shared connection did not open");
        m_openedShared = use == Use::OpenShared;
    }
    ~JetTestDb() {
        if (m_openedShared && gConn && gConn->connectionString() == connectionString())
            Close_Connect();
    }
    JetTestDb(const JetTestDb&) = delete;
    JetTestDb& operator=(const JetTestDb&) = delete;

    // "Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=<file>;
    // Mode=Read|Write;Jet OLEDB:Database Password="
    QString connectionString() const { return m_db.connectionString(); }
    const QString& path() const { return m_db.path(); }
    // The folder of the file, with no trailing separator.
    QString folder() const { return m_db.folder(); }
    // Runs more statements on a connection of its own; a failing one throws.
    void exec(const QStringList& statements) const { m_db.exec(statements); }

private:
    JetTestDatabase m_db;
    bool m_openedShared = false;
};

}  // namespace ztgl::test
