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
// path(), folder(), connectionString() and exec() as JetTestDatabase has them.
class JetTestDb : public JetTestDatabase {
public:
    enum class Use { FileOnly, SetGlobals, OpenShared };

    explicit JetTestDb(const QStringList& statements = {}, Use use = Use::FileOnly,
                       const QString& fileName = QStringLiteral("KXPUB.MDB"))
        : JetTestDatabase(fileName) {
        exec(statements);
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

private:
    bool m_openedShared = false;
};

}  // namespace ztgl::test
