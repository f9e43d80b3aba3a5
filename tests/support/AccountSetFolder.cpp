#include "AccountSetFolder.h"

#include <QDir>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"
#include "demo/DemoTemplate.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl::test {

namespace {
// The manager's database: an empty catalogue of account sets.
bool writeManagerDatabase(const QString& file, QString* error) {
    try {
        ado::CreateJetDatabase(file);
        ado::Connection conn;
        conn.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file);
        conn.Open();
        conn.Execute(QStringLiteral(
            "CREATE TABLE ZTML (Id TEXT(10) NOT NULL, ZTMC TEXT(50), ZTLJ TEXT(50), CreateTime TEXT(10), "
            "UserFlag LONG, CONSTRAINT PrimaryKey PRIMARY KEY (Id))"));
        conn.Close();
        return true;
    } catch (const std::exception& e) {
        *error = errorText(e);
        return false;
    }
}
}  // namespace

AccountSetFolder::AccountSetFolder(bool withTemplate) {
    ResetGlobals();
    m_path = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
    if (!writeManagerDatabase(file(QStringLiteral("KXPUB.MDB")), &m_error))
        return;
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
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;Data Source=") +
           file(fileName) + QStringLiteral(";Mode=Read|Write;Jet OLEDB:Database Password=");
}

QVector<QVector<QVariant>> AccountSetFolder::query(const QString& fileName, const QString& sql) const {
    ado::Connection conn;
    conn.setConnectionString(connectString(fileName));
    conn.Open();
    ado::Recordset rs;
    rs.Open(sql, conn);
    const auto rows = rs.rows().rows;
    rs.Close();
    conn.Close();
    return rows;
}

void AccountSetFolder::execute(const QString& fileName, const QString& sql) const {
    ado::Connection conn;
    conn.setConnectionString(connectString(fileName));
    conn.Open();
    conn.Execute(sql);
    conn.Close();
}

}  // namespace ztgl::test
