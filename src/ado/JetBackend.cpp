// Placeholder until the embedded engine lands.
#include "ado/Backend.h"
#include "platform/RuntimeError.h"

namespace ado {
std::unique_ptr<Backend> createJetBackend() {
    throw ztgl::RuntimeError(3706, QStringLiteral("嵌入式数据库引擎不可用"));
}
}  // namespace ado
