#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVector>
#include <stdexcept>

#include "AdminProcess.h"
#include "JetTestDatabase.h"
#include "ado/JetDatabase.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "demo/DemoTemplate.h"
#include "platform/Codepage936.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"

namespace ztgl::test {

// The program folders of the tests, each in a temporary folder of its own, removed with the object.

// A bare one: its configuration file and the manager's database are written on request.
class TempProgramFolder {
public:
    // The folder without a trailing separator.
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString iniFile() const { return filePath(QStringLiteral("kxconfig.ini")); }
    QString managerFile() const { return filePath(QStringLiteral("KXPUB.MDB")); }

    // kxconfig.ini: raw bytes, or lines in code page 936 joined by CRLF.
    void writeConfigBytes(const QByteArray& bytes) const {
        QFile file(iniFile());
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            throw std::runtime_error("cannot write kxconfig.ini");
    }
    void writeConfig(const QStringList& lines) const {
        writeConfigBytes(cp936::encode(lines.join("\r\n") + "\r\n"));
    }
    // The lines of a single-user configuration of the Access kind for `dataSource`
    // (the folder's KXPUB.MDB when empty).
    QStringList accessConfig(const QString& dataSource = QString()) const {
        return QStringLiteral(
                   "[BASESETUP]|ISWLB=0|[DBCONNECT]|DBTYPE=[Microsoft Access]|PROVIDER=Microsoft.Jet."
                   "OLEDB.4.0|DATA_SOURCE=%1|PASSWORD=|PERSIST_SECURITY_INFO=False")
            .arg(dataSource.isEmpty() ? managerFile() : dataSource)
            .split('|');
    }

    // KXPUB.MDB with the demo tables and the operator admin, then `statements` (Jet dialect).
    void makeManagerDatabase(const QStringList& statements = {}) const {
        ado::CreateJetDatabase(managerFile());
        execSql(managerConnectString(), DemoFolder::managerStatements() + statements);
    }
    // The connection string of KXPUB.MDB.
    QString managerConnectString() const { return JetTestDatabase::connectionStringFor(managerFile()); }
    // KXPUB.MDB made as above and opened as the program's shared connection of the Access kind
    // (gIniFile, gDBType, gConnectString set): true when gConn is open.
    bool openAsManager(const QStringList& statements = {}) const {
        makeManagerDatabase(statements);
        gIniFile = iniFile();
        gDBType = kAccess;
        gConnectString = managerConnectString();
        return Open_Connect() == 1;
    }

private:
    QTemporaryDir m_dir;
};

// An Access folder: the manager's database KXPUB.MDB with an empty ZTML, the demo template
// MWMSD_NULL.mdb (unless asked not to), and the process-wide values of a single-user start-up
// (gAppPath, gDBType, gConnectString, gConn open). Restores the globals and closes gConn when it goes.
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
    void execute(const QString& fileName, const QString& sql) const {
        execSql(connectString(fileName), {sql});
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    bool m_ok = false;
};

// An AccountSetFolder without the template, for the catalogue's tests, plus kxconfig.ini of the
// single-user edition, so that ztgl-admin runs on it, and set databases <ZTLJ>.MDB with the
// permission tables.
class CatalogueFolder : public AccountSetFolder {
public:
    // What the set's own database looks like.
    enum class SetDb {
        Fresh,          // BaseLimits and User_Permissions with an older right of the default user
        Upgraded,       // as Fresh, plus the group "其它权限" (row ID '10')
        Missing,        // no file at all
        NoPermissions,  // BaseLimits only: granting the rights fails
    };

    CatalogueFolder() : AccountSetFolder(false) {
        QFile ini(file(QStringLiteral("kxconfig.ini")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[BASESETUP]\r\nISWLB=0\r\n[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\n"
                                     "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\nDATA_SOURCE=%1\r\nPASSWORD=\r\n"
                                     "PERSIST_SECURITY_INFO=\r\n")
                          .arg(file(managerFile()))
                          .toUtf8());
    }

    static QString managerFile() { return QStringLiteral("KXPUB.MDB"); }
    static QString setFile(const QString& ztlj) { return ztlj + QStringLiteral(".MDB"); }
    bool exists(const QString& fileName) const { return QFile::exists(file(fileName)); }

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
        ado::CreateJetDatabase(file(setFile(ztlj)));
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
        execSql(connectString(setFile(ztlj)), sql);
    }

    // Rows of a query on a database file of the folder, each row's values as text joined by "|".
    QStringList query(const QString& fileName, const QString& sql) const {
        return queryRows(connectString(fileName), sql);
    }
};

// A demo program folder (single-user, Access kind; at `dir`, an empty folder, or in a temporary
// folder of its own) on which the real ztgl-admin runs; openInProcess() starts as the program does
// (globals, gConn) for tests that drive the core or the windows directly.
class AdminFolder {
public:
    explicit AdminFolder(const QString& dir = QString())
        : m_path(dir.isEmpty() ? m_dir.path() + QStringLiteral("/prog") : dir) {
        m_ok = DemoFolder::build(m_path, &m_error);
    }
    ~AdminFolder() {
        Close_Connect();
        ResetGlobals();
    }

    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }
    const QString& path() const { return m_path; }
    QString file(const QString& name) const {
        return QDir::isAbsolutePath(name) ? name : m_path + '/' + name;
    }
    QString backupDir() const { return file(QStringLiteral("backup")); }
    // The backup files, oldest first.
    QStringList backups() const {
        QStringList out;
        for (const QString& f :
             QDir(backupDir()).entryList({QStringLiteral("*.ztbak")}, QDir::Files, QDir::Name))
            out << backupDir() + '/' + f;
        return out;
    }

    AdminRun admin(const QStringList& args, const AdminSetup& setup = {}) const {
        return runAdmin(QStringList{"--dir", m_path} + args, setup);
    }
    // Runs ztgl-admin and expects its exit code and, when given, a part of its standard error.
    AdminRun expect(const QStringList& args, int code, const QString& errPart = {}) const {
        return expectAdmin(m_path, args, code, errPart);
    }
    // A new set through ztgl-admin create (default user 张三, password 1); its Id.
    QString create(const QString& name) const {
        const AdminRun r = admin({"create", "--name", name, "--user", "张三", "--password", "1"});
        return r.code == 0 ? r.out.section("帐套编号：", 1).section(' ', 0, 0) : QString();
    }

    static QString connectString(const QString& file, bool readOnly = false) {
        return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file +
               (readOnly ? ";Mode=Read" : ";Mode=Read|Write");
    }
    // Rows of a query on a database file (a path, or a name in the folder), values joined by "|".
    QStringList query(const QString& db, const QString& sql) const {
        return queryRows(connectString(file(db)), sql);
    }
    void execute(const QString& db, const QString& sql) const { execSql(connectString(file(db)), {sql}); }
    // The record as ztgl-admin log prints it: action and outcome of each line.
    QStringList logActions(const QStringList& filter = {}) const {
        QStringList out;
        for (const QString& line : admin(QStringList{"log"} + filter).out.split('\n', Qt::SkipEmptyParts))
            out << line.section('\t', 3, 3) + ' ' + line.section('\t', 6, 6);
        return out;
    }

    // The program's start-up of the single-user edition on this folder: true when gConn is open.
    bool openInProcess() const {
        ResetGlobals();
        gAppPath = QDir::toNativeSeparators(m_path) + QDir::separator();
        gIniFile = gAppPath + QStringLiteral("kxconfig.ini");
        gConnectString = Get_ConnectString();
        return Open_Connect() == 1;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    bool m_ok = false;
};

}  // namespace ztgl::test
