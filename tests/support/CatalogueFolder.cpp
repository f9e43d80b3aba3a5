#include "CatalogueFolder.h"

#include "JetTestDatabase.h"

#include <QFile>

#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "ado/Recordset.h"
#include "startup/Globals.h"

namespace ztgl::test {
namespace {

QString jetString(const QString& file) {
    return JetTestDatabase::connectionStringFor(file);
}

}  // namespace

CatalogueFolder::CatalogueFolder() {
    QFile ini(dir() + QStringLiteral("kxconfig.ini"));
    if (ini.open(QIODevice::WriteOnly)) {
        ini.write(QStringLiteral("[BASESETUP]\r\nISWLB=0\r\n[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\n"
                                 "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\nDATA_SOURCE=%1\r\nPASSWORD=\r\n"
                                 "PERSIST_SECURITY_INFO=\r\n")
                      .arg(managerFile())
                      .toUtf8());
    }
    ado::CreateJetDatabase(managerFile());
    execute(managerFile(),
            QStringLiteral(
                "CREATE TABLE ZTML (Id TEXT(10) COLLATE NOCASE NOT NULL, ZTMC TEXT(50) COLLATE NOCASE, "
                "ZTLJ TEXT(50) COLLATE NOCASE, CreateTime TEXT(20) COLLATE NOCASE, UserFlag LONG, "
                "CONSTRAINT PK_ZTML PRIMARY KEY (Id))"));
}

QString CatalogueFolder::dir() const {
    return m_dir.path() + QLatin1Char('/');
}

QString CatalogueFolder::managerFile() const {
    return dir() + QStringLiteral("KXPUB.MDB");
}

QString CatalogueFolder::setFile(const QString& ztlj) const {
    return dir() + ztlj + QStringLiteral(".MDB");
}

QString CatalogueFolder::connectString() const {
    return jetString(managerFile());
}

void CatalogueFolder::addSet(const QString& id, const QString& name, const QString& ztlj,
                             const QVariant& userFlag, SetDb db, const QString& createTime) {
    const auto quote = [](QString s) {
        return QLatin1Char('\'') + s.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    };
    const QString flag = userFlag.isNull() ? QStringLiteral("null") : userFlag.toString();
    execute(managerFile(),
            QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values(%1,%2,%3,%4,%5)")
                .arg(quote(id), quote(name), quote(ztlj), quote(createTime), flag));
    if (db != SetDb::Missing)
        createSetDb(ztlj, db);
}

void CatalogueFolder::createSetDb(const QString& ztlj, SetDb db) const {
    const QString file = setFile(ztlj);
    ado::CreateJetDatabase(file);
    execute(file, QStringLiteral(
                      "CREATE TABLE BaseLimits (ID TEXT(20) COLLATE NOCASE NOT NULL, lName TEXT(50) COLLATE "
                      "NOCASE, lValue TEXT(50) COLLATE NOCASE, lUseFlag LONG, lVerTag LONG, lConfigTag "
                      "TEXT(20) COLLATE NOCASE, lPX LONG, CONSTRAINT PK_BaseLimits PRIMARY KEY (ID))"));
    execute(file,
            QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                           "('01','基础资料','FuncJiChu',1,1,'',1)"));
    if (db == SetDb::NoPermissions)
        return;
    execute(file,
            QStringLiteral(
                "CREATE TABLE User_Permissions (UserID TEXT(10) COLLATE NOCASE NOT NULL, OperationID "
                "TEXT(50) COLLATE NOCASE NOT NULL, CONSTRAINT PK_UP PRIMARY KEY (UserID, OperationID))"));
    execute(file,
            QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','FuncJiChu')"));
    if (db == SetDb::Upgraded) {
        execute(file, QStringLiteral(
                          "INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                          "('10','其它权限','FuncQiTa',1,2,'',10)"));
    }
}

void CatalogueFolder::openShared() const {
    gDBType = kAccess;
    gConnectString = connectString();
    gConn = std::make_unique<ado::Connection>();
    gConn->setConnectionString(gConnectString);
    gConn->Open();
}

QStringList CatalogueFolder::query(const QString& file, const QString& sql) const {
    ado::Connection conn;
    conn.setConnectionString(jetString(file));
    conn.Open();
    ado::Recordset rs;
    rs.Open(sql, conn);
    QStringList out;
    for (; !rs.Eof(); rs.MoveNext()) {
        QStringList values;
        for (int i = 0; i < rs.FieldCount(); ++i)
            values << rs.Fields(i).text();
        out << values.join(QLatin1Char('|'));
    }
    return out;
}

void CatalogueFolder::execute(const QString& file, const QString& sql) const {
    ado::Connection conn;
    conn.setConnectionString(jetString(file));
    conn.Open();
    conn.Execute(sql);
}

}  // namespace ztgl::test
