#pragma once

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>

#include "JetTestDatabase.h"
#include "ado/JetDatabase.h"
#include "db/PubSql.h"
#include "demo/DemoTemplate.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl::test {

// A program folder of the Access kind for one test: the manager's database KXPUB.MDB with an
// empty ZTML, the demo template MWMSD_NULL.mdb (unless asked not to), and the process-wide
// values of a single-user start-up (gAppPath, gDBType, gConnectString, gConn open). Restores the
// globals and closes gConn when it goes.
class AccountSetFolder {
public:
    explicit AccountSetFolder(bool withTemplate = true) {
        ResetGlobals();
        m_path = QDir::toNativeSeparators(m_dir.path()) + QDir::separator();
        try {
            ado::CreateJetDatabase(file(QStringLiteral("KXPUB.MDB")));
            execute(QStringLiteral("KXPUB.MDB"),
                    QStringLiteral(
                        "CREATE TABLE ZTML (Id TEXT(10) NOT NULL, ZTMC TEXT(50), ZTLJ TEXT(50), CreateTime "
                        "TEXT(10), UserFlag LONG, CONSTRAINT PrimaryKey PRIMARY KEY (Id))"));
        } catch (const std::exception& e) {
            m_error = errorText(e);
            return;
        }
        if (withTemplate && !WriteDemoTemplate(file(QStringLiteral("MWMSD_NULL.mdb")), &m_error))
            return;
        gAppPath = m_path;
        gDBType = kAccess;
        gConnectString = connectString(QStringLiteral("KXPUB.MDB"));
        m_ok = Open_Connect() == 1;
        if (!m_ok)
            m_error = QStringLiteral("the manager's database does not open");
    }
    ~AccountSetFolder() {
        Close_Connect();
        ResetGlobals();
    }
    AccountSetFolder(const AccountSetFolder&) = delete;
    AccountSetFolder& operator=(const AccountSetFolder&) = delete;

    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }
    // The folder, ending in the native separator (= gAppPath).
    const QString& path() const { return m_path; }
    QString file(const QString& name) const { return m_path + name; }

    // Connection string of a database file in the folder, as the program writes it for Jet.
    QString connectString(const QString& fileName) const {
        return JetTestDatabase::connectionStringFor(file(fileName));
    }
    // Runs a query on a database file of the folder through the ADO-like layer; rows as values.
    QVector<QVector<QVariant>> query(const QString& fileName, const QString& sql) const {
        return queryValues(connectString(fileName), sql);
    }
    // Runs a statement on a database file of the folder.
    void execute(const QString& fileName, const QString& sql) const {
        execSql(connectString(fileName), {sql});
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    bool m_ok = false;
};

}  // namespace ztgl::test
