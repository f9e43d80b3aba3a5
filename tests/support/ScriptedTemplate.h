#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "ScriptedServer.h"
#include "ado/Catalog.h"

namespace ztgl::test {

// A stand-in for the embedded engine that holds one template database: its catalogue (tables,
// columns with their provider properties, keys) and the rows of each table. While it is
// installed every connection of the Jet kind talks to it. "Select * From T" returns T's rows
// with its columns as fields; every other statement fails, as does a query on a table it does
// not hold. Queries, opens and catalogue reads are counted as ScriptedServer counts them.
class ScriptedTemplate : public ScriptedServer {
public:
    ScriptedTemplate() : ScriptedServer(ado::EngineKind::Jet) {
        failOn(QStringLiteral("^(?!Select \\* From )"), -2147217900, QStringLiteral("模板只读"));
        failOn(QStringLiteral("^Select \\* From "), 3078, QStringLiteral("找不到输入表或查询。"));
    }

    // A column as the embedded engine reports it: properties "Autoincrement", "Default" (only
    // when `defaultValue` is valid), "Nullable".
    static ado::CatalogColumn column(const QString& name, int type, qint64 size = 0, bool nullable = true,
                                     const QVariant& defaultValue = QVariant()) {
        ado::CatalogColumn c{name, type, size, {{QStringLiteral("Autoincrement"), false}}};
        if (defaultValue.isValid())
            c.properties.push_back({QStringLiteral("Default"), defaultValue});
        c.properties.push_back({QStringLiteral("Nullable"), nullable});
        return c;
    }

    // The table's query answers before the rule for tables it does not hold (the last one).
    void addTable(const QString& name, const QVector<ado::CatalogColumn>& columns,
                  const QString& type = QStringLiteral("TABLE")) {
        catalog.tables.push_back({name, type, columns, {}});
        ado::RowSet rs;
        for (const auto& c : columns)
            rs.fields.push_back({c.name, c.type, c.definedSize});
        m_rules.insert(m_rules.size() - 1, {selectAll(name), {}, rs});
    }
    void addKey(const QString& table, const QString& keyName, int keyType, const QStringList& columns) {
        for (auto& t : catalog.tables)
            if (t.name.compare(table, Qt::CaseInsensitive) == 0)
                t.keys.push_back({keyName, keyType, columns});
    }
    void setRows(const QString& table, const QVector<QVector<QVariant>>& rows) {
        for (auto& r : m_rules)
            if (!r.failure && r.pattern.match(QStringLiteral("Select * From ") + table).hasMatch())
                r.rows.rows = rows;
    }
    // Queries on `table` fail with this text.
    void failQueryOn(const QString& table, const QString& text = QStringLiteral("找不到表")) {
        m_rules.prepend({selectAll(table), RuntimeError(3078, text), {}});
    }
    // Opening fails (the template cannot be read).
    void failOpen(const QString& text) { m_openFailures.push_back({re({}), RuntimeError(3024, text), {}}); }

private:
    static QRegularExpression selectAll(const QString& table) {
        return re(QStringLiteral("^Select \\* From ") + QRegularExpression::escape(table) + '$');
    }
};

}  // namespace ztgl::test
