#include "ado/ConnectionString.h"

namespace ado {

ConnectionString::ConnectionString(const QString& text) : m_text(text) {
    const QStringList parts = text.split(QLatin1Char(';'));
    for (const QString& part : parts) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq < 0) continue;
        m_items.append({part.left(eq).trimmed(), part.mid(eq + 1)});
    }
}

QString ConnectionString::value(const QString& key) const {
    for (const auto& item : m_items)
        if (item.first.compare(key.trimmed(), Qt::CaseInsensitive) == 0) return item.second;
    return QString();
}

bool ConnectionString::contains(const QString& key) const {
    for (const auto& item : m_items)
        if (item.first.compare(key.trimmed(), Qt::CaseInsensitive) == 0) return true;
    return false;
}

}  // namespace ado
