// The shared connection gConn and the connection strings of the manager's and the account-set
// databases.
#include "ado/Connection.h"
#include "ado/ConnectionString.h"
#include "ado/JetError.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/IniFile.h"
#include "process/UiPort.h"

namespace ztgl {

DBProfile gDBProfile;
std::unique_ptr<ado::Connection> gConn;

void ResetGlobals() {
    ResetProcessValues();
    gConn.reset();
    gDBProfile = DBProfile();
}

namespace {

const QString kErrorMarker = QStringLiteral("'ERROR'");
const QString kCatalogKey = QStringLiteral("Initial Catalog=");

}  // namespace

QString TrimBlanks(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(begin, end - begin);
}

QString Get_ConnectString() {
    const QString section = QStringLiteral("DBCONNECT");
    const auto read = [&](const char* key) { return Read_Ini(section, QLatin1String(key), gIniFile); };
    const QString kind = read("DBTYPE");
    gDBProfile.DataSource = read("DATA_SOURCE");
    gDBProfile.DBName = read("DBNAME");
    gDBProfile.NetworkLibrary = read("Network_Library");
    gDBProfile.Password = read("PASSWORD");
    gDBProfile.PersistSecurityInfo = read("PERSIST_SECURITY_INFO");
    gDBProfile.Provider = read("PROVIDER");
    gDBProfile.UserID = read("USER_ID");
    gDBType = kind;
    return Build_ConnectString(kind, gDBProfile);
}

QString Build_ConnectString(const QString& kind, const DBProfile& p) {
    const QString psi = p.PersistSecurityInfo.isEmpty() ? QStringLiteral("False") : p.PersistSecurityInfo;
    if (kind == kAccess) {
        return QStringLiteral("Provider=") + p.Provider + QStringLiteral(";Persist Security Info=") + psi +
               QStringLiteral(";Data Source=") + p.DataSource +
               QStringLiteral(";Mode=Read|Write;Jet OLEDB:Database Password=") + p.Password;
    }
    if (kind == kSqlServer) {
        QString cs = QStringLiteral("Provider=") + p.Provider + QStringLiteral(";Password=") + p.Password +
                     QStringLiteral(";Persist Security Info=") + psi + QStringLiteral(";User ID=") +
                     p.UserID + QStringLiteral(";Initial Catalog=") + p.DBName +
                     QStringLiteral(";Data Source=") + p.DataSource;
        if (!p.NetworkLibrary.isEmpty())
            cs += QStringLiteral(";Network Library=") + p.NetworkLibrary;
        return cs;
    }
    return QString();
}

int Open_Connect() {
    const QString trimmed = TrimBlanks(gConnectString);
    if (trimmed.isEmpty() || trimmed == kErrorMarker)
        return 0;
    try {
        // The replacement closes and releases the previous connection.
        gConn = std::make_unique<ado::Connection>();
        gConn->setConnectionString(gConnectString);
        gConn->setConnectionTimeout(120);
        gConn->Open();
        // An Access installation not yet brought over: its files can be read, never written.
        if (gConn->isJetFile()) {
            gConn->Close();
            throw ado::JetError::jetFileAsManager(
                ado::ConnectionString(gConnectString).value(QStringLiteral("Data Source")).trimmed());
        }
        return 1;
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Open_Connect():"), e);
        return 0;
    }
}

// ADO's error for a recordset that has no usable connection.
RuntimeError connectionUnusable() {
    return RuntimeError(3709, QStringLiteral("连接无法用于执行此操作。在此上下文中它可能已被关闭或无效。"));
}

void Open_Recordset(ado::Recordset& rs, const QString& sql) {
    rs = ado::Recordset();
    ado::Connection* active = nullptr;
    try {
        ado::Connection& conn = SharedConn();
        if (conn.State() != ado::adStateOpen)
            throw connectionUnusable();
        active = &conn;
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Open_Recordset():"), e);
    }
    // From here on it is the caller's own open, under the caller's own trap.
    if (!active)
        throw connectionUnusable();
    rs.Open(sql, *active);
}

ado::Connection& SharedConn() {
    if (!gConn)
        throw RuntimeError(RuntimeError::ObjectNotSet);
    return *gConn;
}

void Close_Recordset(ado::Recordset& rs) {
    try {
        if (rs.State() != 0)
            rs.Close();
    } catch (...) {
    }
    rs = ado::Recordset();
}

void Close_Connect() {
    try {
        if (gConn)
            gConn->Close();
    } catch (...) {
    }
    gConn.reset();
}

QString Get_ZtConnectString(const QString& name, const QString& base) {
    if (gDBType == kAccess) {
        QString cs = base;
        return cs.replace(QStringLiteral("KXPUB.MDB"), name + QStringLiteral(".MDB"), Qt::CaseSensitive);
    }
    const qsizetype key = base.indexOf(kCatalogKey, 0, Qt::CaseInsensitive);
    if (key < 0) {
        // Only a server-supplied string can lack the text, by writing blanks around the key or
        // the "=", or by having no catalog at all. The login's default database is never the
        // set's own: every item that names the catalog gets the set's name, and a string without
        // one gets the item.
        QStringList items = base.split(QLatin1Char(';'));
        bool named = false;
        for (QString& item : items) {
            const qsizetype eq = item.indexOf(QLatin1Char('='));
            if (eq >= 0 &&
                item.left(eq).trimmed().compare(kCatalogKey.chopped(1), Qt::CaseInsensitive) == 0) {
                item = item.left(eq + 1) + name;
                named = true;
            }
        }
        if (named)
            return items.join(QLatin1Char(';'));
        const QString sep =
            base.endsWith(QLatin1Char(';')) || base.isEmpty() ? QString() : QStringLiteral(";");
        return base + sep + kCatalogKey + name;
    }
    const qsizetype valueStart = key + kCatalogKey.size();
    const qsizetype rest = base.indexOf(QLatin1Char(';'), valueStart);
    if (rest < 0)
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    return base.left(valueStart) + name + base.mid(rest);
}

}  // namespace ztgl
