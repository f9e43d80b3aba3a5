#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "ado/Backend.h"

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
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // Queries matching `pattern` (regular expression, case-insensitive) return these rows.
    void onQuery(const QString& pattern, const ado::RowSet& rows);
    // Statements or queries matching `pattern` throw RuntimeError(number, text).
    void failOn(const QString& pattern, int number = -2147217900,
                const QString& text = QStringLiteral("语法错误"));
    // Statements and queries matching `pattern` run but are left out of `calls` (a test about other
    // statements leaves out, say, the record of changes: "CZRZ").
    void ignore(const QString& pattern);
    // Opening a connection whose string matches `pattern` fails.
    void failOpen(const QString& pattern, const QString& text = QStringLiteral("无法连接到服务器"));

    // A one-row or many-row answer: columns given by name; types guessed from the values.
    static ado::RowSet rows(const QStringList& columns, const QVector<QVector<QVariant>>& values);

    QVector<Call> calls;
    QStringList executed() const { return texts(Call::Execute); }  // Execute texts only, in order
    QStringList queries() const { return texts(Call::Query); }     // Query texts only, in order
    QStringList opened() const { return texts(Call::Open); }       // connection strings opened, in order
    // Statements (and queries, unless left out) in order, with "begin", "commit" and "rollback" where
    // transactions began and ended.
    QStringList trail(bool withQueries = true) const;

private:
    friend class ScriptedBackend;
    struct Rule {
        QRegularExpression pattern;
        bool fail = false;
        int number = 0;
        QString text;
        ado::RowSet rows;
    };
    static Rule rule(const QString& pattern, bool fail = false, int number = 0,
                     const QString& text = QString());
    QStringList texts(Call::Kind kind) const;
    QVector<Rule> m_rules;
    QVector<Rule> m_openFailures;
    QVector<QRegularExpression> m_ignored;
    ado::EngineKind m_kind;
};

}  // namespace ztgl::test
