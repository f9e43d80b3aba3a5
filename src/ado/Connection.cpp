#include "ado/Connection.h"

#include "ado/DatabaseFormat.h"
#include "platform/RuntimeError.h"

namespace ado {

using ztgl::RuntimeError;

Connection::Connection() = default;

Connection::~Connection() {
    try {
        Close();
    } catch (...) {
    }
}

void Connection::Open() {
    if (m_backend) throw RuntimeError(3705, QStringLiteral("对象打开时，不允许操作。"));
    const ConnectionString cs(m_connectionString);
    EngineKind kind = engineForProvider(cs.provider());
    if (kind == EngineKind::Jet &&
        DatabaseFormat::isJet(DatabaseFormat::of(cs.value(QStringLiteral("Data Source")).trimmed())))
        kind = EngineKind::JetFile;
    if (kind == EngineKind::Unknown)
        throw RuntimeError(3706, QStringLiteral("未找到提供程序“%1”。该程序可能未正确安装。").arg(cs.provider()));
    auto backend = createBackend(kind);
    if (!backend) throw RuntimeError(3706, QStringLiteral("未找到提供程序“%1”。").arg(cs.provider()));
    backend->open(cs, m_timeout);
    m_backend = std::move(backend);
}

void Connection::Close() {
    if (!m_backend) return;
    auto backend = std::move(m_backend);
    backend->close();
}

Backend& Connection::backend() {
    if (!m_backend) throw RuntimeError(3704, QStringLiteral("对象关闭时，不允许操作。"));
    return *m_backend;
}

qint64 Connection::Execute(const QString& sql) { return backend().execute(sql); }

RowSet Connection::query(const QString& sql) { return backend().query(sql); }

CatalogData Connection::readCatalog() { return backend().readCatalog(); }

bool Connection::isJetFile() const { return m_backend && m_backend->isJetFile(); }

void Connection::BeginTrans() { backend().beginTrans(); }

void Connection::CommitTrans() { backend().commitTrans(); }

void Connection::RollbackTrans() { backend().rollbackTrans(); }

}  // namespace ado
