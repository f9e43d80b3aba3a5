#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include "LocalServer.h"
#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RecordingShutDown.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "ado/Connection.h"
#include "db/PubSql.h"
#include "platform/Codepage936.h"
#include "platform/RuntimeError.h"
#include "platform/SingleInstance.h"
#include "process/Globals.h"
#include "session/PreLoginForm.h"
#include "startup/ConnectSettingsForm.h"
#include "startup/Startup.h"

namespace ztgl {
namespace {

using test::msgLine;
using test::RecordingUiPort;
using test::shownLines;

const QString kDefaultTitle = "Zavrin行业管理软件之商业进销存-帐套管理";

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }
    // Before each row of a table: nothing left of the previous start.
    void fresh() {
        Close_Connect();
        ResetGlobals();
        port.messages.clear();
        port.modalForms.clear();
        loginsShown = 0;
    }

    // A key of its own for every test, so that no other test (or test run) holds it.
    StartupEnvironment env() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        StartupEnvironment e;
        e.programFolder = folder.path();
        e.instanceKey = QString("ztgl-startup-%1-%2-%3")
                            .arg(QCoreApplication::applicationPid())
                            .arg(QLatin1String(info->test_suite_name()), QLatin1String(info->name()));
        e.orders = &orders;
        e.showLogin = [this] { ++loginsShown; };
        return e;
    }

    // A network-edition configuration naming this server address and port.
    void writeNetworkConfig(const QString& ip, const QString& port) const {
        folder.writeConfig({"[BASESETUP]", "ISWLB=1", "[SERVERINFO]", "IP=" + ip, "PORT=" + port});
    }
    QByteArray configBytes() const {
        QFile file(folder.iniFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool connected() const { return gConn && gConn->State() == ado::adStateOpen; }

    // The text Open_Connect shows for a connection string the engine refuses.
    static QString openConnectMessage(const QString& connectString) {
        ado::Connection conn;
        conn.setConnectionString(connectString);
        try {
            conn.Open();
        } catch (const std::exception& e) {
            return "Open_Connect():" + errorText(e);
        }
        return "(the engine opened it)";
    }

    test::TempProgramFolder folder;
    RecordingUiPort port;
    test::RecordingShutDown orders;
    int loginsShown = 0;
};

TEST_F(StartupTest, SingleUserEditionOpensTheConnectionAndShowsTheLogin) {
    folder.makeManagerDatabase();
    folder.writeConfig(folder.accessConfig());

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);

    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_TRUE(connected());
    EXPECT_EQ(gAppPath, folder.path() + QDir::separator());
    EXPECT_EQ(gIniFile, folder.path() + QDir::separator() + "kxconfig.ini");
    EXPECT_FALSE(gIsNetwork);
    EXPECT_EQ(gDBType, kAccess);
    EXPECT_EQ(gConnectString, Build_ConnectString(kAccess, gDBProfile));
    EXPECT_EQ(gTitle, kDefaultTitle);
    EXPECT_EQ(gAppTitle, "商业进销存");
    EXPECT_TRUE(gManagerDBName.isEmpty());
    EXPECT_EQ(port.doEventsCount, 1);
    EXPECT_EQ(loginsShown, 1);

    // A second Main of the same process (the restart from the pre-login window) passes the
    // single-instance test, which still refuses others.
    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
    EXPECT_TRUE(port.messages.isEmpty());
    SingleInstance other(env().instanceKey);
    EXPECT_FALSE(other.acquire());
}

TEST_F(StartupTest, AnotherCopyIsRefusedBeforeAnythingElse) {
    SingleInstance other(env().instanceKey);
    ASSERT_TRUE(other.acquire());
    folder.makeManagerDatabase();
    folder.writeConfig(folder.accessConfig());
    EXPECT_EQ(Main(env()), StartupOutcome::End);
    EXPECT_EQ(shownLines(port), QStringList{msgLine("程序已经运行！", MsgIcon::None, "商业进销存")});
    EXPECT_TRUE(gAppPath.isEmpty());
    EXPECT_FALSE(gConn);
}

