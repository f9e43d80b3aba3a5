#pragma once

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

namespace ado {

// One prepared statement of the embedded engine, finalized when it goes out of scope (before the
// connection closes). Failures throw ztgl::RuntimeError as JetError gives them.
class JetStatement {
public:
    // Prepares the first statement of `sql`; `file` names the database in error texts.
    JetStatement(sqlite3* db, const QString& sql, const QString& file);
    ~JetStatement();
    JetStatement(const JetStatement&) = delete;
    JetStatement& operator=(const JetStatement&) = delete;

    // Runs a statement to its end, ignoring any rows.
    static void run(sqlite3* db, const QString& sql, const QString& file);

    bool isEmpty() const { return m_stmt == nullptr; }  // the text held only blanks and comments
    const QString& rest() const { return m_rest; }      // the text after the first statement
    bool readOnly() const;

    bool step();  // true while there is a row
    int columnCount() const;
    QString columnName(int i) const;
    QString declaredType(int i) const;  // "" for an expression
    QVariant value(int i) const;        // the stored value (see JetValue)

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
    QString m_file;
    QString m_rest;
};

}  // namespace ado
