#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "AccountSetFolder.h"

namespace ztgl::test {

// A program folder of the Access kind for the catalogue's tests (AccountSetFolder without the
// template: KXPUB.MDB with an empty ZTML, gConn open on it) plus kxconfig.ini of the single-user
// edition, so that ztgl-admin runs on it, and account-set databases <ZTLJ>.MDB with the
// permission tables.
class CatalogueFolder {
public:
    // What the set's own database looks like.
    enum class SetDb {
        Fresh,          // BaseLimits and User_Permissions with an older right of the default user
        Upgraded,       // as Fresh, plus the group "其它权限" (row ID '10')
        Missing,        // no file at all
        NoPermissions,  // BaseLimits only: granting the rights fails
    };

    CatalogueFolder() {
        QFile ini(dir() + QStringLiteral("kxconfig.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[BASESETUP]\r\nISWLB=0\r\n[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\n"
                                     "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\nDATA_SOURCE=%1\r\nPASSWORD=\r\n"
                                     "PERSIST_SECURITY_INFO=\r\n")
                          .arg(m_folder.file(managerFile()))
                          .toUtf8());
    }

    bool ok() const { return m_folder.ok(); }
    // The folder with a trailing separator.
    const QString& dir() const { return m_folder.path(); }
    static QString managerFile() { return QStringLiteral("KXPUB.MDB"); }
    static QString setFile(const QString& ztlj) { return ztlj + QStringLiteral(".MDB"); }
    bool exists(const QString& fileName) const { return QFile::exists(m_folder.file(fileName)); }

    // One ZTML row and, unless Missing, its database.
    void addSet(const QString& id, const QString& name, const QString& ztlj, const QVariant& userFlag,
                SetDb db = SetDb::Fresh, const QString& createTime = QStringLiteral("2024-01-15")) {
        const auto quote = [](QString s) { return '\'' + s.replace('\'', QStringLiteral("''")) + '\''; };
        execute(managerFile(),
                QStringLiteral("insert into ZTML(Id,ZTMC,ZTLJ,CreateTime,UserFlag) values(%1,%2,%3,%4,%5)")
                    .arg(quote(id), quote(name), quote(ztlj), quote(createTime),
                         userFlag.isNull() ? QStringLiteral("null") : userFlag.toString()));
        if (db != SetDb::Missing)
            createSetDb(ztlj, db);
    }
    void createSetDb(const QString& ztlj, SetDb db) const {
        ado::CreateJetDatabase(m_folder.file(setFile(ztlj)));
        const QString limits =
            QStringLiteral("INSERT INTO BaseLimits(ID,lName,lValue,lUseFlag,lVerTag,lConfigTag,lPX) values ");
        QStringList sql{
            QStringLiteral("CREATE TABLE BaseLimits (ID TEXT(20) NOT NULL, lName TEXT(50), lValue "
                           "TEXT(50), lUseFlag LONG, lVerTag LONG, lConfigTag TEXT(20), lPX LONG, "
                           "CONSTRAINT PrimaryKey PRIMARY KEY (ID))"),
            limits + QStringLiteral("('01','基础资料','FuncJiChu',1,1,'',1)")};
        if (db != SetDb::NoPermissions)
            sql << QStringLiteral(
                       "CREATE TABLE User_Permissions (UserID TEXT(10) NOT NULL, OperationID TEXT(50) "
                       "NOT NULL, CONSTRAINT PrimaryKey PRIMARY KEY (UserID, OperationID))")
                << QStringLiteral(
                       "INSERT INTO User_Permissions(UserID,OperationID) values ('0','FuncJiChu')");
        if (db == SetDb::Upgraded)
            sql << limits + QStringLiteral("('10','其它权限','FuncQiTa',1,2,'',10)");
        execSql(m_folder.connectString(setFile(ztlj)), sql);
    }

    // Rows of a query on a database file of the folder, each row's values as text joined by "|".
    QStringList query(const QString& fileName, const QString& sql) const {
        return queryRows(m_folder.connectString(fileName), sql);
    }
    void execute(const QString& fileName, const QString& sql) const { m_folder.execute(fileName, sql); }

private:
    AccountSetFolder m_folder{false};
};

}  // namespace ztgl::test
