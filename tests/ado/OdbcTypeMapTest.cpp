#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDateTime>

#include "ado/DataType.h"
#include "ado/OdbcTypeMap.h"

using ado::FieldInfo;
using ado::OdbcTypeMap;

TEST(OdbcTypeMap, ColumnTypesAsAdoReportsThem) {
    struct Case {
        const char* column;  // the SQL Server declaration
        int sqlType;
        qint64 size;
        int scale;
        int type;
        qint64 definedSize;
    } cases[] = {
        {"nvarchar(40)", SQL_WVARCHAR, 40, 0, ado::adVarWChar, 40},
        {"varchar(50)", SQL_VARCHAR, 50, 0, ado::adVarWChar, 50},
        {"nchar(10)", SQL_WCHAR, 10, 0, ado::adVarWChar, 10},
        {"char(8000)", SQL_CHAR, 8000, 0, ado::adVarWChar, 8000},
        {"nvarchar(max)", SQL_WVARCHAR, 0, 0, ado::adLongVarWChar, 0},
        {"varchar(max) via FreeTDS", SQL_VARCHAR, 2147483647, 0, ado::adLongVarWChar, 2147483647},
        {"ntext", SQL_WLONGVARCHAR, 1073741823, 0, ado::adLongVarWChar, 1073741823},
        {"text", SQL_LONGVARCHAR, 2147483647, 0, ado::adLongVarWChar, 2147483647},
        {"xml", -152, 0, 0, ado::adLongVarWChar, 0},
        {"int", SQL_INTEGER, 10, 0, ado::adInteger, 4},
        {"smallint", SQL_SMALLINT, 5, 0, ado::adSmallInt, 2},
        {"tinyint", SQL_TINYINT, 3, 0, ado::adUnsignedTinyInt, 1},
        {"bigint", SQL_BIGINT, 19, 0, ado::adBigInt, 8},
        {"bit", SQL_BIT, 1, 0, ado::adBoolean, 2},
        {"float", SQL_FLOAT, 53, 0, ado::adDouble, 8},
        {"float via FreeTDS", SQL_DOUBLE, 15, 0, ado::adDouble, 8},
        {"real", SQL_REAL, 24, 0, ado::adSingle, 4},
        {"money", SQL_DECIMAL, 19, 4, ado::adCurrency, 8},
        {"smallmoney", SQL_DECIMAL, 10, 4, ado::adCurrency, 8},
        {"decimal(18,2)", SQL_DECIMAL, 18, 2, ado::adNumeric, 18},
        {"numeric(10,0)", SQL_NUMERIC, 10, 0, ado::adNumeric, 10},
        {"datetime", SQL_TYPE_TIMESTAMP, 23, 3, ado::adDate, 8},
        {"smalldatetime", SQL_TYPE_TIMESTAMP, 16, 0, ado::adDate, 8},
        {"date", SQL_TYPE_DATE, 10, 0, ado::adDate, 8},
        {"time", -154, 16, 7, ado::adDate, 8},
        {"datetimeoffset", -155, 34, 7, ado::adDate, 8},
        {"uniqueidentifier", SQL_GUID, 36, 0, ado::adGUID, 16},
        {"varbinary(16)", SQL_VARBINARY, 16, 0, ado::adVarBinary, 16},
        {"binary(8)", SQL_BINARY, 8, 0, ado::adVarBinary, 8},
        {"varbinary(max)", SQL_VARBINARY, 0, 0, ado::adLongVarBinary, 0},
        {"image", SQL_LONGVARBINARY, 2147483647, 0, ado::adLongVarBinary, 2147483647},
        {"sql_variant", -150, 8000, 0, ado::adVariant, 8000},
    };
    for (const auto& c : cases) {
        const FieldInfo f = OdbcTypeMap::fieldInfo(QStringLiteral("Col"), c.sqlType, c.size, c.scale);
        EXPECT_EQ(f.name, QStringLiteral("Col"));
        EXPECT_EQ(f.type, c.type) << c.column;
        EXPECT_EQ(f.definedSize, c.definedSize) << c.column;
    }
}

TEST(OdbcTypeMap, ValuesAreTypedByTheirColumn) {
    auto field = [](int type) { return FieldInfo{QStringLiteral("c"), type, 0}; };
    struct Case {
        const char* what;
        QVariant fetched;
        int type;
        int scale;
        QVariant expected;
    } cases[] = {
        {"nvarchar", QStringLiteral("帐套"), ado::adVarWChar, 0, QStringLiteral("帐套")},
        {"int as text", QStringLiteral("42"), ado::adInteger, 0, 42},
        {"tinyint as uint", QVariant(uint(255)), ado::adUnsignedTinyInt, 0, 255},
        {"bigint", QVariant(qlonglong(1) << 40), ado::adBigInt, 0, QVariant(qlonglong(1) << 40)},
        {"bit", QVariant(uint(1)), ado::adBoolean, 0, true},
        {"bit zero", QStringLiteral("0"), ado::adBoolean, 0, false},
        {"float", 1.25, ado::adDouble, 0, 1.25},
        {"money", QStringLiteral("12.3400"), ado::adCurrency, 4, 12.34},
        {"decimal", QStringLiteral("3.50"), ado::adNumeric, 2, 3.5},
        {"numeric whole", QStringLiteral("9007199254740993"), ado::adNumeric, 0,
         QVariant(qlonglong(9007199254740993LL))},
        {"datetime", QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), ado::adDate, 0,
         QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))},
        {"date", QDate(2024, 5, 6), ado::adDate, 0, QDateTime(QDate(2024, 5, 6), QTime(0, 0))},
        {"time", QTime(13, 14, 15), ado::adDate, 0, QDateTime(QDate(1899, 12, 30), QTime(13, 14, 15))},
        {"guid", QStringLiteral("6f9619ff-8b86-d011-b42d-00c04fc964ff"), ado::adGUID, 0,
         QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")},
        {"guid in braces", QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"), ado::adGUID, 0,
         QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}")},
        {"binary", QByteArray("\x01\x02", 2), ado::adVarBinary, 0, QByteArray("\x01\x02", 2)},
    };
    for (const auto& c : cases) {
        const QVariant v = OdbcTypeMap::value(c.fetched, field(c.type), c.scale);
        EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.what;
        EXPECT_EQ(v, c.expected) << c.what;
    }
}

TEST(OdbcTypeMap, NullStaysNullOfTheColumnsType) {
    const int types[] = {ado::adVarWChar, ado::adInteger, ado::adBoolean, ado::adDouble,   ado::adCurrency,
                         ado::adNumeric,  ado::adDate,    ado::adGUID,    ado::adVarBinary};
    for (int type : types) {
        for (const QVariant& fetched : {QVariant(), QVariant(QMetaType(QMetaType::QString))}) {
            const QVariant v = OdbcTypeMap::value(fetched, FieldInfo{QStringLiteral("c"), type, 0}, 0);
            EXPECT_TRUE(v.isNull()) << type;
            EXPECT_TRUE(v.isValid()) << type;
        }
    }
    EXPECT_EQ(OdbcTypeMap::value(QVariant(), FieldInfo{QStringLiteral("c"), ado::adDate, 8}, 0).metaType(),
              QMetaType(QMetaType::QDateTime));
}
