#include "ado/JetFileCatalog.h"

#include <QMap>
#include <algorithm>

#include "ado/DataType.h"
#include "ado/JetCatalog.h"
#include "ado/JetTypes.h"

namespace ado {
namespace {

// MSysRelationships.grbit: the relationship is only drawn, Jet does not enforce it; changes of the parent's
// key go on to the children; deleting a parent deletes its children.
constexpr int kNotEnforced = 0x2;
constexpr int kCascadeUpdate = 0x100;
constexpr int kCascadeDelete = 0x1000;

struct Link {
    int order;
    int flags;
    QString child, childColumn, parent, parentColumn;
};

// The foreign keys of every table: relationship name → its columns, ordered by their place in the key.
QMap<QString, QVector<Link>> foreignKeys(const QVector<JetFileColumn>& columns,
                                         const QVector<QVector<QVariant>>& rows) {
    const auto at = [&](const char* name) {
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    };
    const int name = at("szRelationship"), flags = at("grbit"), order = at("icolumn"), child = at("szObject"),
              column = at("szColumn"), parent = at("szReferencedObject"),
              parentColumn = at("szReferencedColumn");
    QMap<QString, QVector<Link>> out;
    if (name < 0 || flags < 0 || order < 0 || child < 0 || column < 0 || parent < 0 || parentColumn < 0)
        return out;
    for (const auto& r : rows) {
        const int f = r.value(flags).toInt();
        if (f & kNotEnforced)
            continue;
        out[r.value(name).toString()].append({r.value(order).toInt(), f, r.value(child).toString(),
                                              r.value(column).toString(), r.value(parent).toString(),
                                              r.value(parentColumn).toString()});
    }
    for (auto& links : out)
        std::sort(links.begin(), links.end(), [](const Link& a, const Link& b) { return a.order < b.order; });
    return out;
}

}  // namespace

QString JetFileCatalog::jetTypeName(const JetFileColumn& c, const JetFileHeader& header) {
    switch (c.type) {
        case JetBool:
            return QStringLiteral("BIT");
        case JetByte:
            return QStringLiteral("BYTE");
        case JetInt:
            return QStringLiteral("SHORT");
        case JetLong:
        case JetComplex:
            return c.autoNumber ? QStringLiteral("COUNTER") : QStringLiteral("LONG");
        case JetMoney:
            return QStringLiteral("CURRENCY");
        case JetFloat:
            return QStringLiteral("SINGLE");
        case JetDouble:
            return QStringLiteral("DOUBLE");
        case JetDateTime:
            return QStringLiteral("DATETIME");
        case JetBinary:
            return QStringLiteral("VARBINARY(%1)").arg(c.size);
        // Jet 4 keeps the size of a text column in bytes, two to a character.
        case JetText:
            return QStringLiteral("TEXT(%1)").arg(header.version == 0 ? c.size : c.size / 2);
        case JetOle:
            return QStringLiteral("LONGBINARY");
        case JetMemo:
            return QStringLiteral("MEMO");
        case JetRepId:
            return QStringLiteral("GUID");
        case JetNumeric:
            return QStringLiteral("DECIMAL(%1,%2)").arg(c.precision).arg(c.scale);
        default:
            return QStringLiteral("LONGBINARY");  // a type this reader does not know: its bytes
    }
}

CatalogData JetFileCatalog::build(const QVector<JetFileTable>& tables, const JetFileHeader& header,
                                  const QVector<JetFileColumn>& relationshipColumns,
                                  const QVector<QVector<QVariant>>& relationships) {
    const auto byName = [](const CatalogKey& a, const CatalogKey& b) {
        return JetCatalog::lessByName(a.name, b.name);
    };
    const auto links = foreignKeys(relationshipColumns, relationships);
    CatalogData data;
    for (const JetFileTable& t : tables) {
        CatalogTable out;
        out.name = t.name;
        out.type = t.system ? QStringLiteral("SYSTEM TABLE") : QStringLiteral("TABLE");
        QStringList primary;
        QVector<CatalogKey> unique;
        for (const JetFileIndex& x : t.indexes) {
            if (x.kind == 1 && primary.isEmpty() && !x.columns.isEmpty()) {
                primary = x.columns;
                out.keys.append({x.name, adKeyPrimary, x.columns});
            } else if (x.kind == 0 && x.unique && !x.columns.isEmpty()) {
                unique.append({x.name, adKeyUnique, x.columns});
            }
        }
        QVector<CatalogKey> foreign;
        for (auto it = links.begin(); it != links.end(); ++it) {
            if (it->first().child.compare(t.name, Qt::CaseInsensitive) != 0)
                continue;
            CatalogKey k(it.key(), adKeyForeign, {});
            k.relatedTable = it->first().parent;
            k.cascadeUpdate = it->first().flags & kCascadeUpdate;
            k.cascadeDelete = it->first().flags & kCascadeDelete;
            for (const Link& l : *it) {
                k.columns << l.childColumn;
                k.relatedColumns << l.parentColumn;
            }
            foreign.append(k);
        }
        std::stable_sort(foreign.begin(), foreign.end(), byName);
        std::stable_sort(unique.begin(), unique.end(), byName);
        out.keys += foreign;
        out.keys += unique;
        for (const JetFileColumn& c : t.columns) {
            CatalogColumn col;
            col.name = c.name;
            const JetColumnType type = JetTypes::fromDeclared(jetTypeName(c, header));
            col.type = type.type;
            col.definedSize = type.definedSize;
            col.properties.append({QStringLiteral("Autoincrement"), type.autoIncrement});
            if (!c.defaultValue.isEmpty())
                col.properties.append({QStringLiteral("Default"), c.defaultValue});
            const bool required = c.required.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
            const bool inPrimary = primary.contains(c.name, Qt::CaseInsensitive);
            col.properties.append(
                {QStringLiteral("Nullable"), !required && !inPrimary && !type.autoIncrement});
            out.columns.append(col);
        }
        data.tables.append(out);
    }
    std::sort(data.tables.begin(), data.tables.end(), [](const CatalogTable& a, const CatalogTable& b) {
        return JetCatalog::lessByName(a.name, b.name);
    });
    return data;
}

}  // namespace ado