// No configuration, or a folder named like it; a program folder at the root gets one separator.
TEST_F(StartupTest, MissingConfigurationEndsWithItsMessage) {
    folder.makeManagerDatabase();
    const QString line = msgLine("配置文件丢失,请运行主程序重新配置!", MsgIcon::Critical);
    EXPECT_EQ(Main(env()), StartupOutcome::End);
    EXPECT_EQ(shownLines(port), QStringList{line});
    EXPECT_EQ(gIniFile, folder.iniFile());
    EXPECT_FALSE(gConn);
    EXPECT_FALSE(QFile::exists(folder.iniFile()));  // never created here

    fresh();
    ASSERT_TRUE(QDir(folder.path()).mkdir("kxconfig.ini"));
    EXPECT_EQ(Main(env()), StartupOutcome::End);
    EXPECT_EQ(shownLines(port), QStringList{line});

    StartupEnvironment root = env();
    root.programFolder = QDir::rootPath();
    EXPECT_EQ(Main(root), StartupOutcome::End);  // no configuration there
    EXPECT_EQ(gAppPath, QDir::rootPath());
    EXPECT_EQ(gIniFile, QDir::rootPath() + "kxconfig.ini");
}

// ISWLB: exactly "0" (after trimming) is the single-user edition; anything else starts the
// network edition with the pre-login window (here left alone: nothing obtained, the settings
// dialog not confirmed, so the program ends without a word).
TEST_F(StartupTest, EditionChoice) {
    folder.makeManagerDatabase();
    // clang-format off
    const std::pair<const char*, bool> cases[] = {
        {"ISWLB=0", false}, {"  ISWLB =  0   ", false}, {"iswlb=0", false}, {"ISWLB=\"0\"", false}, {nullptr, true},
        {"ISWLB=", true}, {"ISWLB=00", true}, {"ISWLB=1", true}, {"ISWLB=O", true}, {"(empty file)", true},
    };
    // clang-format on
    for (const auto& [baseSetup, network] : cases) {
        SCOPED_TRACE(baseSetup ? baseSetup : "(no line)");
        fresh();
        QStringList lines = folder.accessConfig();
        lines.removeAt(1);  // the ISWLB line
        if (baseSetup)
            lines.insert(1, baseSetup);
        if (baseSetup && qstrcmp(baseSetup, "(empty file)") == 0)
            folder.writeConfigBytes(QByteArray());
        else
            folder.writeConfig(lines);

        const StartupOutcome outcome = Main(env());

        EXPECT_EQ(gIsNetwork, network);
        EXPECT_TRUE(port.messages.isEmpty());
        EXPECT_EQ(outcome, network ? StartupOutcome::End : StartupOutcome::ShowLogin);
        EXPECT_EQ(port.modalForms, network ? QStringList({"w_PreLogin", "frm_connect"}) : QStringList());
        EXPECT_EQ(connected(), !network);
    }
}

// An unknown database kind gives no connection string: the program ends without a message.
TEST_F(StartupTest, UnknownDatabaseKindEndsSilently) {
    folder.makeManagerDatabase();
    for (const QString& kind : {"[microsoft access]", "Access", "[Microsoft  Access]", ""}) {
        SCOPED_TRACE(kind.toStdString());
        fresh();
        QStringList lines = folder.accessConfig();
        lines[3] = "DBTYPE=" + kind;
        folder.writeConfig(lines);
        EXPECT_EQ(Main(env()), StartupOutcome::End);
        EXPECT_TRUE(port.messages.isEmpty()) << port.messages.value(0).text;
        EXPECT_FALSE(connected());
        EXPECT_EQ(gDBType, kind);
        EXPECT_TRUE(gConnectString.isEmpty());
    }
}

