#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "JetFiles.h"
#include "LocalServer.h"
#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RecordingShutDown.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "ado/Connection.h"
#include "db/PubSql.h"
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
        port.doEventsCount = 0;
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

    void writeNetworkConfig(const QString& ip, const QString& port) const {
        folder.writeConfig({"[BASESETUP]", "ISWLB=1", "[SERVERINFO]", "IP=" + ip, "PORT=" + port});
    }
    QByteArray configBytes() const { return test::JetFiles::bytes(folder.iniFile()); }
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

// Start-ups of the single-user edition and what ends them. Each row changes one line of a good
// configuration (or writes none, a folder in its place, an empty file) and may spoil the manager's
// database. ISWLB: exactly "0" (after trimming) is the single-user edition; anything else starts
// the network edition with the pre-login window (here left alone: nothing obtained, the settings
// dialog not confirmed, so the program ends without a word). An unknown database kind gives no
// connection string: the program ends without a message. A missing manager's database, or a file
// that is no database: Open_Connect reports it, the program ends, and the file is neither created
// nor changed.
TEST_F(StartupTest, SingleUserEdition) {
    const StartupOutcome in = StartupOutcome::ShowLogin, out = StartupOutcome::End;
    const QStringList lost = {msgLine("配置文件丢失,请运行主程序重新配置!", MsgIcon::Critical)};
    const QStringList openConnect = {"(Open_Connect)"};
    const QByteArray made = "(made)", missing = "(missing)";
    // clang-format off
    const struct { const char* name; int line; const char* text; /* nullptr: the line removed */
                   StartupOutcome outcome; QStringList shown; bool network = false;
                   QByteArray manager = "(made)"; } cases[] = {
        {"as written", -1, nullptr, in, {}},
        {"no configuration", -1, "(none)", out, lost}, {"a folder named like it", -1, "(folder)", out, lost},
        {"ISWLB=0", 1, "ISWLB=0", in, {}}, {"spaced", 1, "  ISWLB =  0   ", in, {}}, {"small", 1, "iswlb=0", in, {}},
        {"quoted 0", 1, "ISWLB=\"0\"", in, {}}, {"no ISWLB line", 1, nullptr, out, {}, true},
        {"ISWLB=", 1, "ISWLB=", out, {}, true}, {"ISWLB=00", 1, "ISWLB=00", out, {}, true},
        {"ISWLB=1", 1, "ISWLB=1", out, {}, true}, {"ISWLB=O", 1, "ISWLB=O", out, {}, true},
        {"empty file", -1, "(empty)", out, {}, true}, {"small kind", 3, "DBTYPE=[microsoft access]", out, {}},
        {"no brackets", 3, "DBTYPE=Access", out, {}}, {"two blanks", 3, "DBTYPE=[Microsoft  Access]", out, {}},
        {"no kind", 3, "DBTYPE=", out, {}}, {"manager missing", -1, nullptr, out, openConnect, false, missing},
        {"manager empty", -1, nullptr, out, openConnect, false, ""},
        {"manager of text", -1, nullptr, out, openConnect, false, "this is not a database\r\n"},
        {"manager of 0xff", -1, nullptr, out, openConnect, false, QByteArray(4096, '\xff')},
    };
    // clang-format on
    folder.makeManagerDatabase();
    const QString good = folder.filePath("good.MDB");
    ASSERT_TRUE(QFile::copy(folder.managerFile(), good));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        QFile::remove(folder.managerFile());
        QDir(folder.path()).rmdir("kxconfig.ini");
        QFile::remove(folder.iniFile());
        if (c.manager == made) {
            ASSERT_TRUE(QFile::copy(good, folder.managerFile()));
        } else if (c.manager != missing) {
            test::JetFiles::write(folder.managerFile(), c.manager);
        }
        const qint64 managerSize = QFileInfo(folder.managerFile()).size();
        QStringList lines = folder.accessConfig();
        if (c.line >= 0 && c.text)
            lines[c.line] = QString::fromUtf8(c.text);
        else if (c.line >= 0)
            lines.removeAt(c.line);
        if (qstrcmp(c.text, "(folder)") == 0)
            ASSERT_TRUE(QDir(folder.path()).mkdir("kxconfig.ini"));
        else if (qstrcmp(c.text, "(empty)") == 0)
            folder.writeConfigBytes(QByteArray());
        else if (qstrcmp(c.text, "(none)") != 0)
            folder.writeConfig(lines);
        const bool hadConfig = QFile::exists(folder.iniFile());
        const QByteArray config = configBytes();

        EXPECT_EQ(Main(env()), c.outcome);

        const QStringList reported = {msgLine(openConnectMessage(gConnectString))};
        EXPECT_EQ(shownLines(port), c.shown == openConnect ? reported : c.shown);
        EXPECT_EQ(gIsNetwork, c.network);
        EXPECT_EQ(port.modalForms, c.network ? QStringList({"w_PreLogin", "frm_connect"}) : QStringList());
        EXPECT_EQ(connected(), c.outcome == in);
        EXPECT_EQ(loginsShown, c.outcome == in ? 1 : 0);
        EXPECT_EQ(QFile::exists(folder.managerFile()), c.manager != missing);
        EXPECT_EQ(QFileInfo(folder.managerFile()).size(), managerSize);
        EXPECT_EQ(gIniFile, folder.iniFile());
        EXPECT_EQ(QFile::exists(folder.iniFile()), hadConfig);  // never created here
        EXPECT_EQ(configBytes(), config);
        if (c.outcome == in) {
            EXPECT_EQ(gAppPath, folder.path() + QDir::separator());
            EXPECT_EQ(gDBType, kAccess);
            EXPECT_EQ(gConnectString, Build_ConnectString(kAccess, gDBProfile));
            EXPECT_TRUE(gManagerDBName.isEmpty());
            EXPECT_EQ(port.doEventsCount, 1);
        }
        if (c.line == 3) {
            EXPECT_EQ("DBTYPE=" + gDBType, c.text);
            EXPECT_TRUE(gConnectString.isEmpty());
        }
    }
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

