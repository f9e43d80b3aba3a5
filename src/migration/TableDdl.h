#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include "ado/Catalog.h"

namespace ztgl {

// The statements that rebuild a catalogued table in the embedded engine, in Jet's dialect: every name in
// brackets (blanks and signs kept), Jet's type names, NOT NULL, defaults, and the keys by their names.
class TableDdl {
public:
    // CREATE TABLE [t] ([c] TYPE [NOT NULL] [DEFAULT d], …, CONSTRAINT [pk] PRIMARY KEY (…),
    // CONSTRAINT [fk] FOREIGN KEY (…) REFERENCES [p] (…) [ON UPDATE CASCADE] [ON DELETE CASCADE],
    // CONSTRAINT [uq] UNIQUE (…)). Throws ztgl::RuntimeError for a column type it has no name for.
    static QString create(const ado::CatalogTable& table);
    // INSERT INTO [t] ([c], …) VALUES (…) with every value exactly as it is (literal()).
    static QString insert(const ado::CatalogTable& table, const QVector<QVariant>& row);
    // A value as a literal that the engine stores unchanged: text in single quotes with nothing trimmed,
    // numbers in their shortest exact form, dates as stored dates (with milliseconds when they have them),
    // bytes as X'…', yes/no as True/False, Null as NULL. Throws for a number that is not finite.
    static QString literal(const QVariant& value);
    // A default as the engine takes it: Jet's leading "=" dropped, Yes/On/True and No/Off/False as True and
    // False; anything else as Jet stores it.
    static QString engineDefault(const QString& jetDefault);
    // What a comparison after a conversion looks at, one line per column and per key: name, type, size,
    // null rule, counter, default (as the engine takes it); key type, name, columns and what they refer to.
    static QStringList describe(const ado::CatalogTable& table);
};

}  // namespace ztgl
