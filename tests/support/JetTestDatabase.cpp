#include "JetTestDatabase.h"

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"

namespace ztgl::test {

void execSql(const QString& connectString, const QStringList& statements) {
    ado::Connection conn;
    conn.setConnectionString(connectString);
    conn.Open();
    for (const QString& s : statements)
        conn.Execute(s);
    conn.Close();
}

QVector<QVector<QVariant>> queryValues(const QString& connectString, const QString& sql) {
    ado::Connection conn;
    conn.setConnectionString(connectString);
    conn.Open();
    ado::Recordset rs;
    rs.Open(sql, conn);
    const auto rows = rs.rows().rows;
    rs.Close();
    conn.Close();
    return rows;
}

QStringList queryRows(const QString& connectString, const QString& sql) {
    QStringList out;
    for (const auto& row : queryValues(connectString, sql)) {
        QStringList values;
        for (const QVariant& v : row)
            values << v.toString();
        out << values.join('|');
    }
    return out;
}

JetTestDatabase::JetTestDatabase(const QString& fileName) : m_path(m_dir.filePath(fileName)) {
    ado::CreateJetDatabase(m_path);
}

QString JetTestDatabase::connectionStringFor(const QString& file, const QString& provider) {
    return QStringLiteral(
               "Provider=%1;Persist Security Info=False;Data Source=%2;Mode=Read|Write;"
               "Jet OLEDB:Database Password=")
        .arg(provider, file);
}

}  // namespace ztgl::test
