#include "ado/Backend.h"

#include <map>

namespace ado {
namespace {
std::map<EngineKind, BackendFactory>& factories() {
    static std::map<EngineKind, BackendFactory> f;
    return f;
}
}  // namespace

EngineKind engineForProvider(const QString& provider) {
    const QString p = provider.trimmed().toUpper();
    if (p == QLatin1String("MICROSOFT.JET.OLEDB.4.0") || p.startsWith(QLatin1String("MICROSOFT.ACE.OLEDB.")))
        return EngineKind::Jet;
    if (p == QLatin1String("SQLOLEDB") || p == QLatin1String("SQLOLEDB.1") || p.startsWith(QLatin1String("SQLNCLI")) ||
        p.startsWith(QLatin1String("MSOLEDBSQL")))
        return EngineKind::SqlServer;
    return EngineKind::Unknown;
}

void setBackendFactory(EngineKind kind, BackendFactory factory) {
    if (factory)
        factories()[kind] = std::move(factory);
    else
        factories().erase(kind);
}

std::unique_ptr<Backend> createBackend(EngineKind kind) {
    auto it = factories().find(kind);
    if (it != factories().end()) return it->second();
    switch (kind) {
        case EngineKind::Jet: return createJetBackend();
        case EngineKind::JetFile: return createJetFileBackend();
        case EngineKind::SqlServer: return createOdbcBackend();
        case EngineKind::Unknown: break;
    }
    return nullptr;
}

}  // namespace ado
