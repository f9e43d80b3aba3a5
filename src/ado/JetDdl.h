#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace ado {

// A key declared in a table definition.
struct JetConstraint {
    enum Kind { Primary, Unique, Foreign };
    Kind kind;
    QString name;  // "" when the definition gives none
    QStringList columns;
    QString refTable;  // Foreign only
};

// Jet's table definitions on the embedded engine.
class JetDdl {
public:
    struct Plan {
        QString sql;        // the statement to run
        QStringList after;  // statements to run right after it, in the same unit of work
    };
    // CREATE TABLE and ALTER TABLE … ADD: column definitions in Jet's terms become the engine's:
    // - text columns (TEXT, VARCHAR, CHAR, MEMO, …) without a collation get COLLATE NOCASE, since Jet
    //   compares, sorts and indexes text without regard to case; builders need not write it (they may);
    // - COUNTER and AUTOINCREMENT[(seed, step)] columns keep the type name COUNTER, lose NOT NULL and get a
    //   trigger that numbers a row inserted without a value (seed, then the largest value + step);
    // - DEFAULT fn(…) gets the parentheses the engine wants around an expression: DEFAULT (fn(…));
    // - Jet's WITH COMPRESSION / WITH COMP is dropped.
    // Other statements come back unchanged.
    static Plan rewrite(const QString& sql);
    // The keys a stored CREATE TABLE statement declares, in the order written (column keys in their column's
    // place).
    static QVector<JetConstraint> constraints(const QString& createSql);
};

}  // namespace ado
