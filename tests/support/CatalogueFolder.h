#pragma once

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

    CatalogueFolder();

    bool ok() const { return m_folder.ok(); }
    // The folder with a trailing separator.
    const QString& dir() const { return m_folder.path(); }
    static QString managerFile() { return QStringLiteral("KXPUB.MDB"); }
    static QString setFile(const QString& ztlj) { return ztlj + QStringLiteral(".MDB"); }
    bool exists(const QString& fileName) const;

    // One ZTML row and, unless Missing, its database.
    void addSet(const QString& id, const QString& name, const QString& ztlj, const QVariant& userFlag,
                SetDb db = SetDb::Fresh, const QString& createTime = QStringLiteral("2024-01-15"));
    void createSetDb(const QString& ztlj, SetDb db) const;

    // Rows of a query on a database file of the folder, each row's values as text joined by "|".
    QStringList query(const QString& fileName, const QString& sql) const;
    void execute(const QString& fileName, const QString& sql) const { m_folder.execute(fileName, sql); }

private:
    AccountSetFolder m_folder{false};
};

}  // namespace ztgl::test
