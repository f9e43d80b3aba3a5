#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "RecordingUiPort.h"
#include "ado/Catalog.h"
#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "db/PubSql.h"
#include "demo/DemoFolder.h"
#include "operators/SetMima.h"
#include "platform/Codepage936.h"
#include "process/Globals.h"
#include "process/IniFile.h"

namespace ztgl {
namespace {

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString connectStringOf(const QString& file) {
    DBProfile profile;
    profile.Provider = "Microsoft.Jet.OLEDB.4.0";
    profile.DataSource = file;
    return Build_ConnectString(kAccess, profile);
}

// Every file of the folder, with its bytes.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> files;
    const auto names = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        files.insert(name, readAll(QDir(dir).filePath(name)));
    return files;
}

class DemoFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    QTemporaryDir tmp;
    test::RecordingUiPort port;
};

TEST_F(DemoFolderTest, BuildsTheThreeFilesInAFolderItCreates) {
    const QString dir = tmp.filePath("新建/演示");
    QString error;
    ASSERT_TRUE(DemoFolder::build(dir, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    for (const QString& name : DemoFolder::fileNames())
        EXPECT_TRUE(QFileInfo(QDir(dir).filePath(name)).isFile()) << name.toStdString();
    EXPECT_EQ(DemoFolder::fileNames(), (QStringList{"kxconfig.ini", "KXPUB.MDB", "MWMSD_NULL.mdb"}));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(DemoFolderTest, ConfigurationIsCodePage936WithCrlf) {
    const QString dir = tmp.filePath("程序");
    ASSERT_TRUE(DemoFolder::build(dir, nullptr));
    const QString ini = QDir(dir).filePath("kxconfig.ini");
    const QByteArray bytes = readAll(ini);
    const QString manager = QDir::toNativeSeparators(QDir(dir).absoluteFilePath("KXPUB.MDB"));

    EXPECT_EQ(bytes, cp936::encode(DemoFolder::configText(manager)));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.contains(cp936::encode("; 帐套管理")));  // comments in Chinese
    EXPECT_TRUE(bytes.contains("[BASESETUP]\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nISWLB=0\r\n"));

    const auto read = [&](const char* section, const char* key) {
        return Read_Ini(QString::fromLatin1(section), QString::fromLatin1(key), ini);
    };
    EXPECT_EQ(read("BASESETUP", "ISWLB"), "0");
    EXPECT_EQ(read("DBCONNECT", "DBTYPE"), "[Microsoft Access]");
    EXPECT_EQ(read("DBCONNECT", "PROVIDER"), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(read("DBCONNECT", "DATA_SOURCE"), manager);
    EXPECT_TRUE(QFileInfo(read("DBCONNECT", "DATA_SOURCE")).isAbsolute());
    EXPECT_TRUE(read("DBCONNECT", "DATA_SOURCE").endsWith("KXPUB.MDB"));
    EXPECT_EQ(read("DBCONNECT", "PASSWORD"), QString());
    EXPECT_EQ(read("DBCONNECT", "PERSIST_SECURITY_INFO"), "False");
    EXPECT_EQ(read("BASESETUP", "TITLE"), "商业进销存");
    EXPECT_TRUE(port.messages.isEmpty());
}

// The network edition's folder names the stand-in server; the server's arguments serve it.
TEST_F(DemoFolderTest, NetworkEditionConfiguration) {
    ASSERT_TRUE(DemoFolder::build(tmp.path(), nullptr, &WriteDemoTemplate, DemoFolder::Edition::Network));
    const QString ini = tmp.filePath("kxconfig.ini");
    const QString manager = QDir::toNativeSeparators(QDir(tmp.path()).absoluteFilePath("KXPUB.MDB"));
    EXPECT_EQ(readAll(ini), cp936::encode(DemoFolder::configText(manager, DemoFolder::Edition::Network)));
    EXPECT_EQ(Read_Ini("BASESETUP", "ISWLB", ini), "1");
    EXPECT_EQ(Read_Ini("SERVERINFO", "IP", ini), "127.0.0.1");
    EXPECT_EQ(Read_Ini("SERVERINFO", "PORT", ini), "2001");
    // Switching ISWLB to 0 gives a working single-user folder: DBCONNECT is there too.
    EXPECT_EQ(Read_Ini("DBCONNECT", "DATA_SOURCE", ini), manager);

    const QStringList args = DemoFolder::serverSimArguments(manager);
    EXPECT_EQ(args, (QStringList{"--port", "2001", "--kind", "[Microsoft Access]", "--connect",
                                 connectStringOf(manager), "--dbname", "ZTDEMO"}));
}

TEST_F(DemoFolderTest, ManagerDatabaseHoldsTheCatalogueAndTheInitialOperator) {
    ASSERT_TRUE(DemoFolder::build(tmp.path(), nullptr));
    ado::Connection conn;
    conn.setConnectionString(connectStringOf(tmp.filePath("KXPUB.MDB")));
    conn.Open();

    ado::Recordset users;
    users.Open("select Id, UserName, UserPwds, RealName from ZTUsers", conn);
    ASSERT_EQ(users.RecordCount(), 1);
    EXPECT_EQ(users.Fields("Id").text(), "1");
    EXPECT_EQ(users.Fields("UserName").text(), "admin");
    EXPECT_EQ(users.Fields("UserPwds").text(), Set_Mima("adminadmin"));
    EXPECT_EQ(users.Fields("RealName").text(), "系统管理员");

    ado::Recordset ztml;
    ztml.Open("select Id, ZTMC, ZTLJ, CreateTime, UserFlag from ZTML", conn);
    EXPECT_EQ(ztml.RecordCount(), 0);
    const auto& fields = ztml.rows().fields;
    ASSERT_EQ(fields.size(), 5);
    const std::tuple<QString, int, qint64> expected[] = {
        {"Id", ado::adVarWChar, 10},         {"ZTMC", ado::adVarWChar, 50},   {"ZTLJ", ado::adVarWChar, 50},
        {"CreateTime", ado::adVarWChar, 10}, {"UserFlag", ado::adInteger, 4},
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(fields[i].name, std::get<0>(expected[i]));
        EXPECT_EQ(fields[i].type, std::get<1>(expected[i]));
        if (fields[i].type == ado::adVarWChar) {
            EXPECT_EQ(fields[i].definedSize, std::get<2>(expected[i]));
        }
    }

    // Keys: Id is the key of both tables; set names and operator codes are unique, without
    // regard to case as in Jet.
    conn.Execute(
        QStringLiteral("insert into ZTML (Id, ZTMC, ZTLJ, CreateTime, UserFlag) "
                       "values ('1', '演示公司', 'KXPUB_BK001', '2024-03-05', 1)"));
    EXPECT_THROW(conn.Execute("insert into ZTML (Id, ZTMC) values ('1', '另一家')"), std::exception);
    EXPECT_THROW(conn.Execute("insert into ZTML (Id, ZTMC) values ('2', '演示公司')"), std::exception);
    EXPECT_THROW(conn.Execute("insert into ZTUsers (Id, UserName) values ('2', 'ADMIN')"), std::exception);
    ado::Recordset found;
    found.Open("select Id from ZTML where ZTLJ = 'kxpub_bk001'", conn);
    EXPECT_EQ(found.RecordCount(), 1);
    conn.Close();
}

TEST_F(DemoFolderTest, TemplateIsWrittenBesideTheManager) {
    ASSERT_TRUE(DemoFolder::build(tmp.path(), nullptr));
    ado::Catalog catalog;
    catalog.Open(connectStringOf(tmp.filePath("MWMSD_NULL.mdb")));
    EXPECT_GE(catalog.Tables().size(), 25);
}

TEST_F(DemoFolderTest, RefusesAFolderThatHoldsAnyOfTheFilesAndWritesNothing) {
    const QString names[] = {"kxconfig.ini", "KXPUB.MDB", "kxpub.mdb", "MWMSD_NULL.mdb", "MWMSD_NULL.MDB"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QTemporaryDir dir;
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
        f.close();
        const auto before = snapshot(dir.path());

        QString error;
        EXPECT_FALSE(DemoFolder::build(dir.path(), &error));
        EXPECT_EQ(error, QStringLiteral("文件夹“%1”中已有 %2，没有写入任何文件。")
                             .arg(QDir::toNativeSeparators(dir.path()), name));
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST_F(DemoFolderTest, RefusesAPathThatIsAFile) {
    const QString file = tmp.filePath("普通文件");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    QString error;
    EXPECT_FALSE(DemoFolder::build(file, &error));
    EXPECT_EQ(error, QStringLiteral("“%1”已经存在，但不是文件夹。").arg(QDir::toNativeSeparators(file)));
    EXPECT_EQ(QFileInfo(file).size(), 0);
}

// The configuration file is code page 936 and the connection string has no quoting: folders
// whose path neither can hold are refused before anything is written.
TEST_F(DemoFolderTest, RefusesPathsTheConfigurationCannotHold) {
    const QString outsideGbk = tmp.filePath("demo-\U0001F600");
    QString error;
    EXPECT_FALSE(DemoFolder::build(outsideGbk, &error));
    EXPECT_TRUE(error.contains("代码页 936")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(outsideGbk));

    const QString semicolon = tmp.filePath("a;b");
    EXPECT_FALSE(DemoFolder::build(semicolon, &error));
    EXPECT_TRUE(error.contains("分号")) << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(semicolon));
}

TEST_F(DemoFolderTest, AFailingStepTakesBackWhatWasWritten) {
    const QString made = tmp.filePath("new");
    const auto failing = [](const QString&, QString* error) {
        *error = "磁盘已满";
        return false;
    };
    QString error;
    EXPECT_FALSE(DemoFolder::build(made, &error, failing));
    EXPECT_TRUE(error.endsWith("磁盘已满")) << error.toStdString();
    EXPECT_TRUE(error.contains("MWMSD_NULL.mdb"));
    EXPECT_FALSE(QFileInfo::exists(made));  // the folder it made goes too

    // An existing folder stays, with what it held before.
    QFile other(tmp.filePath("readme.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("x");
    other.close();
    const auto before = snapshot(tmp.path());
    EXPECT_FALSE(DemoFolder::build(tmp.path(), &error, failing));
    EXPECT_EQ(snapshot(tmp.path()), before);
}

}  // namespace
}  // namespace ztgl
