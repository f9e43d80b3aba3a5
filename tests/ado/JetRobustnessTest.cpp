#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "JetTestDatabase.h"
#include "QtPrinters.h"
#include "ado/Connection.h"
#include "ado/JetCatalog.h"
#include "ado/JetDdl.h"
#include "ado/JetLike.h"
#include "ado/JetSql.h"
#include "ado/Recordset.h"
#include "platform/RuntimeError.h"

namespace {

// Statements assembled from pieces of real ones in random order: broken definitions, stray quotes,
// brackets and date marks. Seeded, so a failure repeats.
QStringList randomStatements(int count) {
    static const QStringList pieces =
        QStringLiteral(
            "CREATE TABLE ALTER ADD COLUMN T [T ] ( ) , ' \" # #2024-03-05# TEXT (10) COUNTER AUTOINCREMENT "
            "(1, "
            "NOT NULL DEFAULT now () PRIMARY KEY UNIQUE FOREIGN REFERENCES CONSTRAINT WITH COMP COLLATE "
            "NOCASE select * from where like '%[_]%' & clng( -- /* ; 中文 1 -1.5 e `")
            .split(QLatin1Char(' '));
    QRandomGenerator rng(20240305);
    QStringList out;
    for (int i = 0; i < count; ++i) {
        QString s;
        const int n = rng.bounded(1, 14);
        for (int k = 0; k < n; ++k)
            s += pieces[rng.bounded(int(pieces.size()))] + QLatin1Char(' ');
        out << s;
    }
    out << QStringLiteral("CREATE TABLE T (A AUTOINCREMENT(")
        << QStringLiteral("CREATE TABLE T (A TEXT(10) DEFAULT now(") << QStringLiteral("ALTER TABLE T ADD")
        << QStringLiteral("CREATE TABLE T (CONSTRAINT") << QStringLiteral("#");
    return out;
}

}  // namespace

TEST(JetRobustness, ArbitraryStatementsGiveResultsOrRuntimeErrorsNeverCrashes) {
    ztgl::test::JetTestDatabase db;
    db.exec({QStringLiteral("CREATE TABLE T (A TEXT(10), B LONG)"),
             QStringLiteral("INSERT INTO T VALUES ('x', 1)")});
    ado::Connection conn;
    conn.setConnectionString(db.connectionString());
    conn.Open();
    int failures = 0;
    for (const QString& sql : randomStatements(1500)) {
        try {
            ado::JetDdl::constraints(sql);
            ado::JetCatalog::jetDefault(sql);
            ado::JetLike::match(sql, sql.left(12));
            ado::JetDdl::rewrite(ado::JetSql::rewrite(sql));
        } catch (const ztgl::RuntimeError& e) {
            EXPECT_EQ(e.number(), 3075) << sql;  // only a date literal can be refused here
        }
        try {
            ado::Recordset rs;
            rs.Open(sql, conn);
        } catch (const ztgl::RuntimeError& e) {
            EXPECT_FALSE(e.description().isEmpty()) << sql;
            ++failures;
        }
    }
    EXPECT_GT(failures, 0);
    // The connection still works, and the table is still there unless a random statement dropped it.
    ado::Recordset rs;
    EXPECT_NO_THROW(rs.Open(QStringLiteral("select 1"), conn));
    EXPECT_NO_THROW(ado::Catalog().Open(db.connectionString()));
}

TEST(JetRobustness, FileNamesWithUnusualCharactersOpen) {
    for (const QString& name : {QStringLiteral("a b#c?d%20.MDB"), QStringLiteral("帐套 (1).mdb")}) {
        ztgl::test::JetTestDatabase db(name);
        ado::Connection conn;
        conn.setConnectionString(db.connectionString());
        EXPECT_NO_THROW(conn.Open()) << name;
        EXPECT_NO_THROW(conn.Execute(QStringLiteral("CREATE TABLE T (A LONG)"))) << name;
    }
}

TEST(JetRobustness, ReadOnlyModeRefusesWrites) {
    ztgl::test::JetTestDatabase db;
    db.exec({QStringLiteral("CREATE TABLE T (A LONG)")});
    ado::Connection conn;
    QString cs = db.connectionString();
    cs.replace(QStringLiteral("Mode=Read|Write"), QStringLiteral("Mode=Read"));
    conn.setConnectionString(cs);
    conn.Open();
    ado::Recordset rs;
    EXPECT_NO_THROW(rs.Open(QStringLiteral("select * from T"), conn));
    try {
        conn.Execute(QStringLiteral("INSERT INTO T VALUES (1)"));
        ADD_FAILURE() << "written";
    } catch (const ztgl::RuntimeError& e) {
        EXPECT_EQ(e.number(), 3027);
        EXPECT_EQ(e.description(), QStringLiteral("不能更新。数据库或对象为只读。"));
    }
}
