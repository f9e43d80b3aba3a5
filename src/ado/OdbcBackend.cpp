#include "ado/OdbcBackend.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include "ado/OdbcConnectionString.h"
#include "ado/OdbcDiagnostics.h"
#include "ado/OdbcDriverChoice.h"
#include "ado/OdbcTypeMap.h"
#include "platform/RuntimeError.h"

namespace ado {
namespace {

using ztgl::RuntimeError;

// ADO's numbers: a connection that fails, and a statement the server refuses.
constexpr int kConnectFailed = RuntimeError::DatabaseError;
constexpr int kStatementFailed = -2147217900;
constexpr int kProviderMissing = 3706;
constexpr int kClosed = 3704;
constexpr int kNotSupported = 3251;

QString uniqueConnectionName() {
    static QAtomicInt counter;
    return QStringLiteral("ztgl-odbc-%1").arg(counter.fetchAndAddRelaxed(1));
}

}  // namespace

OdbcBackend::OdbcBackend() = default;

OdbcBackend::~OdbcBackend() {
    close();
}

QSqlDatabase OdbcBackend::database() const {
    if (m_name.isEmpty())
        throw RuntimeError(kClosed, QStringLiteral("对象关闭时，不允许操作。"));
    return QSqlDatabase::database(m_name, false);
}

void OdbcBackend::fail(const QSqlError& error) const {
    throw RuntimeError(kStatementFailed, OdbcDiagnostics::text(error));
}

void OdbcBackend::open(const ConnectionString& cs, int timeoutSeconds) {
    close();
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")))
        throw RuntimeError(kProviderMissing, QStringLiteral("Qt 的 ODBC 数据库驱动 (QODBC) 没有安装。"));
    const QString driver = OdbcDriverChoice::current();
    const QString name = uniqueConnectionName();
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(OdbcConnectionString::translate(cs, driver));
        // Without a login time-out a server that accepts and never answers would hold the open for
        // ever; the request time-out keeps any later statement from doing the same.
        db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%2")
                                 .arg(OdbcConnectionString::loginTimeout(cs, timeoutSeconds))
                                 .arg(kRequestTimeout));
        if (!db.open()) {
            const QString server = cs.value(QStringLiteral("Data Source")).trimmed();
            failure = QStringLiteral("无法连接到 SQL Server 服务器“%1”：%2")
                          .arg(server, OdbcDiagnostics::text(db.lastError()));
        }
    }
    if (!failure.isEmpty()) {
        QSqlDatabase::removeDatabase(name);
        throw RuntimeError(kConnectFailed, failure);
    }
    m_name = name;
}

void OdbcBackend::close() {
    if (m_name.isEmpty())
        return;
    const QString name = m_name;
    m_name.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

qint64 OdbcBackend::execute(const QString& sql) {
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.exec(sql))
        fail(q.lastError());
    const qint64 affected = q.numRowsAffected();
    q.finish();
    return affected;
}

RowSet OdbcBackend::query(const QString& sql) {
    QSqlQuery q(database());
    q.setForwardOnly(true);
    // Decimals arrive as text, so no digit is lost before they are typed.
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    if (!q.exec(sql))
        fail(q.lastError());

    RowSet rows;
    const QSqlRecord record = q.record();
    QVector<int> scales;
    for (int i = 0; i < record.count(); ++i) {
        // typeID() is the column's ODBC SQL type; Qt reports a size or scale of 0 as -1.
        const QSqlField f = record.field(i);
        const int scale = qMax(0, f.precision());
        rows.fields.append(OdbcTypeMap::fieldInfo(f.name(), f.typeID(), qMax(0, f.length()), scale));
        scales.append(scale);
    }
    while (q.next()) {
        QVector<QVariant> row;
        row.reserve(rows.fields.size());
        for (int i = 0; i < rows.fields.size(); ++i)
            row.append(OdbcTypeMap::value(q.value(i), rows.fields[i], scales[i]));
        rows.rows.append(row);
    }
    if (q.lastError().isValid())
        fail(q.lastError());
    q.finish();
    return rows;
}

CatalogData OdbcBackend::readCatalog() {
    throw RuntimeError(kNotSupported,
                       QStringLiteral("SQL Server 引擎不提供数据库目录（表、列和键的结构）。"));
}

void OdbcBackend::beginTrans() {
    QSqlDatabase db = database();
    if (!db.transaction())
        fail(db.lastError());
}

void OdbcBackend::commitTrans() {
    QSqlDatabase db = database();
    if (!db.commit())
        fail(db.lastError());
}

void OdbcBackend::rollbackTrans() {
    QSqlDatabase db = database();
    if (!db.rollback())
        fail(db.lastError());
}

std::unique_ptr<Backend> createOdbcBackend() {
    return std::make_unique<OdbcBackend>();
}

}  // namespace ado
