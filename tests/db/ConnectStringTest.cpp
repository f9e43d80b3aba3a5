// Connection strings of the manager's database: built from a DBCONNECT profile, and read from
// kxconfig.ini as the suite's main program writes it (code page 936).
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DbFixture.h"
#include "ado/Connection.h"
#include "ado/JetDatabase.h"
#include "platform/Codepage936.h"

namespace ztgl::test {
namespace {

DBProfile sqlProfile() {
    DBProfile p;
    p.Provider = QStringLiteral("SQLOLEDB.1");
    p.Password = QStringLiteral("pw");
    p.UserID = QStringLiteral("sa");
    p.DBName = QStringLiteral("KXPUB");
    p.DataSource = QStringLiteral("SRV01");
    return p;
}

DBProfile accessProfile() {
    DBProfile p;
    p.Provider = QStringLiteral("Microsoft.Jet.OLEDB.4.0");
    p.DataSource = QStringLiteral("D:\\KXDATA\\KXPUB.MDB");
    p.Password = QStringLiteral("secret");
    // Values Access does not use.
    p.DBName = QStringLiteral("IGNORED_DB");
    p.UserID = QStringLiteral("IGNORED_USER");
    p.NetworkLibrary = QStringLiteral("DBMSSOCN");
    return p;
}

struct BuildCase {
    const char* name;
    QString kind;
    DBProfile profile;
    QString expected;
};
void PrintTo(const BuildCase& c, std::ostream* os) {
    *os << c.name;
}

class BuildConnectStringTest : public DbFixture, public ::testing::WithParamInterface<BuildCase> {};

TEST_P(BuildConnectStringTest, BuildsTheStringOfTheKind) {
    EXPECT_EQ(Build_ConnectString(GetParam().kind, GetParam().profile), GetParam().expected);
    expectNoMessages();
}

DBProfile with(DBProfile p, QString DBProfile::*field, const QString& value) {
    p.*field = value;
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BuildConnectStringTest,
    ::testing::Values(
        BuildCase{"AccessPsiEmptyIsFalse", kAccess, accessProfile(),
                  QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                                 "Data Source=D:\\KXDATA\\KXPUB.MDB;Mode=Read|Write;"
                                 "Jet OLEDB:Database Password=secret")},
        BuildCase{"AccessPsiTrue", kAccess,
                  with(accessProfile(), &DBProfile::PersistSecurityInfo, QStringLiteral("True")),
                  QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=True;"
                                 "Data Source=D:\\KXDATA\\KXPUB.MDB;Mode=Read|Write;"
                                 "Jet OLEDB:Database Password=secret")},
        BuildCase{"AccessEmptyPasswordEndsWithTheKey", kAccess,
                  with(accessProfile(), &DBProfile::Password, QString()),
                  QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                                 "Data Source=D:\\KXDATA\\KXPUB.MDB;Mode=Read|Write;"
                                 "Jet OLEDB:Database Password=")},
        BuildCase{"SqlServerWithoutNetworkLibraryEndsWithDataSource", kSqlServer, sqlProfile(),
                  QStringLiteral("Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;"
                                 "Initial Catalog=KXPUB;Data Source=SRV01")},
        BuildCase{"SqlServerWithNetworkLibrary", kSqlServer,
                  with(sqlProfile(), &DBProfile::NetworkLibrary, QStringLiteral("DBMSSOCN")),
                  QStringLiteral("Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;"
                                 "Initial Catalog=KXPUB;Data Source=SRV01;Network Library=DBMSSOCN")},
        BuildCase{"SqlServerPsiTrueAndEmptyPassword", kSqlServer,
                  with(with(sqlProfile(), &DBProfile::PersistSecurityInfo, QStringLiteral("True")),
                       &DBProfile::Password, QString()),
                  QStringLiteral("Provider=SQLOLEDB.1;Password=;Persist Security Info=True;User ID=sa;"
                                 "Initial Catalog=KXPUB;Data Source=SRV01")},
        // Values go in as they are: no quoting, so a ";" in a value breaks the string.
        BuildCase{"ValuesAreNotQuoted", kSqlServer,
                  with(sqlProfile(), &DBProfile::Password, QStringLiteral("a;b c")),
                  QStringLiteral("Provider=SQLOLEDB.1;Password=a;b c;Persist Security Info=False;User ID=sa;"
                                 "Initial Catalog=KXPUB;Data Source=SRV01")},
        BuildCase{"KindInSmallLettersIsUnknown", QStringLiteral("[microsoft access]"), accessProfile(),
                  QString()},
        BuildCase{"KindWithoutBracketsIsUnknown", QStringLiteral("Microsoft SQL Server"), sqlProfile(),
                  QString()},
        BuildCase{"KindWithBlankIsUnknown", QStringLiteral(" [Microsoft Access]"), accessProfile(),
                  QString()},
        BuildCase{"EmptyKindIsUnknown", QString(), sqlProfile(), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

// A kxconfig.ini written the way the suite's main program writes it: code page 936, CRLF.
class GetConnectStringTest : public DbFixture {
protected:
    void writeIni(const QString& text) {
        gIniFile = dir.filePath(QStringLiteral("kxconfig.ini"));
        QFile f(gIniFile);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(cp936::encode(text));
    }
    QTemporaryDir dir;
};

TEST_F(GetConnectStringTest, ReadsAnAccessProfileWithChineseFoldersInCodePage936) {
    writeIni(
        QStringLiteral("[BASESETUP]\r\nISWLB=0\r\n[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\n"
                       "PROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
                       "DATA_SOURCE=D:\\进销存\\帐套数据\\KXPUB.MDB\r\nPASSWORD=\r\n"
                       "PERSIST_SECURITY_INFO=\r\n"));
    EXPECT_EQ(Get_ConnectString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Persist Security Info=False;"
                             "Data Source=D:\\进销存\\帐套数据\\KXPUB.MDB;Mode=Read|Write;"
                             "Jet OLEDB:Database Password="));
    EXPECT_EQ(gDBType, kAccess);
    EXPECT_EQ(gDBProfile.DataSource, QStringLiteral("D:\\进销存\\帐套数据\\KXPUB.MDB"));
    expectNoMessages();
}

TEST_F(GetConnectStringTest, ReadsEverySqlServerKeyWhateverTheirCaseAndOrderInTheFile) {
    writeIni(
        QStringLiteral("[dbconnect]\r\nnetwork_library=DBMSSOCN\r\nUSER_ID=sa\r\nPassword=  p w  \r\n"
                       "DBNAME=KXPUB\r\nPERSIST_SECURITY_INFO=True\r\nDATA_SOURCE=财务服务器\r\n"
                       "PROVIDER=SQLOLEDB.1\r\nDBTYPE=[Microsoft SQL Server]\r\n"));
    EXPECT_EQ(Get_ConnectString(),
              QStringLiteral("Provider=SQLOLEDB.1;Password=p w;Persist Security Info=True;User ID=sa;"
                             "Initial Catalog=KXPUB;Data Source=财务服务器;Network Library=DBMSSOCN"));
    EXPECT_EQ(gDBType, kSqlServer);
    EXPECT_EQ(gDBProfile.Provider, QStringLiteral("SQLOLEDB.1"));
    EXPECT_EQ(gDBProfile.Password, QStringLiteral("p w"));
    EXPECT_EQ(gDBProfile.PersistSecurityInfo, QStringLiteral("True"));
    EXPECT_EQ(gDBProfile.UserID, QStringLiteral("sa"));
    EXPECT_EQ(gDBProfile.DBName, QStringLiteral("KXPUB"));
    EXPECT_EQ(gDBProfile.DataSource, QStringLiteral("财务服务器"));
    EXPECT_EQ(gDBProfile.NetworkLibrary, QStringLiteral("DBMSSOCN"));
}

TEST_F(GetConnectStringTest, UnknownKindGivesNothingButIsStillTheKind) {
    writeIni(QStringLiteral("[DBCONNECT]\r\nDBTYPE=[Microsoft Oracle]\r\nPROVIDER=MSDAORA\r\n"));
    EXPECT_EQ(Get_ConnectString(), QString());
    EXPECT_EQ(gDBType, QStringLiteral("[Microsoft Oracle]"));
    gConnectString = Get_ConnectString();
    EXPECT_EQ(Open_Connect(), 0);
    expectNoMessages();
}

TEST_F(GetConnectStringTest, MissingFileGivesNothing) {
    gIniFile = dir.filePath(QStringLiteral("kxconfig.ini"));
    gDBType = kAccess;
    EXPECT_EQ(Get_ConnectString(), QString());
    EXPECT_EQ(gDBType, QString());
    expectNoMessages();
}

// From the file to an open connection: the Chinese folder name survives the code page.
TEST_F(GetConnectStringTest, OpensTheManagersDatabaseInAChineseFolder) {
    const QString folder = dir.filePath(QStringLiteral("进销存数据"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = QDir(folder).filePath(QStringLiteral("KXPUB.MDB"));
    ado::CreateJetDatabase(file);
    writeIni(QStringLiteral("[DBCONNECT]\r\nDBTYPE=[Microsoft Access]\r\nPROVIDER=Microsoft.Jet.OLEDB.4.0\r\n"
                            "DATA_SOURCE=%1\r\n")
                 .arg(file));
    gConnectString = Get_ConnectString();
    ASSERT_EQ(Open_Connect(), 1);
    EXPECT_EQ(gConn->State(), ado::adStateOpen);
    expectNoMessages();
}

}  // namespace
}  // namespace ztgl::test