// The network edition: the server hands over the database kind, the connection string and the
// manager's database name; the connection opens on them and the login dialog follows. Where the
// handshake does not succeed and the operator closes the settings dialog, the program ends without
// a word, unless the server had already given a connection string that opens; ConnFail (like Cancel
// of Conning: and restart:3, which end the pre-login window the same way) ends it at once, without
// the settings dialog. The configuration file stays as it was.
TEST_F(StartupTest, NetworkEdition) {
    const QString local = "127.0.0.1", a25 = "abcdefghijklmnopqrst.uvwx";  // "." past the 20 kept
    const QStringList withSettings = {"w_PreLogin", "frm_connect"}, alone = {"w_PreLogin"};
    const StartupOutcome in = StartupOutcome::ShowLogin, out = StartupOutcome::End;
    const QString unusable = PreLoginForm::UnusableAddressText("abcdefghijklmnopqrst");
    const QString down = "数据库连接失败，请检查服务器是否成功连接数据库！";
    // clang-format off
    const struct { const char* name; QString ip, script; QStringList messages, modals;
                   StartupOutcome outcome; } cases[] = {
        {"whole conversation", local, QString(), {}, alone, in},
        {"Closed$: before anything", local, "KxBegin: send Closed$:", {}, withSettings, out},
        {"Closed$: before SUCCESS:", local, "KXEND$$: send Closed$:", {}, withSettings, in},  // used all the same
        {"address of 25 characters", a25, QString(), {unusable}, withSettings, out},
        {"ConnFail", local, "KxBegin: send ConnFail", {down}, alone, out},
    };
    // clang-format on
    folder.makeManagerDatabase();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        test::LocalServer server(folder.managerConnectString(), c.script);
        writeNetworkConfig(c.ip, QString::number(server.port()));
        const QByteArray before = configBytes();
        port.otherModals = RecordingUiPort::runHandshakes();

        EXPECT_EQ(Main(env()), c.outcome);

        QStringList shown;
        for (const auto& m : port.messages)
            shown << m.text;
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(port.modalForms, c.modals);
        EXPECT_EQ(connected(), c.outcome == in);
        EXPECT_EQ(loginsShown, c.outcome == in ? 1 : 0);
        EXPECT_EQ(configBytes(), before);
        EXPECT_TRUE(gIsNetwork);
        if (c.outcome == in) {
            EXPECT_EQ(gServerIP, "127.0.0.1           ");
            EXPECT_EQ(gPreLoginOK, c.script.isEmpty());
            EXPECT_EQ(gConnectString, folder.managerConnectString());
            EXPECT_EQ(gManagerDBName, "ZTDEMO");
            EXPECT_EQ(gTitle, "Zavrin行业管理软件之商业进销存-帐套管理");
        }
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
