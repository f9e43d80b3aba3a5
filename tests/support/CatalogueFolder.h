#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

namespace ztgl::test {

// A program folder on the embedded engine for the catalogue's tests: kxconfig.ini of the
// single-user edition (Access kind), the manager's KXPUB.MDB with an empty ZTML, and account-set
// databases <ZTLJ>.MDB beside it with the permission tables.
class CatalogueFolder {
public:
    // What the set's own database looks like.
    enum class SetDb {
        Fresh,          // BaseLimits and User_Permissions with the default user's older rights
        Upgraded,       // as Fresh, plus the group "其它权限" (row ID '10')
        Missing,        // no file at all
        NoPermissions,  // BaseLimits only: granting the rights fails
    };

    CatalogueFolder();

    bool isValid() const { return m_dir.isValid(); }
    // The folder with a trailing separator.
    QString dir() const;
    QString managerFile() const;
    QString setFile(const QString& ztlj) const;
    // The manager's connection string as the configuration gives it.
    QString connectString() const;

    // One ZTML row and, unless Missing, its database.
    void addSet(const QString& id, const QString& name, const QString& ztlj, const QVariant& userFlag,
                SetDb db = SetDb::Fresh, const QString& createTime = QStringLiteral("2024-01-15"));
    void createSetDb(const QString& ztlj, SetDb db) const;

    // Sets gDBType and gConnectString and opens gConn on the manager's database.
    void openShared() const;

    // Rows of a query on a database file, each row's values as text joined by "|".
    QStringList query(const QString& file, const QString& sql) const;
    void execute(const QString& file, const QString& sql) const;

private:
    QTemporaryDir m_dir;
};

}  // namespace ztgl::test
