#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "JetTestDatabase.h"
#include "ado/Connection.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "process/Globals.h"

namespace ztgl::test {

// A demo program folder (single-user, Access kind) on which the real ztgl-admin runs; openInProcess()
// starts as the program does (globals, gConn) for tests that drive the core or the windows directly.
class AdminFolder {
public:
    AdminFolder() : m_path(m_dir.path() + QStringLiteral("/prog")) {
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

    AdminRun admin(const QStringList& args) const { return runAdmin(QStringList{"--dir", m_path} + args); }
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
