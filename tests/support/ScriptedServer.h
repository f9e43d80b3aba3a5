#pragma once

#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <memory>
#include <optional>

#include "ado/Backend.h"
#include "ado/DataType.h"
#include "platform/RuntimeError.h"

namespace ztgl::test {

// A stand-in for SQL Server (or any engine kind): every connection opened while it is installed
// talks to it. It records the connection strings opened and every statement and query in order,
// answers queries by the first matching rule, and fails the statements tests ask it to fail.
class ScriptedServer {
public:
    struct Call {
        enum Kind { Open, Execute, Query, Close, Begin, Commit, Rollback } kind;
        QString text;  // statement, query, or connection string for Open
    };

    explicit ScriptedServer(ado::EngineKind kind = ado::EngineKind::SqlServer);
    ~ScriptedServer() { ado::setBackendFactory(m_kind, nullptr); }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // Queries matching `pattern` (regular expression, case-insensitive) return these rows.
    void onQuery(const QString& pattern, const ado::RowSet& rows) {
        m_rules.push_back({re(pattern), {}, rows});
    }
    // Statements or queries matching `pattern` throw RuntimeError(number, text).
    void failOn(const QString& pattern, int number = -2147217900,
                const QString& text = QStringLiteral("语法错误")) {
        m_rules.push_back({re(pattern), RuntimeError(number, text), {}});
    }
    // Statements and queries matching `pattern` run but are left out of `calls` (a test about other
    // statements leaves out, say, the record of changes: "CZRZ").
    void ignore(const QString& pattern) { m_ignored.push_back(re(pattern)); }
    // Opening a connection whose string matches `pattern` fails.
    void failOpen(const QString& pattern, const QString& text = QStringLiteral("无法连接到服务器")) {
        m_openFailures.push_back({re(pattern), RuntimeError(RuntimeError::DatabaseError, text), {}});
    }

    // A one-row or many-row answer: columns given by name; the field type follows the first value
    // of the column that is not null.
    static ado::RowSet rows(const QStringList& columns, const QVector<QVector<QVariant>>& values) {
        static const QHash<int, int> types{{QMetaType::Int, ado::adInteger},
                                           {QMetaType::LongLong, ado::adBigInt},
                                           {QMetaType::Double, ado::adDouble},
                                           {QMetaType::Bool, ado::adBoolean},
                                           {QMetaType::QDateTime, ado::adDate}};
        ado::RowSet rs;
        for (int c = 0; c < columns.size(); ++c) {
            ado::FieldInfo f{columns[c], ado::adVarWChar};
            const auto given = std::find_if(values.begin(), values.end(), [c](const auto& row) {
                return row.value(c).isValid() && !row.value(c).isNull();
            });
            if (given != values.end())
                f.type = types.value(given->value(c).typeId(), ado::adVarWChar);
            rs.fields.push_back(f);
        }
        rs.rows = values;
        return rs;
    }

    QVector<Call> calls;
    QStringList executed() const { return texts(Call::Execute); }  // Execute texts only, in order
    QStringList queries() const { return texts(Call::Query); }     // Query texts only, in order
    QStringList opened() const { return texts(Call::Open); }       // connection strings opened, in order
    // Statements (and queries, unless left out) in order, with "begin", "commit" and "rollback" where
    // transactions began and ended.
    QStringList trail(bool withQueries = true) const {
        static const char* const marks[] = {"", "", "", "", "begin", "commit", "rollback"};
        QStringList out;
        for (const auto& c : calls)
            if (c.kind >= Call::Begin)
                out << QLatin1String(marks[c.kind]);
            else if (c.kind == Call::Execute || (withQueries && c.kind == Call::Query))
                out << c.text;
        return out;
    }
    // What readCatalog() gives; how often a connection was opened and the catalogue read.
    ado::CatalogData catalog;
    int opens = 0, catalogReads = 0;

protected:
    friend class ScriptedBackend;
    struct Rule {
        QRegularExpression pattern;
        std::optional<RuntimeError> failure;
        ado::RowSet rows;
    };
    static QRegularExpression re(const QString& p) {
        return QRegularExpression(p, QRegularExpression::CaseInsensitiveOption);
    }
    QStringList texts(Call::Kind kind) const {
        QStringList out;
        for (const auto& c : calls)
            if (c.kind == kind)
                out << c.text;
        return out;
    }
    QVector<Rule> m_rules;
    QVector<Rule> m_openFailures;
    QVector<QRegularExpression> m_ignored;
    ado::EngineKind m_kind;
};

class ScriptedBackend final : public ado::Backend {
    using Call = ScriptedServer::Call;

public:
    explicit ScriptedBackend(ScriptedServer& s) : m_server(s) {}

    void open(const ado::ConnectionString& cs, int) override {
        ++m_server.opens;
        m_server.calls.push_back({Call::Open, cs.text()});
        for (const auto& r : m_server.m_openFailures)
            if (r.pattern.match(cs.text()).hasMatch())
                throw *r.failure;
    }
    void close() override { m_server.calls.push_back({Call::Close, QString()}); }
    qint64 execute(const QString& sql) override {
        answer(Call::Execute, sql);
        return -1;
    }
    ado::RowSet query(const QString& sql) override { return answer(Call::Query, sql); }
    ado::CatalogData readCatalog() override {
        ++m_server.catalogReads;
        return m_server.catalog;
    }
    void beginTrans() override { m_server.calls.push_back({Call::Begin, QString()}); }
    void commitTrans() override { m_server.calls.push_back({Call::Commit, QString()}); }
    void rollbackTrans() override { m_server.calls.push_back({Call::Rollback, QString()}); }

private:
    // Records the call (unless ignored) and answers by the first matching rule.
    ado::RowSet answer(Call::Kind kind, const QString& sql) {
        const auto matches = [&sql](const QRegularExpression& p) { return p.match(sql).hasMatch(); };
        if (std::none_of(m_server.m_ignored.begin(), m_server.m_ignored.end(), matches))
            m_server.calls.push_back({kind, sql});
        for (const auto& r : m_server.m_rules)
            if (matches(r.pattern)) {
                if (r.failure)
                    throw *r.failure;
                return r.rows;
            }
        return {};
    }
    ScriptedServer& m_server;
};

inline ScriptedServer::ScriptedServer(ado::EngineKind kind) : m_kind(kind) {
    ado::setBackendFactory(kind, [this] { return std::make_unique<ScriptedBackend>(*this); });
}

}  // namespace ztgl::test
