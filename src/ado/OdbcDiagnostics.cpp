#include "ado/OdbcDiagnostics.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QStringList>

namespace ado {

QString OdbcDiagnostics::text(const QString& databaseText, const QString& driverText) {
    // A run of vendor tags starts a record.
    static const QRegularExpression tags(QStringLiteral("(?:\\[[^\\[\\]]*\\])+"));
    QStringList records;
    qsizetype from = 0;
    auto take = [&](qsizetype to) {
        const QString record = databaseText.mid(from, to - from).trimmed();
        if (!record.isEmpty() && !records.contains(record))
            records.append(record);
    };
    for (auto it = tags.globalMatch(databaseText); it.hasNext();) {
        const auto match = it.next();
        take(match.capturedStart());
        from = match.capturedEnd();
    }
    take(databaseText.size());

    static const QString generic = QStringLiteral("Unable to connect to data source");
    if (records.size() > 1)
        records.removeAll(generic);
    if (!records.isEmpty())
        return records.join(QLatin1Char('\n'));

    static const QRegularExpression qtPrefix(QStringLiteral("^QODBC\\d?:\\s*"));
    return QString(driverText).remove(qtPrefix).trimmed();
}

QString OdbcDiagnostics::text(const QSqlError& error) {
    return text(error.databaseText(), error.driverText());
}

}  // namespace ado
