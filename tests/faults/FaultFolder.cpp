#include "FaultFolder.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>

namespace ztgl::test {

namespace {

const QString kTemplate = "MWMSD_NULL.mdb";

}  // namespace

AdminRun FaultFolder::create(const QString& name, const AdminSetup& setup, bool yes) const {
    QStringList args{"create", "--name", name, "--user", "王五", "--password", "pw"};
    if (yes)
        args.prepend("--yes");
    return admin(args, setup);
}

QStringList FaultFolder::query(const QString& fileName, const QString& sql) const {
    try {
        return queryRows(connectString(file(fileName), true), sql);
    } catch (const std::exception& e) {
        return {"error: " + errorText(e)};
    }
}

QStringList FaultFolder::dump(const QString& fileName) const {
    QStringList out;
    for (const QString& table :
         query(fileName, QStringLiteral("select name from sqlite_master where type='table' "
                                        "order by name"))) {
        out << QStringLiteral("[%1]").arg(table);
        out << query(fileName, QStringLiteral("select * from \"%1\"").arg(table));
    }
    return out;
}

QByteArray FaultFolder::bytes(const QString& fileName) const {
    QFile f(file(fileName));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList FaultFolder::inconsistencies() const {
    QStringList problems;
    QStringList catalogued;
    for (const QString& row : query("KXPUB.MDB", "select ZTLJ from ZTML")) {
        catalogued << row + ".MDB";
        const QStringList user = query(catalogued.last(), "select Uname from Users where Id='0'");
        if (user.size() != 1 || user.first().startsWith(QLatin1String("error:")))
            problems << QStringLiteral("set %1: %2").arg(row, user.join(QLatin1Char(' ')));
    }
    const QByteArray templateBytes = bytes(kTemplate);
    for (const QString& name : QDir(path()).entryList({"*.mdb"}, QDir::Files)) {
        if (name == QLatin1String("KXPUB.MDB") || name == kTemplate || catalogued.contains(name))
            continue;
        if (bytes(name) != templateBytes)
            problems << QStringLiteral("%1: not catalogued and not a whole copy of the template").arg(name);
    }
    return problems;
}

ForeignWriter::ForeignWriter(const QString& file, Lock lock) {
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) !=
        SQLITE_OK)
        return;
    m_holds = sqlite3_exec(m_db, lock == Lock::Write ? "BEGIN IMMEDIATE" : "BEGIN EXCLUSIVE", nullptr,
                           nullptr, nullptr) == SQLITE_OK;
}

ForeignWriter::~ForeignWriter() {
    if (m_holds)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
}

}  // namespace ztgl::test
