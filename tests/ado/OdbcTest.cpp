// The pieces of the SQL Server engine over ODBC: the choice of driver, the translation of the providers'
// connection strings, the driver's diagnostics and the column types and values.
#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include "ScopedEnvironment.h"
#include "ado/DataType.h"
#include "ado/OdbcConnectionString.h"
#include "ado/OdbcDiagnostics.h"
#include "ado/OdbcDriverChoice.h"
#include "ado/OdbcTypeMap.h"
#include "platform/RuntimeError.h"

using namespace Qt::StringLiterals;

using ado::ConnectionString;
using ado::FieldInfo;
using ado::OdbcConnectionString;
using ado::OdbcDiagnostics;
using ado::OdbcDriverChoice;
using ado::OdbcTypeMap;
using ztgl::test::ScopedEnvironment;

namespace {

class OdbcDriverChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.set("ODBCSYSINI", dir.path().toLocal8Bit());
        env.unset("ODBCINSTINI");
        env.unset("ZTGL_ODBC_DRIVER");
    }
    void registerDrivers(const QByteArray& text) {
        QFile f(dir.filePath(u"odbcinst.ini"_s));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir dir;
    ScopedEnvironment env;
};

const QByteArray kAll =
    "[ODBC]\nTrace=No\n\n"
    "[FreeTDS]\nDriver=libtdsodbc.so\n\n"
    "[ODBC Driver 17 for SQL Server]\nDriver=/opt/microsoft/msodbcsql17/lib64/libmsodbcsql-17.so\n\n"
    "[ODBC Driver 18 for SQL Server]\nDriver=/opt/microsoft/msodbcsql18/lib64/libmsodbcsql-18.so\n";

}  // namespace

TEST_F(OdbcDriverChoiceTest, FirstInstalledOfThePreferredDriversUnlessTheEnvironmentNamesAnother) {
    registerDrivers(kAll);
    EXPECT_EQ(OdbcDriverChoice::odbcinstPath(), dir.filePath(u"odbcinst.ini"_s));
    EXPECT_EQ(
        OdbcDriverChoice::installedDrivers(OdbcDriverChoice::odbcinstPath()),
        QStringList({u"FreeTDS"_s, u"ODBC Driver 17 for SQL Server"_s, u"ODBC Driver 18 for SQL Server"_s}));
    EXPECT_TRUE(OdbcDriverChoice::installedDrivers(dir.filePath(u"missing.ini"_s)).isEmpty());
    struct Case {
        QByteArray ini;
        const char* variable;  // ZTGL_ODBC_DRIVER
        const char* chosen;
    } cases[] = {
        {kAll, nullptr, "ODBC Driver 18 for SQL Server"},
        {"[FreeTDS]\n[ODBC Driver 17 for SQL Server]\n", nullptr, "ODBC Driver 17 for SQL Server"},
        {"[SQLite3]\n[FreeTDS]\n", nullptr, "FreeTDS"},
        {"[freetds]\n", nullptr, "FreeTDS"},
        {kAll, "SQLite3", "SQLite3"},
        {kAll, "  ", "ODBC Driver 18 for SQL Server"},
    };
    for (const auto& c : cases) {
        registerDrivers(c.ini);
        if (c.variable)
            env.set("ZTGL_ODBC_DRIVER", c.variable);
        EXPECT_EQ(OdbcDriverChoice::current(), QString::fromUtf8(c.chosen)) << c.ini.constData();
    }
    // ODBCINSTINI names the file, relative to ODBCSYSINI or absolute.
    env.unset("ZTGL_ODBC_DRIVER");
    registerDrivers("[FreeTDS]\n");
    QFile::rename(dir.filePath(u"odbcinst.ini"_s), dir.filePath(u"drivers.ini"_s));
    env.set("ODBCINSTINI", "drivers.ini");
    EXPECT_EQ(OdbcDriverChoice::current(), u"FreeTDS"_s);
    env.set("ODBCINSTINI", dir.filePath(u"drivers.ini"_s).toLocal8Bit());
    EXPECT_EQ(OdbcDriverChoice::odbcinstPath(), dir.filePath(u"drivers.ini"_s));
}

TEST_F(OdbcDriverChoiceTest, NoDriverIsAClearError) {
    registerDrivers("[ODBC]\n[SQLite3]\nDriver=libsqlite3odbc.so\n");
    try {
        OdbcDriverChoice::current();
        FAIL() << "no error";
    } catch (const ztgl::RuntimeError& e) {
        EXPECT_EQ(e.number(), 3706);
        EXPECT_EQ(e.description(),
                  u"未找到 SQL Server 的 ODBC 驱动程序：%1 中没有登记 ODBC Driver 18 for SQL Server、"
                  "ODBC Driver 17 for SQL Server、FreeTDS。请安装其中之一，或用环境变量 "
                  "ZTGL_ODBC_DRIVER 指定驱动程序。"_s.arg(dir.filePath(u"odbcinst.ini"_s)));
    }
}

