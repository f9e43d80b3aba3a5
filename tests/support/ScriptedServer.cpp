#include "ScriptedServer.h"

#include <QHash>
#include <QMap>
#include <algorithm>

#include "ado/DataType.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {

class ScriptedBackend final : public ado::Backend {
    using Call = ScriptedServer::Call;

public:
    explicit ScriptedBackend(ScriptedServer& s) : m_server(s) {}

    void open(const ado::ConnectionString& cs, int) override {
        m_server.calls.push_back({Call::Open, cs.text()});
        for (const auto& r : m_server.m_openFailures)
            if (r.pattern.match(cs.text()).hasMatch())
                throw RuntimeError(r.number, r.text);
    }
    void close() override { m_server.calls.push_back({Call::Close, QString()}); }
    qint64 execute(const QString& sql) override {
        answer(Call::Execute, sql);
        return -1;
    }
    ado::RowSet query(const QString& sql) override { return answer(Call::Query, sql); }
    ado::CatalogData readCatalog() override { return {}; }
    void beginTrans() override { m_server.calls.push_back({Call::Begin, QString()}); }
    void commitTrans() override { m_server.calls.push_back({Call::Commit, QString()}); }
    void rollbackTrans() override { m_server.calls.push_back({Call::Rollback, QString()}); }

private:
    // Records the call (unless ignored) and answers by the first matching rule.
    ado::RowSet answer(Call::Kind kind, const QString& sql) {
        const auto matches = [&sql](const QRegularExpression& p) { return p.match(sql).hasMatch(); };
        if (std::none_of(m_server.m_ignored.begin(), m_server.m_ignored.end(), matches))
            m_server.calls.push_back({kind, sql});
        for (const auto& r : m_server.m_rules) {
            if (!matches(r.pattern))
                continue;
            if (r.fail)
                throw RuntimeError(r.number, r.text);
            return r.rows;
        }
        return {};
    }
    ScriptedServer& m_server;
};

ScriptedServer::ScriptedServer(ado::EngineKind kind) : m_kind(kind) {
    ado::setBackendFactory(kind, [this] { return std::make_unique<ScriptedBackend>(*this); });
}

ScriptedServer::~ScriptedServer() {
    ado::setBackendFactory(m_kind, nullptr);
}

ScriptedServer::Rule ScriptedServer::rule(const QString& pattern, bool fail, int number,
                                          const QString& text) {
    return {QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption), fail, number, text, {}};
}

void ScriptedServer::onQuery(const QString& pattern, const ado::RowSet& rows) {
    m_rules.push_back(rule(pattern));
    m_rules.back().rows = rows;
}

void ScriptedServer::failOn(const QString& pattern, int number, const QString& text) {
    m_rules.push_back(rule(pattern, true, number, text));
}

void ScriptedServer::ignore(const QString& pattern) {
    m_ignored.push_back(rule(pattern).pattern);
}

void ScriptedServer::failOpen(const QString& pattern, const QString& text) {
    m_openFailures.push_back(rule(pattern, true, RuntimeError::DatabaseError, text));
}

ado::RowSet ScriptedServer::rows(const QStringList& columns, const QVector<QVector<QVariant>>& values) {
    // The field type follows the first value of the column that is not null.
    static const QHash<int, int> types{{QMetaType::Int, ado::adInteger},
                                       {QMetaType::LongLong, ado::adBigInt},
                                       {QMetaType::Double, ado::adDouble},
                                       {QMetaType::Bool, ado::adBoolean},
                                       {QMetaType::QDateTime, ado::adDate}};
    ado::RowSet rs;
    for (int c = 0; c < columns.size(); ++c) {
        ado::FieldInfo f;
        f.name = columns[c];
        f.type = ado::adVarWChar;
        for (const auto& row : values) {
            const QVariant& v = row.value(c);
            if (v.isValid() && !v.isNull()) {
                f.type = types.value(v.typeId(), ado::adVarWChar);
                break;
            }
        }
        rs.fields.push_back(f);
    }
    rs.rows = values;
    return rs;
}

QStringList ScriptedServer::texts(Call::Kind kind) const {
    QStringList out;
    for (const auto& c : calls)
        if (c.kind == kind)
            out << c.text;
    return out;
}

QStringList ScriptedServer::trail(bool withQueries) const {
    static const QMap<Call::Kind, QString> marks{{Call::Begin, QStringLiteral("begin")},
                                                 {Call::Commit, QStringLiteral("commit")},
                                                 {Call::Rollback, QStringLiteral("rollback")}};
    QStringList out;
    for (const auto& c : calls)
        if (marks.contains(c.kind))
            out << marks.value(c.kind);
        else if (c.kind == Call::Execute || (withQueries && c.kind == Call::Query))
            out << c.text;
    return out;
}

}  // namespace ztgl::test
