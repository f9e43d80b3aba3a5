#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "RecordingUiPort.h"
#include "TempProgramFolder.h"
#include "ado/Connection.h"
#include "db/PubSql.h"
#include "platform/Codepage936.h"
#include "platform/RuntimeError.h"
#include "platform/SingleInstance.h"
#include "process/Globals.h"
#include "startup/Startup.h"

namespace ztgl {
namespace {

using test::RecordingUiPort;
using test::TempProgramFolder;

const QString kDefaultTitle = QStringLiteral("Zavrin行业管理软件之商业进销存-帐套管理");

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }

    // A key of its own for every test, so that no other test (or test run) holds it.
    StartupEnvironment env() const {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return {folder.path(), QStringLiteral("ztgl-startup-%1-%2-%3")
                                   .arg(QCoreApplication::applicationPid())
                                   .arg(QLatin1String(info->test_suite_name()), QLatin1String(info->name()))};
    }

    // The text Open_Connect shows for a connection string the engine refuses.
    static QString openConnectMessage(const QString& connectString) {
        ado::Connection conn;
        conn.setConnectionString(connectString);
        try {
            conn.Open();
        } catch (const std::exception& e) {
            return QStringLiteral("Open_Connect():") + errorText(e);
        }
        return QStringLiteral("(the engine opened it)");
    }

    void expectEndedSilently(StartupOutcome outcome) {
        EXPECT_EQ(outcome, StartupOutcome::End);
        EXPECT_TRUE(port.messages.isEmpty()) << port.messages.value(0).text.toStdString();
        EXPECT_FALSE(gConn && gConn->State() == ado::adStateOpen);
    }

    TempProgramFolder folder;
    RecordingUiPort port;
};

TEST_F(StartupTest, SingleUserEditionOpensTheConnectionAndShowsTheLogin) {
    folder.makeManagerDatabase();
    folder.writeConfig(folder.accessConfig());

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);

    EXPECT_TRUE(port.messages.isEmpty());
    ASSERT_TRUE(gConn);
    EXPECT_EQ(gConn->State(), ado::adStateOpen);
    EXPECT_EQ(gAppPath, folder.path() + QDir::separator());
    EXPECT_EQ(gIniFile, folder.path() + QDir::separator() + QStringLiteral("kxconfig.ini"));
    EXPECT_FALSE(gIsNetwork);
    EXPECT_EQ(gDBType, kAccess);
    EXPECT_EQ(gConnectString, Build_ConnectString(kAccess, gDBProfile));
    EXPECT_EQ(gTitle, kDefaultTitle);
    EXPECT_EQ(gAppTitle, QStringLiteral("商业进销存"));
    EXPECT_TRUE(gManagerDBName.isEmpty());
    EXPECT_EQ(port.doEventsCount, 1);
}

TEST_F(StartupTest, AnotherCopyIsRefusedBeforeAnythingElse) {
    SingleInstance other(env().instanceKey);
    ASSERT_TRUE(other.acquire());
    folder.makeManagerDatabase();
    folder.writeConfig(folder.accessConfig());

    EXPECT_EQ(Main(env()), StartupOutcome::End);

    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("程序已经运行！"));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("商业进销存"));  // the application title
    EXPECT_EQ(port.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
    EXPECT_TRUE(gAppPath.isEmpty());
    EXPECT_FALSE(gConn);
}

// A second Main of the same process (the restart from the pre-login window) passes the test.
TEST_F(StartupTest, ASecondRunInTheSameProcessPasses) {
    folder.makeManagerDatabase();
    folder.writeConfig(folder.accessConfig());
    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_TRUE(port.messages.isEmpty());
    SingleInstance other(env().instanceKey);
    EXPECT_FALSE(other.acquire());
}

TEST_F(StartupTest, MissingConfigurationEndsWithItsMessage) {
    folder.makeManagerDatabase();

    EXPECT_EQ(Main(env()), StartupOutcome::End);

    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("配置文件丢失,请运行主程序重新配置!"));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(gIniFile, folder.iniFile());
    EXPECT_FALSE(gConn);
    EXPECT_FALSE(QFile::exists(folder.iniFile()));  // never created here
}

