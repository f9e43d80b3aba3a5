#include <gtest/gtest.h>

#include "ado/OdbcConnectionString.h"

using ado::ConnectionString;
using ado::OdbcConnectionString;

namespace {

const QString kMs18 = QStringLiteral("ODBC Driver 18 for SQL Server");
const QString kMs17 = QStringLiteral("ODBC Driver 17 for SQL Server");
const QString kTds = QStringLiteral("FreeTDS");

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
        {"Provider=SQLOLEDB;Data Source=SRV;User ID=u;Password=p", QStringLiteral("/usr/lib/libtdsodbc.so"),
         "DRIVER={/usr/lib/libtdsodbc.so};SERVER=SRV;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translate(c.oleDb, c.driver), QString::fromUtf8(c.odbc)) << c.oleDb;
}

TEST(OdbcConnectionString, RecognisesFreeTds) {
    EXPECT_TRUE(OdbcConnectionString::isFreeTds(QStringLiteral("FreeTDS")));
    EXPECT_TRUE(OdbcConnectionString::isFreeTds(QStringLiteral("freetds 1.3")));
    EXPECT_TRUE(
        OdbcConnectionString::isFreeTds(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so")));
    EXPECT_FALSE(OdbcConnectionString::isFreeTds(kMs18));
    EXPECT_FALSE(OdbcConnectionString::isFreeTds(QStringLiteral("SQLite3")));
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

TEST(OdbcConnectionString, QuotesOnlyWhatNeedsIt) {
    EXPECT_EQ(OdbcConnectionString::quoteValue(QStringLiteral("plain")), QStringLiteral("plain"));
    EXPECT_EQ(OdbcConnectionString::quoteValue(QString()), QString());
    EXPECT_EQ(OdbcConnectionString::quoteValue(QStringLiteral("a;b")), QStringLiteral("{a;b}"));
    EXPECT_EQ(OdbcConnectionString::quoteValue(QStringLiteral("}")), QStringLiteral("{}}}"));
    EXPECT_EQ(OdbcConnectionString::quoteValue(QStringLiteral("x ")), QStringLiteral("{x }"));
    EXPECT_EQ(OdbcConnectionString::quoteValue(QStringLiteral("a b")), QStringLiteral("a b"));
}