// A missing manager's database, or a file that is no database: Open_Connect reports it, the
// program ends, and the file is neither created nor changed.
TEST_F(StartupTest, ManagerDatabaseThatCannotBeOpenedIsReportedByOpenConnect) {
    for (const QByteArray& bytes : {QByteArray("(missing)"), QByteArray(),
                                    QByteArray("this is not a database\r\n"), QByteArray(4096, '\xff')}) {
        SCOPED_TRACE(bytes.left(20).toStdString());
        fresh();
        const bool missing = bytes == "(missing)";
        if (!missing) {
            QFile file(folder.managerFile());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        folder.writeConfig(folder.accessConfig());
        EXPECT_EQ(Main(env()), StartupOutcome::End);
        EXPECT_EQ(shownLines(port), QStringList{msgLine(openConnectMessage(gConnectString))});
        EXPECT_TRUE(port.messages.value(0).text.startsWith("Open_Connect():"));
        EXPECT_EQ(QFile::exists(folder.managerFile()), !missing);
        if (!missing)
            EXPECT_EQ(QFile(folder.managerFile()).size(), bytes.size());
        EXPECT_TRUE(gTitle.isEmpty());
    }
}

// Configurations that still start, the product title taken from them: one with a title of its
// own, a huge one (its title of 300 characters, 255 bytes as the INI reading returns it, cut for
// the title bars), bytes outside code page 936, Unix line ends and
// blanks around names and values, a folder with Chinese names in DATA_SOURCE.
TEST_F(StartupTest, OddConfigurationsStillStart) {
    folder.makeManagerDatabase();
    const QString sub = folder.filePath("帐套数据");
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString chinese = sub + "/KXPUB.MDB";
    ASSERT_TRUE(QFile::copy(folder.managerFile(), chinese));

    QStringList huge;
    for (int i = 0; i < 20000; ++i)
        huge << QString("; 注释行 %1 ").arg(i) + QString(60, 'x');
    huge << "[OTHER]"
         << "VALUE=" + QString(5000, QChar(0x4E2D)) << folder.accessConfig();
    huge.insert(huge.indexOf("ISWLB=0") + 1, "TITLE=" + QString(300, QChar(0x8D26)));
    QStringList spaced;
    for (const QString& line : folder.accessConfig()) {
        const int eq = line.indexOf('=');
        spaced << (eq < 0 ? line : "   " + line.left(eq) + "   =   " + line.mid(eq + 1) + "   ");
    }
    QStringList titled = folder.accessConfig();
    titled.insert(2, "TITLE=  医药连锁管理  ");
    const auto crlf = [](const QStringList& lines) { return cp936::encode(lines.join("\r\n")); };
    const struct {
        const char* name;
        QByteArray bytes;
        QString appTitle;
    } cases[] = {
        {"huge", crlf(huge), QString(40, QChar(0x8D26))},
        {"outside the code page",
         "\xff\xfe\x80\x81 garbage \xa1\r\n" + crlf(folder.accessConfig()) + "\r\n[X]\r\nY=\x81\x20\xff\r\n",
         "商业进销存"},
        {"oddly spaced", cp936::encode(spaced.join('\n')), "商业进销存"},
        {"a title of its own", crlf(titled), "医药连锁管理"},
        {"Chinese folder", crlf(folder.accessConfig(chinese)), "商业进销存"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        folder.writeConfigBytes(c.bytes);
        EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);
        EXPECT_TRUE(port.messages.isEmpty());
        EXPECT_EQ(gAppTitle, c.appTitle);
        EXPECT_EQ(gTitle, QString("Zavrin行业管理软件之%1-帐套管理").arg(c.appTitle));
    }
    EXPECT_TRUE(gConnectString.contains(chinese));
}

// The network edition: the server hands over the database kind, the connection string and the
// manager's database name; the connection opens on them and the login dialog follows.
TEST_F(StartupTest, NetworkEditionStartsOnWhatTheServerSays) {
    folder.makeManagerDatabase();
    test::LocalServer server(folder.managerConnectString());
    writeNetworkConfig("127.0.0.1", QString::number(server.port()));
    port.otherModals = RecordingUiPort::runHandshakes();

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);

    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(port.modalForms, QStringList{"w_PreLogin"});
    EXPECT_TRUE(gIsNetwork);
    EXPECT_EQ(gServerIP, "127.0.0.1           ");
    EXPECT_EQ(gServerPort.size(), 5);
    EXPECT_TRUE(gPreLoginOK);
    EXPECT_EQ(gDBType, kAccess);
    EXPECT_EQ(gConnectString, folder.managerConnectString());
    EXPECT_EQ(gManagerDBName, "ZTDEMO");
    EXPECT_TRUE(connected());
    EXPECT_EQ(gTitle, kDefaultTitle);
    EXPECT_EQ(loginsShown, 1);
    EXPECT_TRUE(orders.orders.isEmpty());
}

