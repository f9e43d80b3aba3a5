// Placeholder until the ODBC engine lands.
#include "ado/Backend.h"
#include "platform/RuntimeError.h"

namespace ado {
std::unique_ptr<Backend> createOdbcBackend() {
    throw ztgl::RuntimeError(3706, QStringLiteral("SQL Server 驱动不可用"));
}
}  // namespace ado
