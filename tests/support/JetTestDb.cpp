#include "JetTestDb.h"

#include <stdexcept>

#include "ado/Connection.h"
#include "db/PubSql.h"
#include "process/Globals.h"

namespace ztgl::test {

JetTestDb::JetTestDb(const QStringList& statements, Use use, const QString& fileName) : m_db(fileName) {
    m_db.exec(statements);
    if (use == Use::FileOnly)
        return;
    gDBType = kAccess;
    gConnectString = connectionString();
    if (use == Use::OpenShared) {
        if (Open_Connect() != 1)
            throw std::runtime_error("JetTestDb: the shared connection did not open");
        m_openedShared = true;
    }
}

JetTestDb::~JetTestDb() {
    if (m_openedShared && gConn && gConn->connectionString() == connectionString())
        Close_Connect();
}

}  // namespace ztgl::test