// A failed handshake offers the settings dialog; what the operator confirms there is stored and
// used at once (a port typed with blanks around it, kept so in the file).
TEST_F(StartupTest, SettingsDialogCorrectsTheServer) {
    folder.makeManagerDatabase();
    test::LocalServer server(folder.managerConnectString());
    const QString refused = QString::number(test::LocalServer::refusedPort());
    writeNetworkConfig(" 127.0.0.1 ", refused);
    port.otherModals = RecordingUiPort::runHandshakes();
    const QString typed = QString(" %1 ").arg(server.port());
    port.onModal(RecordingUiPort::runHandshakes());
    port.onModal([&](ModalForm& f) {
        auto& settings = static_cast<ConnectSettingsForm&>(f);
        settings.Form_Load();
        EXPECT_EQ(settings.Text4Text, "127.0.0.1");
        EXPECT_EQ(settings.Text5Text, refused);
        settings.Text5Text = typed;
        settings.command1_Click(1);
    });

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);

    EXPECT_EQ(port.modalForms, QStringList({"w_PreLogin", "frm_connect", "w_PreLogin"}));
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, "无法连接服务器，请查看服务器是否启动！");
    EXPECT_TRUE(configBytes().contains("PORT=" + typed.toLatin1() + "\r\n"));
    EXPECT_TRUE(configBytes().contains("IP=127.0.0.1\r\n"));
    // Read back on the next pass, without the blanks.
    EXPECT_EQ(gServerPort, FixedText(QString::number(server.port()), 5));
    EXPECT_EQ(loginsShown, 1);
}

// Where the handshake does not succeed and the operator closes the settings dialog, the program
// ends without a word, unless the server had already given a connection string that opens;
// ConnFail, Cancel of Conning: and restart:3 end it at once, without the settings dialog. The
// configuration file stays as it was.
TEST_F(StartupTest, NetworkEditionGivenUp) {
    const QString local = "127.0.0.1";
    const QStringList withSettings = {"w_PreLogin", "frm_connect"}, alone = {"w_PreLogin"};
    const struct Case {
        const char* name;
        QString ip, script;
        QStringList messages, modals;
        int timeoutMs = 5000;
        StartupOutcome outcome = StartupOutcome::End;
    } cases[] = {
        {"Closed$: before anything", local, "KxBegin: send Closed$:", {}, withSettings},
        // The connection string came; SUCCESS: did not: it is used all the same.
        {"Closed$: before SUCCESS:",
         local,
         "KXEND$$: send Closed$:",
         {},
         withSettings,
         5000,
         StartupOutcome::ShowLogin},
        // 25 characters: the "." lies past the 20 that gServerIP keeps.
        {"address of 25 characters",
         "abcdefghijklmnopqrst.uvwx",
         QString(),
         {PreLoginForm::UnusableAddressText("abcdefghijklmnopqrst")},
         withSettings},
        {"silence, closed by its operator", local, "KxBegin: silent", {}, withSettings, 300},
        {"ConnFail",
         local,
         "KxBegin: send ConnFail",
         {"数据库连接失败，请检查服务器是否成功连接数据库！"},
         alone},
        {"Cancel of Conning:", local, "KxBegin: send Conning:稍候", {"稍候"}, alone},
        {"restart:3", local, "DBNAME$: send restart:3", {}, alone},
    };
    folder.makeManagerDatabase();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        test::LocalServer server(folder.managerConnectString(), c.script);
        writeNetworkConfig(c.ip, QString::number(server.port()));
        const QByteArray before = configBytes();
        port.otherModals = RecordingUiPort::runHandshakes(c.timeoutMs);

        EXPECT_EQ(Main(env()), c.outcome);

        QStringList shown;
        for (const auto& m : port.messages)
            shown << m.text;
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(port.modalForms, c.modals);
        const bool in = c.outcome == StartupOutcome::ShowLogin;
        EXPECT_EQ(connected(), in);
        EXPECT_EQ(loginsShown, in ? 1 : 0);
        EXPECT_EQ(configBytes(), before);
    }
}

// "q" in the pre-login window: the settings dialog, then the whole start-up inside the running
// one; the outer run then opens the connection again and shows the same login dialog.
TEST_F(StartupTest, RestartFromThePreLoginWindow) {
    folder.makeManagerDatabase();
    test::LocalServer server(folder.managerConnectString());
    writeNetworkConfig("127.0.0.1", QString::number(server.port()));
    port.onModal([](ModalForm& f) {
        auto& preLogin = static_cast<PreLoginForm&>(f);
        preLogin.Form_Load();
        preLogin.Form_Activate();
        preLogin.Form_KeyPress('q');
    });
    port.onModal([](ModalForm& f) {
        auto& settings = static_cast<ConnectSettingsForm&>(f);
        settings.Form_Load();
        settings.command1_Click(1);
    });
    port.otherModals = RecordingUiPort::runHandshakes();

    EXPECT_EQ(Main(env()), StartupOutcome::ShowLogin);

    EXPECT_EQ(port.modalForms, QStringList({"w_PreLogin", "frm_connect", "w_PreLogin"}));
    EXPECT_EQ(loginsShown, 2);
    EXPECT_TRUE(connected());
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl
