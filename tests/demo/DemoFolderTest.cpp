#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "JetFiles.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/DataType.h"
#include "creation/ProgressWindow.h"
#include "creation/SchemaCopy.h"
#include "creation/TemplateDatabase.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "demo/DemoTemplate.h"
#include "operators/SetMima.h"
#include "platform/Codepage936.h"
#include "process/Globals.h"
#include "process/IniFile.h"

namespace ztgl {
namespace {

// The connection string the program builds for an Access file.
QString connectStringOf(const QString& file) {
    return test::JetTestDatabase::connectionStringFor(file);
}

// Every file of the folder, with its bytes.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, test::JetFiles::bytes(QDir(dir).filePath(name)));
    return files;
}

class DemoFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    QTemporaryDir tmp;
    test::RecordingUiPort port;
};

// The three files in a folder it creates; the configuration in code page 936 with CRLF and
// Chinese comments, for either edition (the network one names the stand-in server, whose
// arguments serve it, and keeps DBCONNECT for a switch back to the single-user edition).
TEST_F(DemoFolderTest, BuildsTheFilesAndTheConfigurationOfEitherEdition) {
    for (const auto edition : {DemoFolder::Edition::SingleUser, DemoFolder::Edition::Network}) {
        const bool network = edition == DemoFolder::Edition::Network;
        SCOPED_TRACE(network ? "network" : "single-user");
        const QString dir = tmp.filePath(network ? "新建/网络版" : "新建/演示");
        QString error;
        ASSERT_TRUE(DemoFolder::build(dir, &error, &WriteDemoTemplate, edition)) << error;
        EXPECT_EQ(snapshot(dir).keys(), (QStringList{"KXPUB.MDB", "MWMSD_NULL.mdb", "kxconfig.ini"}));

        const QString ini = QDir(dir).filePath("kxconfig.ini");
        const QByteArray bytes = test::JetFiles::bytes(ini);
        const QString manager = QDir::toNativeSeparators(QDir(dir).absoluteFilePath("KXPUB.MDB"));
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
        EXPECT_TRUE(bytes.contains(cp936::encode("; 帐套管理")));
        const std::pair<const char*, QString> values[] = {
            {"BASESETUP/ISWLB", network ? "1" : "0"},     {"BASESETUP/TITLE", "商业进销存"},
            {"DBCONNECT/DBTYPE", "[Microsoft Access]"},   {"DBCONNECT/PROVIDER", "Microsoft.Jet.OLEDB.4.0"},
            {"DBCONNECT/DATA_SOURCE", manager},           {"DBCONNECT/PASSWORD", ""},
            {"DBCONNECT/PERSIST_SECURITY_INFO", "False"}, {"SERVERINFO/IP", network ? "127.0.0.1" : ""},
            {"SERVERINFO/PORT", network ? "2001" : ""},
        };
        for (const auto& [key, value] : values) {
            const QString k = QString::fromLatin1(key);
            EXPECT_EQ(Read_Ini(k.section('/', 0, 0), k.section('/', 1), ini), value) << key;
        }
        EXPECT_EQ(DemoFolder::serverSimArguments(manager),
                  (QStringList{"--port", "2001", "--kind", "[Microsoft Access]", "--connect",
                               connectStringOf(manager), "--dbname", "ZTDEMO"}));
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(DemoFolderTest, ManagerDatabaseHoldsTheCatalogueAndTheInitialOperator) {
    ASSERT_TRUE(DemoFolder::build(tmp.path(), nullptr));
    ado::Connection conn;
    conn.setConnectionString(connectStringOf(tmp.filePath("KXPUB.MDB")));
    conn.Open();
    const ado::RowSet users = conn.query("select Id, UserName, UserPwds, RealName from ZTUsers");
    EXPECT_EQ(users.rows, (QVector<QVector<QVariant>>{{"1", "admin", Set_Mima("adminadmin"), "系统管理员"}}));
    const ado::RowSet ztml = conn.query("select Id, ZTMC, ZTLJ, CreateTime, UserFlag from ZTML");
    EXPECT_TRUE(ztml.rows.isEmpty());
    QStringList fields;
    for (const auto& f : ztml.fields)
        fields << f.name +
                      QStringLiteral(" %1 %2").arg(f.type).arg(f.type == ado::adVarWChar ? f.definedSize : 0);
    EXPECT_EQ(fields,
              (QStringList{"Id 202 10", "ZTMC 202 50", "ZTLJ 202 50", "CreateTime 202 10", "UserFlag 3 0"}));

    // Keys: Id is the key of both tables; set names and operator codes are unique, without
    // regard to case as in Jet.
    conn.Execute(
        "insert into ZTML (Id, ZTMC, ZTLJ, CreateTime, UserFlag) "
        "values ('1', '演示公司', 'KXPUB_BK001', '2024-03-05', 1)");
    for (const char* refused : {"insert into ZTML (Id, ZTMC) values ('1', '另一家')",
                                "insert into ZTML (Id, ZTMC) values ('2', '演示公司')",
                                "insert into ZTUsers (Id, UserName) values ('2', 'ADMIN')"})
        EXPECT_THROW(conn.Execute(QString::fromUtf8(refused)), std::exception) << refused;
    EXPECT_EQ(conn.query("select Id from ZTML where ZTLJ = 'kxpub_bk001'").rows.size(), 1);
    conn.Close();
}

// A folder that holds any of the files, a path the configuration cannot
// hold (outside code page 936, or with a semicolon the connection string cannot quote), a step
// that fails: refused, and nothing written or left behind.
TEST_F(DemoFolderTest, RefusesAndTakesBackWhatWasWritten) {
    for (const char* name : {"kxconfig.ini", "KXPUB.MDB", "kxpub.mdb", "MWMSD_NULL.mdb", "MWMSD_NULL.MDB"}) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        test::JetFiles::write(dir.filePath(name), "keep me");
        const auto before = snapshot(dir.path());
        QString error;
        EXPECT_FALSE(DemoFolder::build(dir.path(), &error));
        EXPECT_EQ(error, QStringLiteral("文件夹“%1”中已有 %2，没有写入任何文件。")
                             .arg(QDir::toNativeSeparators(dir.path()), QString::fromLatin1(name)));
        EXPECT_EQ(snapshot(dir.path()), before);
    }

    QString error;
    const auto failing = [](const QString&, QString* error) {
        *error = "磁盘已满";
        return false;
    };
    const std::pair<QString, const char*> paths[] = {{tmp.filePath("demo-\U0001F600"), "代码页 936"},
                                                     {tmp.filePath("a;b"), "分号"},
                                                     {tmp.filePath("new"), "磁盘已满"}};
    for (const auto& [path, says] : paths) {
        EXPECT_FALSE(DemoFolder::build(path, &error, failing));
        EXPECT_TRUE(error.contains(QString::fromUtf8(says))) << error;
        EXPECT_FALSE(QFileInfo::exists(path));  // a folder it made goes too
    }
    EXPECT_TRUE(error.contains("MWMSD_NULL.mdb"));
    // An existing folder stays, with what it held before.
    const auto before = snapshot(tmp.path());
    EXPECT_FALSE(DemoFolder::build(tmp.path(), &error, failing));
    EXPECT_EQ(snapshot(tmp.path()), before);
}

// The template alone, in the fixture's temporary folder.
class DemoTemplateTest : public DemoFolderTest {
protected:
    void SetUp() override {
        DemoFolderTest::SetUp();
        folder = tmp.path() + QLatin1Char('/');
        QString error;
        ASSERT_TRUE(WriteDemoTemplate(folder + kTemplateFileName, &error)) << error;
        catalog.Open(TemplateConnectString(folder));
    }

    QVector<QVector<QVariant>> query(const QString& sql) const {
        return test::queryValues(TemplateConnectString(folder), sql);
    }
    QStringList columnNames(const QString& table) {
        QStringList names{"(no table)"};
        if (const ado::CatalogTable* t = catalog.table(table)) {
            names.clear();
            for (const auto& c : t->columns)
                names << c.name;
        }
        return names;
    }

    QString folder;
    ado::Catalog catalog;
};

// What the creation and the upgrade of a set rely on: the permission tables, the default user and
// no upgrade marker (its tables: TheSchemaCopyRebuildsAllOfIt); an existing file is never overwritten.
TEST_F(DemoTemplateTest, HoldsWhatANewSetNeeds) {
    EXPECT_EQ(columnNames("BaseLimits"),
              (QStringList{"ID", "lName", "lValue", "lUseFlag", "lVerTag", "lConfigTag", "lPX"}));
    EXPECT_EQ(columnNames("User_Permissions"), (QStringList{"UserID", "OperationID"}));
    EXPECT_EQ(columnNames("Users").mid(0, 3), (QStringList{"Id", "Uname", "PWD"}));

    EXPECT_EQ(query("select Id, Uname from Users"), (QVector<QVector<QVariant>>{{"0", "管理员"}}));
    EXPECT_TRUE(query("select * from BaseLimits where ID='10'").isEmpty());
    EXPECT_FALSE(query("select * from User_Permissions where UserID='0'").isEmpty());
    EXPECT_EQ(query("select CSMC from SysParams where CSBH='dwmc'").size(), 1);

    const QByteArray before = test::JetFiles::bytes(folder + kTemplateFileName);
    QString error;
    EXPECT_FALSE(WriteDemoTemplate(folder + kTemplateFileName, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::JetFiles::bytes(folder + kTemplateFileName), before);
}

// The SQL Server copy rebuilds every table of the demo template and copies every row.
TEST_F(DemoTemplateTest, TheSchemaCopyRebuildsAllOfIt) {
    gDBType = kSqlServer;
    ProgressWindow progress;
    progress.Show();
    QStringList statements;
    SchemaCopy copy(
        TemplateConnectString(folder), [&](const QString& sql) { statements << sql; }, progress);
    ASSERT_TRUE(copy.XZBJG());
    EXPECT_TRUE(port.messages.isEmpty()) << port.messages.value(0).text;

    int tables = 0, rows = 0, expectedRows = 0;
    for (const auto& t : catalog.Tables()) {
        if (t.type != QLatin1String("TABLE"))
            continue;
        ++tables;
        expectedRows += query("select * from " + t.name).size();
    }
    QStringList creates;
    QString table;  // that of the last CREATE TABLE: each table's rows follow its own
    for (const QString& s : statements) {
        if (s.startsWith("CREATE TABLE ")) {
            creates << s;
            table = s.mid(13).section('(', 0, 0);
        } else if (s.startsWith("Insert into ")) {
            ++rows;
            EXPECT_EQ(s.mid(12).section('(', 0, 0), table) << s;
        } else {
            ADD_FAILURE() << s;
        }
    }
    EXPECT_GE(tables, 25);
    EXPECT_EQ(creates.size(), tables);
    EXPECT_EQ(rows, expectedRows);
    // clang-format off
    for (const char* expected : {
             "CREATE TABLE Units(DWBH nvarchar (6) not null ,DWMC nvarchar (10) not null UNIQUE ,constraint Units_DWBH "
             "primary  key(DWBH))",
             "CREATE TABLE Goods(SPBH nvarchar (20) not null ,SPMC nvarchar (60) not null ,GGXH nvarchar (40) ,LBBH "
             "nvarchar (10) not null ,DWBH nvarchar (6) not null ,TXM nvarchar (20) not null UNIQUE ,JJ Numeric DEFAULT "
             "0 ,SJ Numeric DEFAULT 0 ,ZDKC Decimal DEFAULT 0 ,ZGKC Decimal ,SL Real DEFAULT 0.13 ,TY tinyint not null "
             "DEFAULT 0 ,JDRQ Datetime DEFAULT CURRENT_TIMESTAMP ,SM ntext ,constraint Goods_Key_Kx primary  "
             "key(SPBH,LBBH,DWBH))",
             "CREATE TABLE User_Permissions(UserID nvarchar (10) not null ,OperationID nvarchar (50) not null "
             ",constraint User_Permissions_Key_Kx primary  key(UserID,OperationID))",
             "Insert into Units(DWBH,DWMC) values('01','个')",
             "Insert into Periods(QJ,KSRQ,JSRQ,JZ,JZR) values('2024-01','2024-01-01 00:00:00','2024-01-31 00:00:00',0,null)"})
        EXPECT_TRUE(statements.contains(QString::fromUtf8(expected))) << expected;
    // clang-format on
    bool textDefaultInSingleQuotes = false;
    for (const QString& s : creates) {
        EXPECT_FALSE(s.contains(QLatin1Char('"'))) << s;
        textDefaultInSingleQuotes |= s.contains("XB nvarchar (2) DEFAULT '男' ");
    }
    EXPECT_TRUE(textDefaultInSingleQuotes);
}

}  // namespace
}  // namespace ztgl
