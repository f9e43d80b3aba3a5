#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "JetFiles.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "creation/TemplateDatabase.h"
#include "demo/DemoFolder.h"
#include "demo/DemoTemplate.h"
#include "platform/Codepage936.h"
#include "process/IniFile.h"

namespace ztgl {
namespace {

// Every file of the folder, with its bytes.
QMap<QString, QByteArray> snapshot(const QString& dir) {
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, test::JetFiles::bytes(QDir(dir).filePath(name)));
    return files;
}

class DemoFolderTest : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    test::RecordingUiPort port;
};

// The three files in a folder it creates; the configuration in code page 936 with CRLF and
// Chinese comments, for either edition (the network one names the stand-in server and keeps
// DBCONNECT for a switch back to the single-user edition; AdminNetworkTest runs the server on it).
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
    }
    EXPECT_TRUE(port.messages.isEmpty());
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

// What the creation and the upgrade of a set rely on: the default user, its permissions and no
// upgrade marker (the tables themselves: every creation and upgrade of tests/admin and tests/faults
// runs on this template); an existing file is never overwritten.
TEST_F(DemoFolderTest, TemplateHoldsWhatANewSetNeeds) {
    const QString folder = tmp.path() + QLatin1Char('/'), file = folder + kTemplateFileName;
    QString error;
    ASSERT_TRUE(WriteDemoTemplate(file, &error)) << error;
    const auto query = [&](const char* sql) {
        return test::queryValues(TemplateConnectString(folder), QString::fromUtf8(sql));
    };
    EXPECT_EQ(query("select Id, Uname from Users"), (QVector<QVector<QVariant>>{{"0", "管理员"}}));
    EXPECT_TRUE(query("select * from BaseLimits where ID='10'").isEmpty());
    EXPECT_FALSE(query("select * from User_Permissions where UserID='0'").isEmpty());
    EXPECT_EQ(query("select CSMC from SysParams where CSBH='dwmc'").size(), 1);

    const QByteArray before = test::JetFiles::bytes(file);
    EXPECT_FALSE(WriteDemoTemplate(file, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::JetFiles::bytes(file), before);
}

}  // namespace
}  // namespace ztgl
