#include "CatalogueFolder.h"

#include <QFile>

#include "JetTestDatabase.h"
#include "ado/JetDatabase.h"

namespace ztgl::test {

CatalogueFolder::CatalogueFolder() {
    QFile ini(dir() + QStringLiteral("kxconfig.ini"));
    if (ini.open(QIODevice::WriteOnly))
        ini.write(QStringLiteral("[BASESETUP]\r\nISWLB=0\r\n[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\n"
                                 "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\nDATA_SOURCE=%1\r\nPASSWORD=\r\n"
                                 "PERSIST_SECURITY_INFO=\r\n")
                      .arg(m_folder.file(managerFile()))
                      .toUtf8());
}

bool CatalogueFolder::exists(const QString& fileName) const {
    return QFile::exists(m_folder.file(fileName));
}

void CatalogueFolder::addSet(const QString& id, const QString& name, const QString& ztlj,
                             const QVariant& userFlag, SetDb db, const QString& createTime) {
    const auto quote = [](QString s) { return '\'' + s.replace('\'', QStringLiteral("''")) + '\''; };
    execute(managerFile(),
            QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values(%1,%2,%3,%4,%5)")
                .arg(quote(id), quote(name), quote(ztlj), quote(createTime),
                     userFlag.isNull() ? QStringLiteral("null") : userFlag.toString()));
    if (db != SetDb::Missing)
        createSetDb(ztlj, db);
}

void CatalogueFolder::createSetDb(const QString& ztlj, SetDb db) const {
    const QString file = setFile(ztlj);
    ado::CreateJetDatabase(m_folder.file(file));
    QStringList sql{
        QStringLiteral("CREATE TABLE BaseLimits (ID TEXT(20) NOT NULL, lName TEXT(50), lValue TEXT(50), "
                       "lUseFlag LONG, lVerTag LONG, lConfigTag TEXT(20), lPX LONG, "
                       "CONSTRAINT PrimaryKey PRIMARY KEY (ID))"),
        QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
                       "('01','基础资料','FuncJiChu',1,1,'',1)")};
    if (db != SetDb::NoPermissions)
        sql << QStringLiteral(
                   "CREATE TABLE User_Permissions (UserID TEXT(10) NOT NULL, OperationID TEXT(50) NOT "
                   "NULL, CONSTRAINT PrimaryKey PRIMARY KEY (UserID, OperationID))")
            << QStringLiteral("INSERT INTO User_Permissions(UserID,OperationID) values ('0','FuncJiChu')");
    if (db == SetDb::Upgraded)
        sql << QStringLiteral(
            "INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values "
            "('10','其它权限','FuncQiTa',1,2,'',10)");
    execSql(m_folder.connectString(file), sql);
}

QStringList CatalogueFolder::query(const QString& fileName, const QString& sql) const {
    return queryRows(m_folder.connectString(fileName), sql);
}

}  // namespace ztgl::test
