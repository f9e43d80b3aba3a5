#include "FaultFolder.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>

namespace ztgl::test {

namespace {

const QString kTemplate = "MWMSD_NULL.mdb";

QString text(const unsigned char* value) {
    return value ? QString::fromUtf8(reinterpret_cast<const char*>(value)) : "NULL";
}

}  // namespace

AdminRun FaultFolder::create(const QString& name, const AdminSetup& setup, bool yes) const {
    QStringList args{"create", "--name", name, "--user", "王五", "--password", "pw"};
    if (yes)
        args.prepend("--yes");
    return admin(args, setup);
}

QStringList FaultFolder::query(const QString& fileName, const QString& sql) const {
    QStringList rows;
    if (!QFile::exists(file(fileName)))
        return {"error: no file"};
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(file(fileName)).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
    while ((rc == SQLITE_OK || rc == SQLITE_ROW) && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        QStringList values;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            values << text(sqlite3_column_text(st, c));
        rows << values.join(QLatin1Char('|'));
    }
    if (rc != SQLITE_DONE)
        rows = QStringList{"error: " + QString::fromUtf8(sqlite3_errmsg(db))};
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
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
