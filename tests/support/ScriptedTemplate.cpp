#include "ScriptedTemplate.h"

#include "platform/RuntimeError.h"

namespace ztgl::test {

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

ScriptedTemplate::ScriptedTemplate() {
    ado::setBackendFactory(ado::EngineKind::Jet,
                           [this] { return std::make_unique<ScriptedTemplateBackend>(*this); });
}

ScriptedTemplate::~ScriptedTemplate() {
    ado::setBackendFactory(ado::EngineKind::Jet, nullptr);
}

ado::CatalogColumn ScriptedTemplate::column(const QString& name, int type, qint64 size, bool nullable,
                                            const QVariant& defaultValue) {
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

void ScriptedTemplate::addTable(const QString& name, const QVector<ado::CatalogColumn>& columns,
                                const QString& type) {
    ado::CatalogTable t;
    t.name = name;
    t.type = type;
    t.columns = columns;
    m_catalog.tables.push_back(t);
}

void ScriptedTemplate::addKey(const QString& table, const QString& keyName, int keyType,
                              const QStringList& columns) {
    if (ado::CatalogTable* t = find(table))
        t->keys.push_back({keyName, keyType, columns});
}

void ScriptedTemplate::setRows(const QString& table, const QVector<QVector<QVariant>>& rows) {
    m_rows.push_back({table, rows});
}

void ScriptedTemplate::failQueryOn(const QString& table, const QString& text) {
    m_failingTables << table;
    m_failText = text;
}

ado::CatalogTable* ScriptedTemplate::find(const QString& table) {
    for (auto& t : m_catalog.tables)
        if (t.name.compare(table, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

}  // namespace ztgl::test