TEST_F(StartupTest, AFolderNamedLikeTheConfigurationIsNoConfiguration) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("kxconfig.ini")));
    EXPECT_EQ(Main(env()), StartupOutcome::End);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("配置文件丢失,请运行主程序重新配置!"));
}

TEST_F(StartupTest, ProgramFolderAtTheRootGetsOneSeparator) {
    StartupEnvironment root = env();
    root.programFolder = QDir::rootPath();
    EXPECT_EQ(Main(root), StartupOutcome::End);  // no configuration there
    EXPECT_EQ(gAppPath, QDir::rootPath());
    EXPECT_EQ(gIniFile, QDir::rootPath() + QStringLiteral("kxconfig.ini"));
}

// ISWLB: exactly "0" (after trimming) is the single-user edition; the network edition is not
// part of this build and ends with its message.
TEST_F(StartupTest, EditionChoice) {
    folder.makeManagerDatabase();
    struct Case {
        QStringList baseSetup;
        bool network;
    };
    const Case cases[] = {
        {{QStringLiteral("ISWLB=0")}, false},
        {{QStringLiteral("  ISWLB =  0   ")}, false},
        {{QStringLiteral("iswlb=0")}, false},
        {{QStringLiteral("ISWLB=\"0\"")}, false},
        {{}, true},
        {{QStringLiteral("ISWLB=")}, true},
        {{QStringLiteral("ISWLB=00")}, true},
        {{QStringLiteral("ISWLB=1")}, true},
        {{QStringLiteral("ISWLB=O")}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baseSetup.join(QLatin1Char('|')).toStdString());
        Close_Connect();
        ResetGlobals();
        port.messages.clear();
        QStringList lines = folder.accessConfig();
        lines.removeAt(1);  // the ISWLB line
        for (int i = 0; i < c.baseSetup.size(); ++i)
            lines.insert(1 + i, c.baseSetup[i]);
        folder.writeConfig(lines);

        const StartupOutcome outcome = Main(env());

        EXPECT_EQ(gIsNetwork, c.network);
        if (c.network) {
            EXPECT_EQ(outcome, StartupOutcome::End);
            ASSERT_EQ(port.messages.size(), 1);
            EXPECT_EQ(port.messages[0].text, NetworkEditionUnavailableText());
            EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
            EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
            EXPECT_EQ(port.messages[0].buttons, MsgButtons::Ok);
            EXPECT_FALSE(gConn);
        } else {
            EXPECT_EQ(outcome, StartupOutcome::ShowLogin);
            EXPECT_TRUE(port.messages.isEmpty());
        }
    }
}

TEST_F(StartupTest, NetworkEditionMessageNamesTheWayOut) {
    EXPECT_TRUE(NetworkEditionUnavailableText().contains(QStringLiteral("ISWLB=0")));
    EXPECT_TRUE(NetworkEditionUnavailableText().contains(QStringLiteral("网络版")));
}

TEST_F(StartupTest, EmptyConfigurationSelectsTheNetworkEdition) {
    folder.writeConfigBytes(QByteArray());
    EXPECT_EQ(Main(env()), StartupOutcome::End);
    EXPECT_TRUE(gIsNetwork);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, NetworkEditionUnavailableText());
}

// An unknown database kind gives no connection string: the program ends without a message.
TEST_F(StartupTest, UnknownDatabaseKindEndsSilently) {
    folder.makeManagerDatabase();
    const QString kinds[] = {QStringLiteral("[microsoft access]"), QStringLiteral("Access"),
                             QStringLiteral("[Microsoft  Access]"), QString()};
    for (const QString& kind : kinds) {
        SCOPED_TRACE(kind.toStdString());
        ResetGlobals();
        port.messages.clear();
        QStringList lines = folder.accessConfig();
        lines[3] = QStringLiteral("DBTYPE=") + kind;
        folder.writeConfig(lines);
        expectEndedSilently(Main(env()));
        EXPECT_EQ(gDBType, kind);
        EXPECT_TRUE(gConnectString.isEmpty());
    }
}

TEST_F(StartupTest, MissingManagerDatabaseIsReportedByOpenConnect) {
    folder.writeConfig(folder.accessConfig());

    EXPECT_EQ(Main(env()), StartupOutcome::End);

    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, openConnectMessage(gConnectString));
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("Open_Connect():")));
    EXPECT_EQ(port.messages[0].title, QStringLiteral("提示信息"));
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_FALSE(QFile::exists(folder.managerFile()));  // opening never creates it
    EXPECT_TRUE(gTitle.isEmpty());
}

TEST_F(StartupTest, ManagerFileThatIsNoDatabaseIsReportedByOpenConnect) {
    const QByteArray junk[] = {QByteArray(), QByteArray("this is not a database\r\n"),
                               QByteArray(4096, '\xff')};
    for (const QByteArray& bytes : junk) {
        ResetGlobals();
        port.messages.clear();
        QFile file(folder.managerFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        folder.writeConfig(folder.accessConfig());

        EXPECT_EQ(Main(env()), StartupOutcome::End);
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].text, openConnectMessage(gConnectString));
        EXPECT_EQ(QFile(folder.managerFile()).size(), bytes.size());  // left as it was
    }
}

TEST_F(StartupTest, ProductTitleComesFromTheConfiguration) {
    folder.makeManagerDatabase();
    QStringList lines = folder.accessConfig();
    lines.insert(2, QStringLiteral("TITLE=  医药连锁管理  "));
    folder.writeConfig(lines);

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_EQ(gAppTitle, QStringLiteral("医药连锁管理"));
    EXPECT_EQ(gTitle, QStringLiteral("Zavrin行业管理软件之医药连锁管理-帐套管理"));
}

TEST_F(StartupTest, HugeConfigurationStillStarts) {
    folder.makeManagerDatabase();
    QStringList lines;
    for (int i = 0; i < 20000; ++i)
        lines << QStringLiteral("; 注释行 %1 ").arg(i) + QString(60, QLatin1Char('x'));
    lines << QStringLiteral("[OTHER]") << QStringLiteral("VALUE=") + QString(5000, QChar(0x4E2D));
    lines << folder.accessConfig();
    QStringList baseSetup = lines;
    baseSetup.insert(baseSetup.indexOf(QStringLiteral("ISWLB=0")) + 1,
                     QStringLiteral("TITLE=") + QString(300, QChar(0x8D26)));
    folder.writeConfig(baseSetup);

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_TRUE(port.messages.isEmpty());
    // A title of 300 characters (255 bytes as the INI reading returns it) is cut for the title bars.
    EXPECT_EQ(gAppTitle, QString(40, QChar(0x8D26)));
}

// Bytes that are no text in code page 936 do not stop the reading of the keys that matter.
TEST_F(StartupTest, ConfigurationWithBytesOutsideTheCodePage) {
    folder.makeManagerDatabase();
    QByteArray bytes = "\xff\xfe\x80\x81 garbage \xa1\r\n";
    bytes += cp936::encode(folder.accessConfig().join(QStringLiteral("\r\n")));
    bytes += "\r\n[X]\r\nY=\x81\x20\xff\r\n";
    folder.writeConfigBytes(bytes);

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_TRUE(port.messages.isEmpty());
}

// Unix line ends and blanks around names and values read the same.
TEST_F(StartupTest, OddlySpacedConfiguration) {
    folder.makeManagerDatabase();
    QStringList lines;
    for (const QString& line : folder.accessConfig()) {
        const int eq = line.indexOf(QLatin1Char('='));
        lines << (eq < 0 ? line
                         : QStringLiteral("   ") + line.left(eq) + QStringLiteral("   =   ") +
                               line.mid(eq + 1) + QStringLiteral("   "));
    }
    folder.writeConfigBytes(cp936::encode(lines.join(QLatin1Char('\n'))));
    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_TRUE(port.messages.isEmpty());
}

// A folder with Chinese names in DATA_SOURCE, the configuration in code page 936.
TEST_F(StartupTest, ChineseFolderInTheDataSource) {
    const QString sub = folder.filePath(QStringLiteral("帐套数据"));
    ASSERT_TRUE(QDir().mkpath(sub));
    TempProgramFolder other;
    other.makeManagerDatabase();
    const QString target = sub + QStringLiteral("/KXPUB.MDB");
    ASSERT_TRUE(QFile::copy(other.managerFile(), target));
    folder.writeConfig(folder.accessConfig(target));

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_TRUE(gConnectString.contains(target));
}

}  // namespace
}  // namespace ztgl
