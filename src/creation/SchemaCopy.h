#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <functional>

#include "ado/Catalog.h"
#include "ado/Connection.h"

namespace ztgl {

class ProgressWindow;

// Rebuilds every table of the template in a new SQL Server database: one CREATE TABLE per
// table in catalogue order, each followed by the copy of its rows, with the progress window
// showing tables (ProgressBar1) and columns or rows (ProgressBar2).
//
// The template is opened once per copy: its catalogue is read once and answers every column
// and key lookup, and the same connection serves the "Select * From" of each table.
class SchemaCopy {
public:
    using Execute = std::function<void(const QString& sql)>;

    // `execute` runs one statement on the new database (or prints it, for a script).
    SchemaCopy(const QString& templateConnectString, Execute execute, ProgressWindow& progress);
    ~SchemaCopy();

    // Builds all tables. False (after "XZBJG::" + error text) when the template's table list
    // cannot be read; single tables that fail are reported by CreatTable and do not count.
    bool XZBJG();
    // Creates one table and copies its rows; reports its own failure ("CreatTable::").
    void CreatTable(const QString& tableName);
    // "True" when the template column must not be null, "False" when it accepts nulls or the
    // lookup failed, "" when the column has no "Nullable" property; defaultText receives the
    // column's "Default" property as text.
    QString GetFieldIndex(const QString& tableName, const QString& fieldName, QString& defaultText);
    // Whether the column belongs to a key of the template table, and that key's type (1 primary,
    // 2 foreign, 3 unique): the first key in catalogue order that holds it decides.
    bool CheckKeys(const QString& tableName, const QString& fieldName, int& keyType);

private:
    void openTemplate();
    const ado::CatalogTable& table(const QString& name) const;

    QString m_templateConnectString;
    Execute m_execute;
    ProgressWindow& m_progress;
    ado::Connection m_template;
    QVector<ado::CatalogTable> m_tables;
    QHash<QString, int> m_tableIndex;  // upper-cased name → index in m_tables
};

}  // namespace ztgl
