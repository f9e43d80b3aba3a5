#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDateTime>

#include "JetTestDatabase.h"
#include "ado/Connection.h"
#include "ado/DataType.h"
#include "ado/Recordset.h"
#include "platform/RuntimeError.h"

using ado::Recordset;
using ztgl::test::JetTestDatabase;

namespace {

class JetRecordset : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            {QStringLiteral(
                 "CREATE TABLE ZTML (Id TEXT(10) NOT NULL PRIMARY KEY, ZTMC TEXT(50), UserFlag LONG, "
                 "CreateTime TEXT(10))"),
             QStringLiteral("CREATE TABLE Kinds (A TEXT(10), B LONG, C CURRENCY, D DATETIME, E BIT, F MEMO, "
                            "G SHORT, H BYTE, I SINGLE, J DOUBLE, K GUID, L DECIMAL(18,4), M LONGBINARY)")});
        conn.setConnectionString(db.connectionString());
        conn.Open();
    }
    void open(const QString& sql) { rs.Open(sql, conn); }

    JetTestDatabase db;
    ado::Connection conn;
    Recordset rs;
};

}  // namespace

TEST_F(JetRecordset, ValuesComeBackTypedByTheirColumns) {
    conn.Execute(QStringLiteral(
        "insert into Kinds values ('abc', 7, 12.5, #2024-03-05 14:07:09#, 1, '长文本', 3, 255, "
        "1.5, 2.25, '{6F9619FF-8B86-D011-B42D-00C04FC964FF}', 1.2345, x'0102')"));
    conn.Execute(QStringLiteral("insert into Kinds (A, D, E) values (null, #2024-03-05#, 0)"));
    open(QStringLiteral("select * from Kinds order by B desc"));
    ASSERT_EQ(rs.RecordCount(), 2);
    const struct {
        const char* name;
        int type;
        qint64 size;
        QVariant value;
    } cases[] = {
        {"A", ado::adVarWChar, 10, QStringLiteral("abc")},
        {"B", ado::adInteger, 4, 7},
        {"C", ado::adCurrency, 8, 12.5},
        {"D", ado::adDate, 8, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))},
        {"E", ado::adBoolean, 2, true},
        {"F", ado::adLongVarWChar, 536870910, QStringLiteral("长文本")},
        {"G", ado::adSmallInt, 2, 3},
        {"H", ado::adUnsignedTinyInt, 1, 255},
        {"I", ado::adSingle, 4, 1.5},
        {"J", ado::adDouble, 8, 2.25},
        {"K", ado::adGUID, 16, QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")},
        {"L", ado::adNumeric, 16, 1.2345},
        {"M", ado::adLongVarBinary, 1073741823, QByteArray("\x01\x02")},
    };
    for (const auto& c : cases) {
        const ado::Field f = rs.Fields(QString::fromLatin1(c.name));
        EXPECT_EQ(f.Name(), QString::fromLatin1(c.name));
        EXPECT_EQ(f.Type(), c.type) << c.name;
        EXPECT_EQ(f.DefinedSize(), c.size) << c.name;
        EXPECT_EQ(f.Value(), c.value) << c.name;
        EXPECT_EQ(f.Value().typeId(), c.value.typeId()) << c.name;
    }
    EXPECT_EQ(rs.Fields(QStringLiteral("D")).text(), QStringLiteral("2024-03-05 14:07:09"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Fields(QStringLiteral("A")).isNull());
    EXPECT_TRUE(rs.Fields(QStringLiteral("B")).isNull());
    EXPECT_EQ(rs.Fields(QStringLiteral("D")).text(), QStringLiteral("2024-03-05"));
    EXPECT_EQ(rs.Fields(QStringLiteral("E")).text(), QStringLiteral("False"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());

    // The clock of the engine is a date too.
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    open(QStringLiteral("select now() as sj"));
    const ado::Field now = rs.Fields(QStringLiteral("sj"));
    EXPECT_EQ(now.Type(), ado::adDate);
    ASSERT_EQ(now.Value().typeId(), QMetaType::QDateTime);
    EXPECT_GE(before.secsTo(now.Value().toDateTime()), 0);
    EXPECT_LE(before.secsTo(now.Value().toDateTime()), 3);
}

TEST_F(JetRecordset, DateLiteralsCompareWithStoredDates) {
    conn.Execute(QStringLiteral("insert into Kinds (A, D) values ('a', #2024-03-05#)"));
    conn.Execute(QStringLiteral("insert into Kinds (A, D) values ('b', #2024-03-05 14:07:09#)"));
    conn.Execute(QStringLiteral("insert into Kinds (A, D) values ('c', #2024-03-06#)"));
    open(QStringLiteral("select A from Kinds where D = #2024-03-05# or D = #3/6/2024#"));
    EXPECT_EQ(rs.RecordCount(), 2);
    open(QStringLiteral(
        "select A from Kinds where D between #2024-03-05# and #2024-03-05 23:59:59# order by A"));
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields(0).text(), QStringLiteral("a"));
    open(QStringLiteral("select count(*) from Kinds where D < now()"));
    EXPECT_EQ(rs.Fields(0).Value().toInt(), 3);
}

TEST_F(JetRecordset, FieldsAreNamedAsJetNamesThemEvenWithoutRows) {
    open(QStringLiteral("select count(*), 1 + 1 as two, sum(B), A from Kinds"));
    ASSERT_EQ(rs.FieldCount(), 4);
    EXPECT_EQ(rs.Fields(0).Name(), QStringLiteral("Expr1000"));
    EXPECT_EQ(rs.Fields(1).Name(), QStringLiteral("two"));
    EXPECT_EQ(rs.Fields(2).Name(), QStringLiteral("Expr1001"));
    EXPECT_EQ(rs.Fields(3).Name(), QStringLiteral("A"));
    EXPECT_EQ(rs.Fields(0).Type(), ado::adInteger);

    // An empty result still describes its fields.
    open(QStringLiteral("select * from ZTML where Id = '99'"));
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.RecordCount(), 0);
    ASSERT_EQ(rs.FieldCount(), 4);
    EXPECT_EQ(rs.rows().fields[1].name, QStringLiteral("ZTMC"));
    EXPECT_EQ(rs.rows().fields[1].definedSize, 50);
    EXPECT_THROW(rs.Fields(QStringLiteral("ZTMC")), ztgl::RuntimeError);
}
