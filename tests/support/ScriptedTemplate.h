#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "ado/Backend.h"

namespace ztgl::test {

// A stand-in for the embedded engine that holds one template database: its catalogue (tables,
// columns with their provider properties, keys) and the rows of each table. While it is
// installed every connection of the Jet kind talks to it. "Select * From T" returns T's rows
// with its columns as fields; it counts opens and catalogue reads.
class ScriptedTemplate {
public:
    ScriptedTemplate();
    ~ScriptedTemplate();
    ScriptedTemplate(const ScriptedTemplate&) = delete;
    ScriptedTemplate& operator=(const ScriptedTemplate&) = delete;

    // A column as the embedded engine reports it: properties "Autoincrement", "Default" (only
    // when `defaultValue` is valid), "Nullable".
    static ado::CatalogColumn column(const QString& name, int type, qint64 size = 0, bool nullable = true,
                                     const QVariant& defaultValue = QVariant());

    void addTable(const QString& name, const QVector<ado::CatalogColumn>& columns,
                  const QString& type = QStringLiteral("TABLE"));
    void addKey(const QString& table, const QString& keyName, int keyType, const QStringList& columns);
    void setRows(const QString& table, const QVector<QVector<QVariant>>& rows);
    // Queries on `table` fail with this text.
    void failQueryOn(const QString& table, const QString& text = QStringLiteral("找不到表"));
    // Opening fails (the template cannot be read).
    void failOpen(const QString& text) { m_openFailure = text; }

    int opens = 0;
    int catalogReads = 0;
    QStringList queries;

private:
    friend class ScriptedTemplateBackend;
    ado::CatalogTable* find(const QString& table);
    ado::CatalogData m_catalog;
    QVector<QPair<QString, QVector<QVector<QVariant>>>> m_rows;
    QStringList m_failingTables;
    QString m_failText;
    QString m_openFailure;
};

}  // namespace ztgl::test
