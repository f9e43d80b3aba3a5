#include "ScriptedServer.h"

#include "ado/DataType.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {

class ScriptedBackend final : public ado::Backend {
public:
    explicit ScriptedBackend(ScriptedServer& s) : m_server(s) {}

    void open(const ado::ConnectionString& cs, int) override {
        m_server.calls.push_back({ScriptedServer::Call::Open, cs.text()});
        for (const auto& r : m_server.m_openFailures)
            if (r.pattern.match(cs.text()).hasMatch()) throw RuntimeError(r.number, r.text);
    }
    void close() override { m_server.calls.push_back({ScriptedServer::Call::Close, QString()}); }
    qint64 execute(const QString& sql) override {
        record(ScriptedServer::Call::Execute, sql);
        const auto* r = match(sql);
        if (r && r->fail) throw RuntimeError(r->number, r->text);
        return -1;
    }
    ado::RowSet query(const QString& sql) override {
        record(ScriptedServer::Call::Query, sql);
        const auto* r = match(sql);
        if (r && r->fail) throw RuntimeError(r->number, r->text);
        return r ? r->rows : ado::RowSet();
    }
    ado::CatalogData readCatalog() override { return {}; }
    void beginTrans() override { m_server.calls.push_back({ScriptedServer::Call::Begin, QString()}); }
    void commitTrans() override { m_server.calls.push_back({ScriptedServer::Call::Commit, QString()}); }
    void rollbackTrans() override { m_server.calls.push_back({ScriptedServer::Call::Rollback, QString()}); }

private:
    void record(ScriptedServer::Call::Kind kind, const QString& sql) {
        for (const auto& pattern : m_server.m_ignored)
            if (pattern.match(sql).hasMatch())
                return;
        m_server.calls.push_back({kind, sql});
    }
    const ScriptedServer::Rule* match(const QString& sql) const {
        for (const auto& r : m_server.m_rules)
            if (r.pattern.match(sql).hasMatch()) return &r;
        return nullptr;
    }
    ScriptedServer& m_server;
};

ScriptedServer::ScriptedServer(ado::EngineKind kind) : m_kind(kind) {
    ado::setBackendFactory(kind, [this] { return std::make_unique<ScriptedBackend>(*this); });
}

ScriptedServer::~ScriptedServer() { ado::setBackendFactory(m_kind, nullptr); }

void ScriptedServer::onQuery(const QString& pattern, const ado::RowSet& rows) {
    Rule r;
    r.pattern = QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
    r.rows = rows;
    m_rules.push_back(r);
}

void ScriptedServer::failOn(const QString& pattern, int number, const QString& text) {
    Rule r;
    r.pattern = QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
    r.fail = true;
    r.number = number;
    r.text = text;
    m_rules.push_back(r);
}

void ScriptedServer::ignore(const QString& pattern) {
    m_ignored.push_back(QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption));
}

void ScriptedServer::failOpen(const QString& pattern, const QString& text) {
    Rule r;
    r.pattern = QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption);
    r.fail = true;
    r.number = RuntimeError::DatabaseError;
    r.text = text;
    m_openFailures.push_back(r);
}

ado::RowSet ScriptedServer::rows(const QStringList& columns, const QVector<QVector<QVariant>>& values) {
    ado::RowSet rs;
    for (int c = 0; c < columns.size(); ++c) {
        ado::FieldInfo f;
        f.name = columns[c];
        f.type = ado::adVarWChar;
        for (const auto& row : values) {
            const QVariant& v = row.value(c);
            if (!v.isValid() || v.isNull()) continue;
            switch (v.typeId()) {
                case QMetaType::Int: f.type = ado::adInteger; break;
                case QMetaType::LongLong: f.type = ado::adBigInt; break;
                case QMetaType::Double: f.type = ado::adDouble; break;
                case QMetaType::Bool: f.type = ado::adBoolean; break;
                case QMetaType::QDateTime: f.type = ado::adDate; break;
                default: f.type = ado::adVarWChar; break;
            }
            break;
        }
        rs.fields.push_back(f);
    }
    rs.rows = values;
    return rs;
}

QStringList ScriptedServer::executed() const {
    QStringList out;
    for (const auto& c : calls)
        if (c.kind == Call::Execute) out << c.text;
    return out;
}

QStringList ScriptedServer::queries() const {
    QStringList out;
    for (const auto& c : calls)
        if (c.kind == Call::Query) out << c.text;
    return out;
}

QStringList ScriptedServer::opened() const {
    QStringList out;
    for (const auto& c : calls)
        if (c.kind == Call::Open) out << c.text;
    return out;
}

}  // namespace ztgl::test
