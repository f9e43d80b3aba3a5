#include "AccountSetFolder.h"

#include <QDir>

#include "JetTestDatabase.h"
#include "ado/JetDatabase.h"
#include "db/PubSql.h"
#include "demo/DemoTemplate.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl::test {

AccountSetFolder::AccountSetFolder(bool withTemplate) {
    ResetGlobals();
    m_path = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
    try {
        // The manager's database: an empty catalogue of account sets.
        ado::CreateJetDatabase(file(QStringLiteral("KXPUB.MDB")));
        execute(
            QStringLiteral("KXPUB.MDB"),
            QStringLiteral("CREATE TABLE ZTML (Id TEXT(10) NOT NULL, ZTMC TEXT(50), ZTLJ TEXT(50), "
                           "CreateTime TEXT(10), UserFlag LONG, CONSTRAINT PrimaryKey PRIMARY KEY (Id))"));
    } catch (const std::exception& e) {
        m_error = errorText(e);
        return;
    }
    if (withTemplate && !WriteDemoTemplate(file(QStringLiteral("MWMSD_NULL.mdb")), &m_error))
        return;
    gAppPath = m_path;
    gDBType = kAccess;
    gConnectString = connectString(QStringLiteral("KXPUB.MDB"));
    m_ok = Open_Connect() == 1;
    if (!m_ok)
        m_error = QStringLiteral("the manager's database does not open");
}

AccountSetFolder::~AccountSetFolder() {
    Close_Connect();
    ResetGlobals();
}

QString AccountSetFolder::connectString(const QString& fileName) const {
    return JetTestDatabase::connectionStringFor(file(fileName));
}

QVector<QVector<QVariant>> AccountSetFolder::query(const QString& fileName, const QString& sql) const {
    return queryValues(connectString(fileName), sql);
}

void AccountSetFolder::execute(const QString& fileName, const QString& sql) const {
    execSql(connectString(fileName), {sql});
}

}  // namespace ztgl::test
