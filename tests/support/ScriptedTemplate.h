#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

#include "ado/Backend.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {

// A stand-in for the embedded engine that holds one template database: its catalogue (tables,
// columns with their provider properties, keys) and the rows of each table. While it is
// installed every connection of the Jet kind talks to it. "Select * From T" returns T's rows
// with its columns as fields; it counts opens and catalogue reads.
class ScriptedTemplate {
public:
    ScriptedTemplate();
    ~ScriptedTemplate() { ado::setBackendFactory(ado::EngineKind::Jet, nullptr); }
    ScriptedTemplate(const ScriptedTemplate&) = delete;
    ScriptedTemplate& operator=(const ScriptedTemplate&) = delete;

    // A column as the embedded engine reports it: properties "Autoincrement", "Default" (only
    // when `defaultValue` is valid), "Nullable".
    static ado::CatalogColumn column(const QString& name, int type, qint64 size = 0, bool nullable = true,
                                     const QVariant& defaultValue = QVariant()) {
        ado::CatalogColumn c;
        c.name = name;
        c.type = type;
        c.definedSize = size;
        c.properties.push_back({QStringLiteral("Autoincrement"), false});
        if (defaultValue.isValid())
            c.properties.push_back({QStringLiteral("Default"), defaultValue});
        c.properties.push_back({QStringLiteral("Nullable"), nullable});
        return c;
    }

    void addTable(const QString& name, const QVector<ado::CatalogColumn>& columns,
                  const QString& type = QStringLiteral("TABLE")) {
        ado::CatalogTable t;
        t.name = name;
        t.type = type;
        t.columns = columns;
        m_catalog.tables.push_back(t);
    }
    void addKey(const QString& table, const QString& keyName, int keyType, const QStringList& columns) {
        if (ado::CatalogTable* t = find(table))
            t->keys.push_back({keyName, keyType, columns});
    }
    void setRows(const QString& table, const QVector<QVector<QVariant>>& rows) {
        m_rows.push_back({table, rows});
    }
    // Queries on `table` fail with this text.
    void failQueryOn(const QString& table, const QString& text = QStringLiteral("找不到表")) {
        m_failingTables << table;
        m_failText = text;
    }
    // Opening fails (the template cannot be read).
    void failOpen(const QString& text) { m_openFailure = text; }

    int opens = 0;
    int catalogReads = 0;
    QStringList queries;

private:
    friend class ScriptedTemplateBackend;
    ado::CatalogTable* find(const QString& table) {
        for (auto& t : m_catalog.tables)
            if (t.name.compare(table, Qt::CaseInsensitive) == 0)
                return &t;
        return nullptr;
    }
    ado::CatalogData m_catalog;
    QVector<QPair<QString, QVector<QVector<QVariant>>>> m_rows;
    QStringList m_failingTables;
    QString m_failText;
    QString m_openFailure;
};

class ScriptedTemplateBackend final : public ado::Backend {
public:
    explicit ScriptedTemplateBackend(ScriptedTemplate& t) : m_t(t) {}

    void open(const ado::ConnectionString&, int) override {
        ++m_t.opens;
        if (!m_t.m_openFailure.isEmpty())
            throw RuntimeError(3024, m_t.m_openFailure);
    }
    void close() override {}
    qint64 execute(const QString& sql) override {
        throw RuntimeError(-2147217900, QStringLiteral("模板只读：") + sql);
    }
    ado::RowSet query(const QString& sql) override {
        m_t.queries << sql;
        static const QString prefix = QStringLiteral("Select * From ");
        if (!sql.startsWith(prefix))
            throw RuntimeError(-2147217900, QStringLiteral("不支持的查询：") + sql);
        const QString name = sql.mid(prefix.size());
        if (m_t.m_failingTables.contains(name, Qt::CaseInsensitive))
            throw RuntimeError(3078, m_t.m_failText);
        const ado::CatalogTable* table = m_t.find(name);
        if (!table)
            throw RuntimeError(3078, QStringLiteral("找不到输入表或查询“%1”。").arg(name));
        ado::RowSet rs;
        for (const auto& c : table->columns)
            rs.fields.push_back({c.name, c.type, c.definedSize});
        for (const auto& r : m_t.m_rows)
            if (r.first.compare(name, Qt::CaseInsensitive) == 0)
                rs.rows = r.second;
        return rs;
    }
    ado::CatalogData readCatalog() override {
        ++m_t.catalogReads;
        return m_t.m_catalog;
    }
    void beginTrans() override {}
    void commitTrans() override {}
    void rollbackTrans() override {}

private:
    ScriptedTemplate& m_t;
};

inline ScriptedTemplate::ScriptedTemplate() {
    ado::setBackendFactory(ado::EngineKind::Jet,
                           [this] { return std::make_unique<ScriptedTemplateBackend>(*this); });
}

}  // namespace ztgl::test