namespace {

const QString kMs18 = u"ODBC Driver 18 for SQL Server"_s;
const QString kMs17 = u"ODBC Driver 17 for SQL Server"_s;
const QString kTds = u"FreeTDS"_s;

QString translate(const char* oleDb, const QString& driver) {
    return OdbcConnectionString::translate(ConnectionString(QString::fromUtf8(oleDb)), driver);
}

}  // namespace

TEST(OdbcConnectionString, TranslatesTheProvidersStrings) {
    struct Case {
        const char* oleDb;
        QString driver;
        const char* odbc;
    } cases[] = {
        // The manager's string as the program builds it.
        {"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=123;Initial Catalog=KXPUB;"
         "Data Source=SRV01",
         kTds,
         "DRIVER={FreeTDS};SERVER=SRV01;DATABASE=KXPUB;UID=sa;PWD=123;TDS_Version=7.4;ClientCharset=UTF-8"},
        {"Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=123;Initial Catalog=KXPUB;"
         "Data Source=SRV01",
         kMs18,
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=SRV01;DATABASE=KXPUB;UID=sa;PWD=123;Encrypt=no"},
        {"Provider=SQLOLEDB;Data Source=SRV01;Initial Catalog=KXPUB;User ID=sa;Password=;Network "
         "Library=DBMSSOCN",
         kMs17, "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SRV01;DATABASE=KXPUB;UID=sa;PWD=;Encrypt=no"},
        // Port after a comma: its own item for FreeTDS, kept in SERVER for Microsoft's drivers.
        {"Provider=SQLNCLI11;Data Source=10.0.0.5,14330;Initial Catalog=db;User ID=u;Password=p", kTds,
         "DRIVER={FreeTDS};SERVER=10.0.0.5;Port=14330;DATABASE=db;UID=u;PWD=p;TDS_Version=7.4;ClientCharset="
         "UTF-8"},
        {"Provider=MSOLEDBSQL19;Data Source=10.0.0.5, 14330;Initial Catalog=db;User ID=u;Password=p", kMs18,
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=10.0.0.5,14330;DATABASE=db;UID=u;PWD=p;Encrypt=no"},
        // Named instance; with a port the instance lookup is not needed.
        {"Provider=SQLOLEDB;Data Source=SRV\\SQLEXPRESS;User ID=u;Password=p", kTds,
         "DRIVER={FreeTDS};SERVER=SRV\\SQLEXPRESS;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8"},
        {"Provider=SQLOLEDB;Data Source=tcp:SRV\\SQLEXPRESS,1500;User ID=u;Password=p", kTds,
         "DRIVER={FreeTDS};SERVER=SRV;Port=1500;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8"},
        // The local machine.
        {"Provider=SQLOLEDB;Data Source=(local);User ID=u;Password=p", kMs17,
         "DRIVER={ODBC Driver 17 for SQL Server};SERVER=127.0.0.1;UID=u;PWD=p;Encrypt=no"},
        {"Provider=SQLOLEDB;Data Source=.\\SQLEXPRESS;User ID=u;Password=p", kMs17,
         "DRIVER={ODBC Driver 17 for SQL Server};SERVER=127.0.0.1\\SQLEXPRESS;UID=u;PWD=p;Encrypt=no"},
        // Keys without regard to case, blanks around values, OLE DB quotes.
        {"provider=sqloledb; data source = SRV ;initial catalog=\"My Db\";user id='sa';PASSWORD= pw ", kMs17,
         "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SRV;DATABASE=My Db;UID=sa;PWD=pw;Encrypt=no"},
        // Values that would break the ODBC string go in braces.
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=sa;Password=a}b{c=d", kTds,
         "DRIVER={FreeTDS};SERVER=SRV;UID=sa;PWD={a}}b{c=d};TDS_Version=7.4;ClientCharset=UTF-8"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=sa;Password=' lead'", kMs17,
         "DRIVER={ODBC Driver 17 for SQL Server};SERVER=SRV;UID=sa;PWD={ lead};Encrypt=no"},
        // Windows log-in; application and workstation names; asked-for encryption.
        {"Provider=SQLOLEDB;Data Source=SRV;Integrated Security=SSPI;Initial Catalog=KXPUB", kMs18,
         "DRIVER={ODBC Driver 18 for SQL "
         "Server};SERVER=SRV;DATABASE=KXPUB;Trusted_Connection=Yes;Encrypt=no"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p;Application Name=ztgl;Workstation ID=PC1;"
         "Use Encryption for Data=True;Trust Server Certificate=True",
         kMs18,
         "DRIVER={ODBC Driver 18 for SQL Server};SERVER=SRV;UID=u;PWD=p;APP=ztgl;WSID=PC1;Encrypt=yes;"
         "TrustServerCertificate=yes"},
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p;Use Encryption for Data=True", kTds,
         "DRIVER={FreeTDS};SERVER=SRV;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8;Encryption=require"},
        // Chinese database names pass unchanged.
        {"Provider=SQLOLEDB;Data Source=SRV;Initial Catalog=KXPUB_帐套;User ID=u;Password=密码", kTds,
         "DRIVER={FreeTDS};SERVER=SRV;DATABASE=KXPUB_帐套;UID=u;PWD=密码;TDS_Version=7.4;ClientCharset=UTF-"
         "8"},
        // A driver given by file name.
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p", u"/usr/lib/libtdsodbc.so"_s,
         "DRIVER={/usr/lib/libtdsodbc.so};SERVER=SRV;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translate(c.oleDb, c.driver), QString::fromUtf8(c.odbc)) << c.oleDb;
}

TEST(OdbcConnectionString, RecognisesFreeTdsAndQuotesOnlyWhatNeedsIt) {
    EXPECT_TRUE(OdbcConnectionString::isFreeTds(u"FreeTDS"_s));
    EXPECT_TRUE(OdbcConnectionString::isFreeTds(u"freetds 1.3"_s));
    EXPECT_TRUE(OdbcConnectionString::isFreeTds(u"/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"_s));
    EXPECT_FALSE(OdbcConnectionString::isFreeTds(kMs18));
    EXPECT_FALSE(OdbcConnectionString::isFreeTds(u"SQLite3"_s));
    EXPECT_EQ(OdbcConnectionString::quoteValue(u"plain"_s), u"plain"_s);
    EXPECT_EQ(OdbcConnectionString::quoteValue(QString()), QString());
    EXPECT_EQ(OdbcConnectionString::quoteValue(u"a;b"_s), u"{a;b}"_s);
    EXPECT_EQ(OdbcConnectionString::quoteValue(u"}"_s), u"{}}}"_s);
    EXPECT_EQ(OdbcConnectionString::quoteValue(u"x "_s), u"{x }"_s);
    EXPECT_EQ(OdbcConnectionString::quoteValue(u"a b"_s), u"a b"_s);
}

TEST(OdbcConnectionString, LoginTimeout) {
    struct Case {
        const char* oleDb;
        int fallback;
        int seconds;
    } cases[] = {
        {"Provider=SQLOLEDB;Data Source=S", 15, 15},
        {"Provider=SQLOLEDB;Data Source=S", 3, 3},
        {"Provider=SQLOLEDB;Data Source=S;Connect Timeout=7", 15, 7},
        {"Provider=SQLOLEDB;Data Source=S;connect timeout = 2 ", 15, 2},
        {"Provider=SQLOLEDB;Data Source=S;Connect Timeout=abc", 4, 4},
        // Never an endless wait.
        {"Provider=SQLOLEDB;Data Source=S", 0, 15},
        {"Provider=SQLOLEDB;Data Source=S;Connect Timeout=0", 5, 15},
        {"Provider=SQLOLEDB;Data Source=S", -1, 15},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            OdbcConnectionString::loginTimeout(ConnectionString(QString::fromUtf8(c.oleDb)), c.fallback),
            c.seconds)
            << c.oleDb << " / " << c.fallback;
}

TEST(OdbcDiagnostics, KeepsTheRecordsTextsOnly) {
    struct Case {
        const char* databaseText;
        const char* driverText;
        const char* text;
    } cases[] = {
        // What FreeTDS gives for a closed port, an unknown host and a silent server.
        {"[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unable to connect: "
         "Adaptive "
         "Server is unavailable or does not exist",
         "QODBC: Unable to connect", "Unable to connect: Adaptive Server is unavailable or does not exist"},
        {"[FreeTDS][SQL Server]Unable to connect to data source [FreeTDS][SQL Server]Unknown host machine "
         "name.",
         "QODBC: Unable to connect", "Unknown host machine name."},
        {"[FreeTDS][SQL Server]Timeout expired [FreeTDS][SQL Server]Unable to connect to data source",
         "QODBC: Unable to connect", "Timeout expired"},
        // The server's own text, several records, repeats.
        {"[Microsoft][ODBC Driver 18 for SQL Server][SQL Server]对象名 'ZTML' 无效。 [Microsoft][ODBC Driver "
         "18 for "
         "SQL Server][SQL Server]无法预定义语句。",
         "QODBC: Unable to execute statement", "对象名 'ZTML' 无效。\n无法预定义语句。"},
        {"[unixODBC][FreeTDS][SQL Server]Login failed for user 'sa'. [unixODBC][FreeTDS][SQL Server]Login "
         "failed "
         "for user 'sa'.",
         "QODBC: Unable to connect", "Login failed for user 'sa'."},
        {"[unixODBC][Driver Manager]Data source name not found and no default driver specified",
         "QODBC: Unable to connect", "Data source name not found and no default driver specified"},
        // The generic record alone is all there is.
        {"[FreeTDS][SQL Server]Unable to connect to data source", "QODBC: Unable to connect",
         "Unable to connect to data source"},
        // Text without tags; no records at all.
        {"no such table: nosuch (1)", "QODBC: Unable to execute statement", "no such table: nosuch (1)"},
        {"", "QODBC: Unable to begin transaction", "Unable to begin transaction"},
        {"  ", "QODBC3: Unable to fetch last", "Unable to fetch last"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OdbcDiagnostics::text(QString::fromUtf8(c.databaseText), QString::fromUtf8(c.driverText)),
                  QString::fromUtf8(c.text))
            << c.databaseText;
}

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
        const FieldInfo f = OdbcTypeMap::fieldInfo(u"Col"_s, c.sqlType, c.size, c.scale);
        EXPECT_EQ(f.name, u"Col"_s);
        EXPECT_EQ(f.type, c.type) << c.column;
        EXPECT_EQ(f.definedSize, c.definedSize) << c.column;
    }
}

