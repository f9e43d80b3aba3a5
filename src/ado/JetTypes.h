#pragma once

#include <QString>
#include <QVariant>

namespace ado {

// ADO type of one column of the embedded engine.
struct JetColumnType {
    int type = 0;  // DataTypeEnum; 0 when the column declares no type (an expression)
    qint64 definedSize = 0;
    bool autoIncrement = false;  // COUNTER / AUTOINCREMENT
};

// Jet type names in declared column types, and the typed values read from them.
class JetTypes {
public:
    // "TEXT(10)" → 202 size 10, "MEMO" → 203, "LONG" → 3, "COUNTER" → 3 auto-increment, … Names Jet
    // does not know follow the engine's own affinity rules. Empty text gives type 0.
    static JetColumnType fromDeclared(const QString& declared);
    // Type of an expression column, from its first non-null stored value: whole numbers Long (or BigInt
    // beyond 32 bits), other numbers Double, a "yyyy-MM-dd HH:mm:ss" text a date, other text Text(255),
    // bytes Long Binary. Null gives Text(255).
    static JetColumnType fromValue(const QVariant& stored);
    // A stored value (null, qlonglong, double, QString or QByteArray) as a field value of the type:
    // QDateTime, bool, int/qlonglong, double or QString. A value that does not fit the type (text in a
    // number column) comes back as stored; Null is an invalid QVariant.
    static QVariant toFieldValue(int type, const QVariant& stored);
    // Text types get COLLATE NOCASE in the schemas the engine creates.
    static bool isText(int type);
};

}  // namespace ado
