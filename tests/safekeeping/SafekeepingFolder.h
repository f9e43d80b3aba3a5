#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "process/Globals.h"

namespace ztgl::test {

// A demo program folder (single-user, Access kind) for the safekeeping tests: sets are made and
// changed by the real ztgl-admin; openInProcess() starts as the program does (globals, gConn) for
// the tests that drive the core or the windows directly.
class SafekeepingFolder {
public:
    SafekeepingFolder() : m_path(m_dir.path() + QStringLiteral("/prog")) {
        m_ok = DemoFolder::build(m_path, &m_error);
    }
    ~SafekeepingFolder() {
        Close_Connect();
        ResetGlobals();
    }

    bool ok() const { return m_ok; }
    const QString& error() const { return m_error; }
    const QString& path() const { return m_path; }
    QString file(const QString& name) const { return m_path + QLatin1Char('/') + name; }
    QString backupDir() const { return file(QStringLiteral("backup")); }
    // The backup files, oldest first.
    QStringList backups() const {
        QStringList out;
        for (const QString& f :
             QDir(backupDir()).entryList({QStringLiteral("*.ztbak")}, QDir::Files, QDir::Name))
            out << backupDir() + QLatin1Char('/') + f;
        return out;
    }

    AdminRun admin(const QStringList& args) const {
        return runAdmin(QStringList{QStringLiteral("--dir"), m_path} + args);
    }
    // A new set through ztgl-admin create; its Id.
    QString create(const QString& name) const {
        const AdminRun r =
            admin({QStringLiteral("create"), QStringLiteral("--name"), name, QStringLiteral("--user"),
                   QStringLiteral("张三"), QStringLiteral("--password"), QStringLiteral("1")});
        return r.code == 0 ? r.out.section(QStringLiteral("帐套编号："), 1).section(QLatin1Char(' '), 0, 0)
                           : QString();
    }

    static QString connectString(const QString& file, bool readOnly = false) {
        return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
               (readOnly ? QStringLiteral(";Mode=Read") : QStringLiteral(";Mode=Read|Write"));
    }
    // Rows of a query on a database file (a path, or a name in the folder), values joined by "|".
    QStringList query(const QString& db, const QString& sql) const {
        ado::Connection conn;
        conn.setConnectionString(connectString(QDir::isAbsolutePath(db) ? db : file(db)));
        conn.Open();
        ado::Recordset rs;
        rs.Open(sql, conn);
        QStringList out;
        for (const auto& row : rs.rows().rows) {
            QStringList values;
            for (const QVariant& v : row)
                values << v.toString();
            out << values.join(QLatin1Char('|'));
        }
        rs.Close();
        conn.Close();
        return out;
    }
    void execute(const QString& db, const QString& sql) const {
        ado::Connection conn;
        conn.setConnectionString(connectString(QDir::isAbsolutePath(db) ? db : file(db)));
        conn.Open();
        conn.Execute(sql);
        conn.Close();
    }
    // The record as ztgl-admin log prints it: action and outcome of each line.
    QStringList logActions(const QStringList& filter = {}) const {
        QStringList out;
        for (const QString& line : admin(QStringList{QStringLiteral("log")} + filter)
                                       .out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            out << line.section(QLatin1Char('\t'), 3, 3) + QLatin1Char(' ') +
                       line.section(QLatin1Char('\t'), 6, 6);
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