TEST(OdbcTypeMap, ValuesAreTypedByTheirColumnAndNullStaysNull) {
    auto field = [](int type) { return FieldInfo{u"c"_s, type, 0}; };
    struct Case {
        const char* what;
        QVariant fetched;
        int type;
        int scale;
        QVariant expected;
    } cases[] = {
        {"nvarchar", u"帐套"_s, ado::adVarWChar, 0, u"帐套"_s},
        {"int as text", u"42"_s, ado::adInteger, 0, 42},
        {"tinyint as uint", QVariant(uint(255)), ado::adUnsignedTinyInt, 0, 255},
        {"bigint", QVariant(qlonglong(1) << 40), ado::adBigInt, 0, QVariant(qlonglong(1) << 40)},
        {"bit", QVariant(uint(1)), ado::adBoolean, 0, true},
        {"bit zero", u"0"_s, ado::adBoolean, 0, false},
        {"float", 1.25, ado::adDouble, 0, 1.25},
        {"money", u"12.3400"_s, ado::adCurrency, 4, 12.34},
        {"decimal", u"3.50"_s, ado::adNumeric, 2, 3.5},
        {"numeric whole", u"9007199254740993"_s, ado::adNumeric, 0, QVariant(qlonglong(9007199254740993LL))},
        {"datetime", QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)), ado::adDate, 0,
         QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9))},
        {"date", QDate(2024, 5, 6), ado::adDate, 0, QDateTime(QDate(2024, 5, 6), QTime(0, 0))},
        {"time", QTime(13, 14, 15), ado::adDate, 0, QDateTime(QDate(1899, 12, 30), QTime(13, 14, 15))},
        {"guid", u"6f9619ff-8b86-d011-b42d-00c04fc964ff"_s, ado::adGUID, 0,
         u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s},
        {"guid in braces", u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s, ado::adGUID, 0,
         u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s},
        {"binary", QByteArray("\x01\x02", 2), ado::adVarBinary, 0, QByteArray("\x01\x02", 2)},
    };
    for (const auto& c : cases) {
        const QVariant v = OdbcTypeMap::value(c.fetched, field(c.type), c.scale);
        EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.what;
        EXPECT_EQ(v, c.expected) << c.what;
    }
    // Null stays a Null of the column's type.
    const int types[] = {ado::adVarWChar, ado::adInteger, ado::adBoolean, ado::adDouble,   ado::adCurrency,
                         ado::adNumeric,  ado::adDate,    ado::adGUID,    ado::adVarBinary};
    for (int type : types) {
        for (const QVariant& fetched : {QVariant(), QVariant(QMetaType(QMetaType::QString))}) {
            const QVariant v = OdbcTypeMap::value(fetched, FieldInfo{u"c"_s, type, 0}, 0);
            EXPECT_TRUE(v.isNull()) << type;
            EXPECT_TRUE(v.isValid()) << type;
        }
    }
    EXPECT_EQ(OdbcTypeMap::value(QVariant(), FieldInfo{u"c"_s, ado::adDate, 8}, 0).metaType(),
              QMetaType(QMetaType::QDateTime));
}
