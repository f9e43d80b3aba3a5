#include "creation/TargetConnection.h"

#include "ado/Connection.h"
#include "platform/RuntimeError.h"

namespace ztgl {

TargetConnection::TargetConnection() = default;

TargetConnection::~TargetConnection() {
    try {
        Close();
    } catch (...) {
    }
}

void TargetConnection::Open(const QString& connectString) {
    Close();
    m_connectString = connectString;
    m_conn = std::make_unique<ado::Connection>();
    m_conn->setConnectionString(connectString);
    m_conn->setConnectionTimeout(120);
    m_conn->Open();
}

void TargetConnection::Close() {
    auto conn = std::move(m_conn);
    if (conn)
        conn->Close();
}

bool TargetConnection::isOpen() const {
    return m_conn && m_conn->State() == ado::adStateOpen;
}

ado::Connection& TargetConnection::conn() {
    if (!isOpen())
        throw RuntimeError(3704, QStringLiteral("对象关闭时，不允许操作。"));
    return *m_conn;
}

}  // namespace ztgl
