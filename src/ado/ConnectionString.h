#pragma once

#include <QString>
#include <QVector>

namespace ado {

// An OLE DB connection string: "key=value;key=value;…", keys without regard to case.
// Values are not unquoted or unescaped: the program never quotes them.
class ConnectionString {
public:
    ConnectionString() = default;
    explicit ConnectionString(const QString& text);

    // Value of the first item whose key equals `key` without regard to case (blanks around the
    // key ignored); "" when absent.
    QString value(const QString& key) const;
    bool contains(const QString& key) const;
    QString provider() const { return value(QStringLiteral("Provider")); }
    const QString& text() const { return m_text; }

private:
    QString m_text;
    QVector<QPair<QString, QString>> m_items;
};

}  // namespace ado
