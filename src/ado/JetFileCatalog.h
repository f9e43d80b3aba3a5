#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include "ado/Catalog.h"
#include "ado/JetFileWire.h"

namespace ado {

// The catalogue of a Jet file as the engine shows every catalogue (see JetCatalog):
// - its tables (system tables included; queries and linked tables, which hold no rows of this file, left
//   out) in the same order, "SYSTEM TABLE" for the tables Jet flags as its own, "TABLE" otherwise;
// - columns in their order with the ADO type and size of their Jet type name (jetTypeName), and the
//   properties "Autoincrement", "Default" (the text as Jet stores it, only when there is one) and
//   "Nullable" (false when the column is Required, belongs to the primary key or is a counter, which Jet
//   always fills);
// - keys: the primary key (the index Jet marks as primary), then the foreign keys (the relationships that
//   Jet enforces, from MSysRelationships, on the table that holds the foreign columns), then the unique
//   indexes, each group sorted by name.
class JetFileCatalog {
public:
    // `relationships`: the rows of MSysRelationships with its columns in `relationshipColumns`.
    static CatalogData build(const QVector<JetFileTable>& tables, const JetFileHeader& header,
                             const QVector<JetFileColumn>& relationshipColumns,
                             const QVector<QVector<QVariant>>& relationships);
    // The column's type in Jet's DDL: TEXT(n) (characters), MEMO, BYTE, SHORT, LONG, COUNTER, SINGLE, DOUBLE,
    // CURRENCY, DATETIME, BIT, GUID, DECIMAL(p,s), VARBINARY(n), LONGBINARY.
    static QString jetTypeName(const JetFileColumn& column, const JetFileHeader& header);
};

}  // namespace ado
