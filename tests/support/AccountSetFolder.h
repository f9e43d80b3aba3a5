#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

namespace ztgl::test {

// A program folder of the Access kind for one test: the manager's database KXPUB.MDB with an
// empty ZTML, the demo template MWMSD_NULL.mdb (unless asked not to), and the process-wide
// values of a single-user start-up (gAppPath, gDBType, gConnectString, gConn open). Restores the
// globals and closes gConn when it goes.
class AccountSetFolder {
public:
    explicit AccountSetFolder(bool withTemplate = true);
    ~AccountSetFolder();
    AccountSetFolder(const AccountSetFolder&) = delete;
    AccountSetFolder& operator=(const AccountSetFolder&) = delete;

    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }
    // The folder, ending in the native separator (= gAppPath).
    const QString& path() const { return m_path; }
    QString file(const QString& name) const { return m_path + name; }

    // Connection string of a database file in the folder, as the program writes it for Jet.
    QString connectString(const QString& fileName) const;
    // Runs a query on a database file of the folder through the ADO-like layer; rows as values.
    QVector<QVector<QVariant>> query(const QString& fileName, const QString& sql) const;
    // Runs a statement on a database file of the folder.
    void execute(const QString& fileName, const QString& sql) const;

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    bool m_ok = false;
};

}  // namespace ztgl::test
