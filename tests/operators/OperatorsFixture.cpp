#include "OperatorsFixture.h"

#include "ado/Connection.h"
#include "ado/Recordset.h"

namespace ztgl::test {

QString OperatorsFixture::storedPassword(const QString& id) const {
    ado::Connection conn;
    conn.setConnectionString(folder.managerConnectString());
    conn.Open();
    ado::Recordset rs;
    rs.Open(QStringLiteral("select UserPwds from ZTUsers where Id = ") + GetSqlVal(id), conn);
    const QString value = rs.Eof() ? QStringLiteral("(no row)") : rs.Fields(0).text();
    rs.Close();
    conn.Close();
    return value;
}

void OperatorsFixture::execute(const QString& sql) const {
    ado::Connection conn;
    conn.setConnectionString(folder.managerConnectString());
    conn.Open();
    conn.Execute(sql);
    conn.Close();
}

}  // namespace ztgl::test
