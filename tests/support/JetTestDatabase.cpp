#include "JetTestDatabase.h"

#include "ado/Connection.h"
#include "ado/JetDatabase.h"

namespace ztgl::test {

JetTestDatabase::JetTestDatabase(const QString& fileName) : m_path(m_dir.filePath(fileName)) {
    ado::CreateJetDatabase(m_path);
}

QString JetTestDatabase::connectionStringFor(const QString& file, const QString& provider) {
    return QStringLiteral(
               "Provider=%1;Persist Security Info=False;Data Source=%2;Mode=Read|Write;"
               "Jet OLEDB:Database Password=")
        .arg(provider, file);
}

void JetTestDatabase::exec(const QStringList& statements) const {
    ado::Connection conn;
    conn.setConnectionString(connectionString());
    conn.Open();
    for (const QString& s : statements)
        conn.Execute(s);
    conn.Close();
}

}  // namespace ztgl::test
