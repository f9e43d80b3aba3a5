#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace ado {

// ADOX-like catalogue of one database, read once when opened.
struct CatalogColumn {
    QString name;
    int type = 0;            // DataTypeEnum
    qint64 definedSize = 0;
    // Provider properties in provider order, e.g. ("Nullable", true), ("Default", "\"abc\"").
    // A column without a default has no "Default" entry.
    QVector<QPair<QString, QVariant>> properties;
    QVariant property(const QString& name) const;  // invalid when absent
    bool hasProperty(const QString& name) const;
};

struct CatalogKey {
    CatalogKey() = default;
    CatalogKey(const QString& keyName, int keyType, const QStringList& keyColumns)
        : name(keyName), type(keyType), columns(keyColumns) {}
    QString name;
    int type = 0;            // KeyTypeEnum: 1 primary, 2 foreign, 3 unique
    QStringList columns;     // in key order
    // Foreign keys: the table and the columns they refer to, and whether changes to them cascade.
    QString relatedTable;
    QStringList relatedColumns;
    bool cascadeUpdate = false;
    bool cascadeDelete = false;
};

struct CatalogTable {
    QString name;
    QString type;            // "TABLE", "SYSTEM TABLE", "VIEW", ...
    QVector<CatalogColumn> columns;  // in column order
    QVector<CatalogKey> keys;        // in catalogue order
};

struct CatalogData {
    QVector<CatalogTable> tables;  // catalogue order, system tables included
};

class Catalog {
public:
    // Opens a connection on the connection string, reads the whole catalogue, closes it.
    // Throws ztgl::RuntimeError on failure.
    void Open(const QString& connectionString);
    const QVector<CatalogTable>& Tables() const { return m_data.tables; }
    // Table by name without regard to case; null when absent.
    const CatalogTable* table(const QString& name) const;

private:
    CatalogData m_data;
};

}  // namespace ado
