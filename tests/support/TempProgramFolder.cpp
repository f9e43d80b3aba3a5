#include "TempProgramFolder.h"

#include <QFile>

#include "JetTestDatabase.h"
#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "platform/Codepage936.h"
#include "demo/DemoFolder.h"

namespace ztgl::test {

TempProgramFolder::TempProgramFolder() = default;

void TempProgramFolder::writeConfigBytes(const QByteArray& bytes) const {
    QFile file(iniFile());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write kxconfig.ini");
}

void TempProgramFolder::writeConfig(const QStringList& lines) const {
    writeConfigBytes(cp936::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

QStringList TempProgramFolder::accessConfig(const QString& dataSource) const {
    return {QStringLiteral("[BASESETUP]"),
            QStringLiteral("ISWLB=0"),
            QStringLiteral("[DBCONNECT]"),
            QStringLiteral("DBTYPE=[Microsoft Access]"),
            QStringLiteral("PROVIDER=Microsoft.Jet.OLEDB.4.0"),
            QStringLiteral("DATA_SOURCE=") + (dataSource.isEmpty() ? managerFile() : dataSource),
            QStringLiteral("PASSWORD="),
            QStringLiteral("PERSIST_SECURITY_INFO=False")};
}

void TempProgramFolder::makeManagerDatabase(const QStringList& statements) const {
    ado::CreateJetDatabase(managerFile());
    ado::Connection conn;
    conn.setConnectionString(managerConnectString());
    conn.Open();
    for (const QString& sql : DemoFolder::managerStatements() + statements)
        conn.Execute(sql);
    conn.Close();
}

QString TempProgramFolder::managerConnectString() const {
    return JetTestDatabase::connectionStringFor(managerFile());
}

}  // namespace ztgl::test
