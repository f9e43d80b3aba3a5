#include "ado/Catalog.h"

#include "ado/Connection.h"

namespace ado {

QVariant CatalogColumn::property(const QString& name) const {
    for (const auto& p : properties)
        if (p.first == name)
            return p.second;
    return QVariant();
}

bool CatalogColumn::hasProperty(const QString& name) const {
    for (const auto& p : properties)
        if (p.first == name)
            return true;
    return false;
}

void Catalog::Open(const QString& connectionString) {
    Connection conn;
    conn.setConnectionString(connectionString);
    conn.Open();
    m_data = conn.readCatalog();
    conn.Close();
}

const CatalogTable* Catalog::table(const QString& name) const {
    for (const auto& t : m_data.tables)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

}  // namespace ado
