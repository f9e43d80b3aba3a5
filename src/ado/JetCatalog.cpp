#include "ado/JetCatalog.h"

#include <algorithm>

#include "ado/DataType.h"
#include "ado/JetDdl.h"
#include "ado/JetLexer.h"
#include "ado/JetStatement.h"
#include "ado/JetTypes.h"

namespace ado {
namespace {

QString literal(const QString& text) {
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

bool sameColumns(const QStringList& a, const QStringList& b) {
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].compare(b[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

// Takes the first declared key of `kind` on these columns (and parent table) out of `declared`; its name,
// or "" when none was given.
QString takeDeclaredName(QVector<JetConstraint>* declared, JetConstraint::Kind kind,
                         const QStringList& columns, const QString& refTable = QString()) {
    for (int i = 0; i < declared->size(); ++i) {
        const JetConstraint& k = declared->at(i);
        if (k.kind != kind || !sameColumns(k.columns, columns))
            continue;
        if (kind == JetConstraint::Foreign && k.refTable.compare(refTable, Qt::CaseInsensitive) != 0)
            continue;
        const QString name = k.name;
        declared->remove(i);
        return name;
    }
    return QString();
}

struct Reader {
    sqlite3* db;
    QString file;

    QVector<QVector<QVariant>> rows(const QString& sql) const {
        JetStatement st(db, sql, file);
        QVector<QVector<QVariant>> out;
        while (st.step()) {
            QVector<QVariant> row;
            for (int i = 0; i < st.columnCount(); ++i)
                row.append(st.value(i));
            out.append(row);
        }
        return out;
    }

    void columns(CatalogTable* table, const QString& createSql) const {
        const bool withRowid = !createSql.contains(QLatin1String("WITHOUT ROWID"), Qt::CaseInsensitive);
        const auto info =
            rows(QStringLiteral("SELECT name, type, \"notnull\", dflt_value, pk FROM pragma_table_info(%1)")
                     .arg(literal(table->name)));
        int pkColumns = 0;
        for (const auto& r : info)
            if (r[4].toInt() > 0)
                ++pkColumns;
        QVector<QPair<int, QString>> primary;
        for (const auto& r : info) {
            CatalogColumn c;
            c.name = r[0].toString();
            const QString declared = r[1].toString();
            JetColumnType type = JetTypes::fromDeclared(declared);
            if (type.type == 0)
                type = JetTypes::fromValue(QVariant());
            c.type = type.type;
            c.definedSize = type.definedSize;
            // INTEGER PRIMARY KEY is the engine's row number, which is never Null.
            const bool rowNumber =
                withRowid && pkColumns == 1 && r[4].toInt() == 1 &&
                declared.trimmed().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            c.properties.append({QStringLiteral("Autoincrement"), type.autoIncrement});
            const QString def = JetCatalog::jetDefault(r[3].toString());
            if (!def.isEmpty())
                c.properties.append({QStringLiteral("Default"), def});
            const bool nullable = r[2].toInt() == 0 && !type.autoIncrement && !rowNumber;
            c.properties.append({QStringLiteral("Nullable"), nullable});
            if (r[4].toInt() > 0)
                primary.append({r[4].toInt(), c.name});
            table->columns.append(c);
        }
        std::sort(primary.begin(), primary.end());
        QVector<JetConstraint> declared = JetDdl::constraints(createSql);
        if (!primary.isEmpty()) {
            CatalogKey pk{QString(), adKeyPrimary, {}};
            for (const auto& p : primary)
                pk.columns.append(p.second);
            pk.name = takeDeclaredName(&declared, JetConstraint::Primary, pk.columns);
            if (pk.name.isEmpty())
                pk.name = QStringLiteral("PrimaryKey");
            table->keys.append(pk);
        }
        QVector<CatalogKey> foreign = foreignKeys(table->name, &declared);
        QVector<CatalogKey> unique = uniqueKeys(table->name, &declared);
        const auto byName = [](const CatalogKey& a, const CatalogKey& b) {
            return JetCatalog::lessByName(a.name, b.name);
        };
        std::stable_sort(foreign.begin(), foreign.end(), byName);
        std::stable_sort(unique.begin(), unique.end(), byName);
        table->keys += foreign;
        table->keys += unique;
    }

    QVector<CatalogKey> foreignKeys(const QString& table, QVector<JetConstraint>* declared) const {
        // id, seq, parent table, child column, parent column, rules; one id per relationship.
        const auto list =
            rows(QStringLiteral("SELECT id, seq, \"table\", \"from\", \"to\", on_update, on_delete "
                                "FROM pragma_foreign_key_list(%1) ORDER BY id, seq")
                     .arg(literal(table)));
        QVector<CatalogKey> out;
        int id = -1;
        for (const auto& r : list) {
            if (r[0].toInt() != id) {
                id = r[0].toInt();
                CatalogKey k(QString(), adKeyForeign, {});
                k.relatedTable = r[2].toString();
                k.cascadeUpdate = r[5].toString() == QLatin1String("CASCADE");
                k.cascadeDelete = r[6].toString() == QLatin1String("CASCADE");
                out.append(k);
            }
            out.last().columns.append(r[3].toString());
            out.last().relatedColumns.append(r[4].toString());
        }
        for (auto& k : out) {
            k.name = takeDeclaredName(declared, JetConstraint::Foreign, k.columns, k.relatedTable);
            if (k.name.isEmpty())
                k.name = k.relatedTable + table;  // Jet's default: parent + child
        }
        return out;
    }

    QVector<CatalogKey> uniqueKeys(const QString& table, QVector<JetConstraint>* declared) const {
        QVector<CatalogKey> out;
        const auto indexes = rows(
            QStringLiteral("SELECT name, \"unique\", origin FROM pragma_index_list(%1)").arg(literal(table)));
        for (const auto& ix : indexes) {
            if (ix[1].toInt() == 0 || ix[2].toString() == QLatin1String("pk"))
                continue;
            CatalogKey k{ix[0].toString(), adKeyUnique, {}};
            const auto cols = rows(
                QStringLiteral("SELECT name FROM pragma_index_info(%1) ORDER BY seqno").arg(literal(k.name)));
            for (const auto& c : cols)
                k.columns.append(c[0].toString());
            if (ix[2].toString() == QLatin1String("u")) {
                // A UNIQUE clause: the engine's index name is its own; show the clause's name.
                k.name = takeDeclaredName(declared, JetConstraint::Unique, k.columns);
                if (k.name.isEmpty())
                    k.name = QStringLiteral("UQ_%1_%2").arg(table, k.columns.join(QLatin1Char('_')));
            }
            out.append(k);
        }
        return out;
    }
};

}  // namespace

CatalogData JetCatalog::read(sqlite3* db, const QString& file) {
    const Reader reader{db, file};
    CatalogData data;
    const auto objects = reader.rows(
        QStringLiteral("SELECT name, type, sql FROM sqlite_master WHERE type IN ('table', 'view') "
                       "AND lower(substr(name, 1, 7)) <> 'sqlite_'"));
    for (const auto& o : objects) {
        CatalogTable t;
        t.name = o[0].toString();
        if (o[1].toString() == QLatin1String("view"))
            t.type = QStringLiteral("VIEW");
        else if (t.name.startsWith(QLatin1String("MSys"), Qt::CaseInsensitive))
            t.type = QStringLiteral("SYSTEM TABLE");
        else
            t.type = QStringLiteral("TABLE");
        reader.columns(&t, o[2].toString());
        data.tables.append(t);
    }
    std::sort(data.tables.begin(), data.tables.end(), [](const CatalogTable& a, const CatalogTable& b) {
        return JetCatalog::lessByName(a.name, b.name);
    });
    return data;
}

bool JetCatalog::lessByName(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

QString JetCatalog::jetDefault(const QString& engineDefault) {
    QString s = engineDefault.trimmed();
    for (;;) {
        const QVector<JetToken> t = JetLexer::tokenize(s);
        if (t.size() < 2 || !t.first().isSymbol('(') || JetLexer::closingParen(t, 0) != t.size() - 1)
            break;
        s = s.mid(1, t.last().start - 1).trimmed();
    }
    if (s.isEmpty() || s.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
        return QString();
    const QVector<JetToken> t = JetLexer::tokenize(s);
    if (t.size() == 1 && t[0].kind == JetToken::Text && t[0].end == s.size() &&
        s.endsWith(QLatin1Char('\''))) {
        QString inner = s.mid(1, s.size() - 2);
        inner.replace(QStringLiteral("''"), QStringLiteral("'"));
        inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        return QLatin1Char('"') + inner + QLatin1Char('"');
    }
    return s;
}

}  // namespace ado
