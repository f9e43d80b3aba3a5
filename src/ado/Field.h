#pragma once

#include <QString>
#include <QVariant>

namespace ado {

// One field of the current row of a Recordset.
class Field {
public:
    Field(const QString& name, int type, qint64 definedSize, const QVariant& value)
        : m_name(name), m_type(type), m_definedSize(definedSize), m_value(value) {}

    const QString& Name() const { return m_name; }
    int Type() const { return m_type; }
    qint64 DefinedSize() const { return m_definedSize; }
    // The value; Null is an invalid or null QVariant.
    const QVariant& Value() const { return m_value; }
    bool isNull() const { return m_value.isNull() || !m_value.isValid(); }
    // The value as text ("" for Null); dates as "yyyy-MM-dd" when the time is zero,
    // "yyyy-MM-dd HH:mm:ss" otherwise; booleans as "True"/"False"; numbers in their plain form.
    QString text() const;

private:
    QString m_name;
    int m_type;
    qint64 m_definedSize;
    QVariant m_value;
};

}  // namespace ado
