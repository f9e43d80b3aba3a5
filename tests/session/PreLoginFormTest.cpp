#include "session/PreLoginForm.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "LocalServer.h"
#include "QtPrinters.h"
#include "RecordingPreLoginHooks.h"
#include "RecordingShutDown.h"
#include "RecordingUiPort.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "session/QtSessionSocket.h"
#include "session/WireMessage.h"

namespace ztgl::test {
namespace {

using End = HandshakeForm::RunEnd;

const QString kConnect = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/KXPUB.MDB");
const QStringList kWholeConversation = {
    QStringLiteral("<- KxBegin:"), QStringLiteral("-> [Microsoft Access]"),
    QStringLiteral("<- Connect:"), QStringLiteral("-> Connect:") + kConnect,
    QStringLiteral("<- DBNAME$:"), QStringLiteral("-> DBNAME$:ZTDEMO"),
    QStringLiteral("<- KXEND$$:"), QStringLiteral("-> SUCCESS:"),
    QStringLiteral("<- Success:"), QStringLiteral("-> Closed$:"),
};

// Only what the client sent.
QStringList sentByClient(const QStringList& messages) {
    QStringList sent;
    for (const QString& m : messages)
        if (m.startsWith(QLatin1String("<- ")))
            sent << m.mid(3);
    return sent;
}

class PreLoginFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gAppTitle = QStringLiteral("商业进销存");
    }
    void TearDown() override { ResetGlobals(); }

    // Runs the window against a server with this script until it unloads (or would wait for its
    // operator: the server closed, or `timeoutMs` passed).
    End run(const QString& script, int timeoutMs = 5000) {
        server = std::make_unique<LocalServer>(kConnect, script);
        server->aimGlobals();
        return runAgainstGlobals(timeoutMs);
    }
    End runAgainstGlobals(int timeoutMs = 5000) {
        PreLoginForm form(socket, &orders, hooks);
        const End end = form.runWithoutScreen(timeoutMs);
        endsProgram = form.endsProgram();
        EXPECT_TRUE(socket.isClosed());
        return end;
    }

    void expectOneMessage(const QString& text, const QString& title, MsgIcon icon,
                          MsgButtons buttons = MsgButtons::Ok) {
        ASSERT_EQ(port.messages.size(), 1);
        EXPECT_EQ(port.messages[0].text, text);
        EXPECT_EQ(port.messages[0].title, title);
        EXPECT_EQ(port.messages[0].icon, icon);
        EXPECT_EQ(port.messages[0].buttons, buttons);
    }

    RecordingUiPort port;
    RecordingShutDown orders;
    QtSessionSocket socket;
    RecordingPreLoginHooks recorded;
    PreLoginForm::Hooks hooks = recorded.hooks();
    std::unique_ptr<LocalServer> server;
    bool endsProgram = false;
};

TEST_F(PreLoginFormTest, WholeConversation) {
    EXPECT_EQ(run(QString()), End::Unloaded);
    EXPECT_EQ(server->messages(), kWholeConversation);
    EXPECT_TRUE(gPreLoginOK);
    EXPECT_EQ(gDBType, kAccess);
    EXPECT_EQ(gConnectString, kConnect);
    EXPECT_EQ(gManagerDBName, QStringLiteral("ZTDEMO"));
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(endsProgram);
}

// The server's messages as it may write them: each is recognised by its first 8 characters
// without regard to case, acted on whenever it comes, and the rest of the conversation goes on.
TEST_F(PreLoginFormTest, ServerMessages) {
    struct Case {
        const char* script;
        QString dbType, connect, dbName;
        bool ok;
    };
    const QString standard = QStringLiteral("ZTDEMO");
    const Case cases[] = {
        // Tags in any case, the kind in small letters (kept as it came).
        {"KxBegin: send [microsoft sql server]\nConnect: send cONNECT:abc\nDBNAME$: send dbname$:X\n"
         "KXEND$$: send success:\nSuccess: send cLoSeD$:",
         QStringLiteral("[microsoft sql server]"), QStringLiteral("abc"), QStringLiteral("X"), true},
        // Empty payloads are stored and answered.
        {"Connect: send Connect:\nDBNAME$: send DBNAME$:", kAccess, QString(), QString(), true},
        // "Failure:", unknown messages and orders other than 0 to 3 change nothing and get no reply
        // (should some of them run together, the result is the same; the answer comes well apart).
        {"KxBegin: send Failure:数据库忙\nKxBegin: pause 50\nKxBegin: send Hello, world\nKxBegin: pause 50\n"
         "KxBegin: send restart:\nKxBegin: pause 50\nKxBegin: send restart:9\nKxBegin: pause 50\n"
         "KxBegin: send restart:3x\nKxBegin: pause 400\nKxBegin: answer",
         kAccess, kConnect, standard, true},
        // SUCCESS: counts even before the kind; Closed$: then ends the window.
        {"KxBegin: send SUCCESS:", QString(), QString(), QString(), true},
        // Closed$: before SUCCESS: ends the window without success.
        {"DBNAME$: send Closed$:", kAccess, kConnect, QString(), false},
        // A message cut in two: the first piece counts with the payload it has, the rest is ignored.
        {"Connect: split 10 Connect:abcdef\nDBNAME$: pause 300\nDBNAME$: answer", kAccess,
         QStringLiteral("ab"), standard, true},
        // Two messages in one receive: the first, with the second in its payload.
        {"Connect: send Connect:abcDBNAME$:X", kAccess, QStringLiteral("abcDBNAME$:X"), standard, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ResetGlobals();
        port.messages.clear();
        EXPECT_EQ(run(QString::fromUtf8(c.script)), End::Unloaded);
        EXPECT_EQ(gDBType, c.dbType);
        EXPECT_EQ(gConnectString, c.connect);
        EXPECT_EQ(gManagerDBName, c.dbName);
        EXPECT_EQ(gPreLoginOK, c.ok);
        EXPECT_TRUE(port.messages.isEmpty());
        EXPECT_TRUE(orders.orders.isEmpty());
        EXPECT_FALSE(endsProgram);
        // Replies are always written as this client writes them.
        for (const QString& sent : sentByClient(server->messages()))
            EXPECT_TRUE(QStringList({QStringLiteral("KxBegin:"), QStringLiteral("Connect:"),
                                     QStringLiteral("DBNAME$:"), QStringLiteral("KXEND$$:"),
                                     QStringLiteral("Success:")})
                            .contains(sent))
                << sent.toStdString();
    }
}

// No conversation state: a second "Connect:" overwrites the first and is answered again.
TEST_F(PreLoginFormTest, SecondConnectIsAnsweredAgain) {
    run(QStringLiteral("Connect:#1 send Connect:first\nDBNAME$:#1 send Connect:second"));
    EXPECT_EQ(sentByClient(server->messages()).count(QStringLiteral("DBNAME$:")), 2);
    EXPECT_EQ(gConnectString, QStringLiteral("second"));
    EXPECT_TRUE(gPreLoginOK);
}

// restart:0 to 2 are obeyed by force through the orders (a recording fake here) and the
// conversation goes on; restart:3 closes and ends the program at once.
TEST_F(PreLoginFormTest, WorkstationOrders) {
    EXPECT_EQ(run(QStringLiteral("KxBegin: send restart:0\nKxBegin: pause 400\nKxBegin: answer\n"
                                 "Connect: send RESTART:1\nConnect: pause 400\nConnect: answer\n"
                                 "DBNAME$: send Restart:2\nDBNAME$: pause 400\nDBNAME$: answer")),
              End::Unloaded);
    EXPECT_EQ(orders.orders, QStringList({QStringLiteral("LogOff force"), QStringLiteral("ShutDown force"),
                                          QStringLiteral("Restart force")}));
    EXPECT_TRUE(gPreLoginOK);
    EXPECT_FALSE(endsProgram);

    ResetGlobals();
    orders.orders.clear();
    EXPECT_EQ(run(QStringLiteral("Connect: send restart:3")), End::Unloaded);
    EXPECT_TRUE(endsProgram);
    EXPECT_TRUE(orders.orders.isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_FALSE(gPreLoginOK);
}

TEST_F(PreLoginFormTest, ConnFailEndsTheProgramWithItsMessage) {
    for (const char* message : {"ConnFail", "CONNFAIL: database down"}) {
        SCOPED_TRACE(message);
        port.messages.clear();
        EXPECT_EQ(run(QStringLiteral("KxBegin: send ") + QString::fromUtf8(message)), End::Unloaded);
        EXPECT_TRUE(endsProgram);
        expectOneMessage(QStringLiteral("数据库连接失败，请检查服务器是否成功连接数据库！"),
                         QStringLiteral("提示信息"), MsgIcon::Information);
    }
}

TEST_F(PreLoginFormTest, ConningAsksRetryOrCancel) {
    const QString script = QStringLiteral("KxBegin:#1 send Conning:服务器正在连接数据库，请稍候……");
    port.answer(MsgAnswer::Retry);
    EXPECT_EQ(run(script), End::Unloaded);
    expectOneMessage(QStringLiteral("服务器正在连接数据库，请稍候……"), QStringLiteral("提示信息"),
                     MsgIcon::Question, MsgButtons::RetryCancel);
    // Retry: a new connection, the conversation from its start.
    EXPECT_EQ(server->connections(), 2);
    EXPECT_EQ(sentByClient(server->messages()).count(QStringLiteral("KxBegin:")), 2);
    EXPECT_TRUE(gPreLoginOK);
    EXPECT_FALSE(endsProgram);

    ResetGlobals();
    port.messages.clear();
    port.answer(MsgAnswer::Cancel);
    EXPECT_EQ(run(script), End::Unloaded);
    EXPECT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(endsProgram);
    EXPECT_EQ(server->connections(), 1);
    EXPECT_FALSE(gPreLoginOK);
}

// What the socket layer reports: a refused connection exactly one message; a server that
// closes "连接断开！" and the window waits for its operator (who closes it: "'ERROR'").
TEST_F(PreLoginFormTest, RefusedAndClosedConnections) {
    gServerIP = FixedText(QStringLiteral("127.0.0.1"), 20);
    gServerPort = FixedText(QString::number(LocalServer::refusedPort()), 5);
    gConnectString = QStringLiteral("old");
    EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
    expectOneMessage(QStringLiteral("无法连接服务器，请查看服务器是否启动！"), QStringLiteral("提示"),
                     MsgIcon::Information);
    EXPECT_EQ(gConnectString, QString());

    port.messages.clear();
    EXPECT_EQ(run(QStringLiteral("Connect: close")), End::ServerClosed);
    expectOneMessage(QStringLiteral("连接断开！"), QStringLiteral("断开"), MsgIcon::Information);
    EXPECT_EQ(gConnectString, QStringLiteral("'ERROR'"));
    EXPECT_FALSE(endsProgram);
}

// A port that is no number cannot be the remote port: the socket keeps port 0, which refuses.
TEST_F(PreLoginFormTest, PortThatIsNoNumber) {
    for (const char* port : {"abc", "12a", "70000"}) {
        SCOPED_TRACE(port);
        this->port.messages.clear();
        gServerIP = FixedText(QStringLiteral("127.0.0.1"), 20);
        gServerPort = FixedText(QString::fromLatin1(port), 5);
        EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
        expectOneMessage(QStringLiteral("无法连接服务器，请查看服务器是否启动！"), QStringLiteral("提示"),
                         MsgIcon::Information);
    }
    EXPECT_EQ(HandshakeForm::RemotePortValue(QStringLiteral(" 2001 ")), 2001);
    EXPECT_EQ(HandshakeForm::RemotePortValue(QStringLiteral("65535")), 65535);
}

// An address without "." or shorter than 2 characters: one message (no icon, application
// title), no connection string, the window unloads before anything was sent.
TEST_F(PreLoginFormTest, UnusableAddress) {
    LocalServer listening(kConnect);
    for (const char* address : {"", "localhost", ".", " . ", "1"}) {
        SCOPED_TRACE(address);
        port.messages.clear();
        gConnectString = QStringLiteral("old");
        gServerIP = FixedText(QString::fromLatin1(address), 20);
        gServerPort = FixedText(QString::number(listening.port()), 5);
        EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
        expectOneMessage(PreLoginForm::UnusableAddressText(TrimBlanks(gServerIP)),
                         QStringLiteral("商业进销存"), MsgIcon::None);
        EXPECT_TRUE(port.messages[0].text.endsWith(QStringLiteral("，不能登录系统")));
        EXPECT_EQ(gConnectString, QString());
    }
    EXPECT_TRUE(sentByClient(listening.messages()).isEmpty());
}

// Bytes no server should send never crash the window or change what was stored.
TEST_F(PreLoginFormTest, BadInput) {
    struct Case {
        const char* name;
        QString script;
        End end;
        QString connect;
    };
    const QString closed = QStringLiteral("'ERROR'");  // closed as its operator would
    const Case cases[] = {
        {"random bytes",
         QStringLiteral("KxBegin: send \\x00\\x9f\\x13\\xfe\\x80\\x7f\\x00\\xc3\\x28\\xa0\\xa1"),
         End::TimedOut, closed},
        {"invalid GBK", QStringLiteral("KxBegin: send \\x81\\xff\\xfe\\x80\\x81"), End::TimedOut, closed},
        {"invalid GBK in a payload", QStringLiteral("Connect: send Connect:\\x81\\xff"), End::Unloaded,
         WireMessage::decode(QByteArray("\x81\xff"))},
        {"1 MB in one message", QStringLiteral("KxBegin: repeat 1048576 Failure:"), End::TimedOut, closed},
        {"silence", QStringLiteral("KxBegin: silent"), End::TimedOut, closed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGlobals();
        port.messages.clear();
        EXPECT_EQ(run(c.script, 700), c.end);
        EXPECT_TRUE(port.messages.isEmpty());
        EXPECT_EQ(gConnectString, c.connect);
        EXPECT_EQ(gPreLoginOK, c.end == End::Unloaded);
    }
}

// The operator's ways out.
TEST_F(PreLoginFormTest, OperatorActions) {
    server = std::make_unique<LocalServer>(kConnect, QStringLiteral("KxBegin: silent"));
    server->aimGlobals();
    {
        PreLoginForm form(socket, &orders, hooks);
        form.Form_Load();
        form.Form_KeyPress('Q');  // capital: nothing
        form.Form_MouseUp(1, 3);  // Ctrl+Shift: nothing
        form.Form_MouseUp(2, 2);  // right button: nothing
        EXPECT_EQ(recorded.settingsShown, 0);
        EXPECT_FALSE(socket.isClosed());

        // Ctrl+click: no connection string, the socket closed, the settings dialog; the window stays.
        gConnectString = QStringLiteral("old");
        form.Form_MouseUp(1, 2);
        EXPECT_EQ(recorded.settingsShown, 1);
        EXPECT_EQ(gConnectString, QString());
        EXPECT_TRUE(socket.isClosed());
        EXPECT_FALSE(form.isUnloaded());

        // "q": unloaded, the settings dialog, then the start-up once more.
        form.Form_KeyPress('q');
        EXPECT_TRUE(form.isUnloaded());
        EXPECT_EQ(recorded.settingsShown, 2);
        EXPECT_EQ(recorded.mainRuns, 1);
        EXPECT_FALSE(form.endsProgram());
    }
    {
        // A nested start-up that ended the program ends this one too.
        recorded.nestedMainSucceeds = false;
        PreLoginForm form(socket, &orders, hooks);
        form.Form_Load();
        form.Form_KeyPress('q');
        EXPECT_TRUE(form.endsProgram());
    }
    {
        // The close button (unload mode 0) leaves the marker "'ERROR'"; an unload by code does not.
        PreLoginForm form(socket, &orders, hooks);
        gConnectString = QStringLiteral("kept");
        form.Form_QueryUnload(1);
        EXPECT_EQ(gConnectString, QStringLiteral("kept"));
        form.Form_QueryUnload(0);
        EXPECT_EQ(gConnectString, QStringLiteral("'ERROR'"));
    }
}

// The 100 ms timer shows frames 1 to 11 in a loop and lets pending window messages run each tick.
TEST_F(PreLoginFormTest, AnimationAndTexts) {
    struct Frames final : HandshakeForm::View {
        void showFrame(int frame) override { shown << frame; }
        void unload() override {}
        QVector<int> shown;
    } view;
    gServerIP = FixedText(QStringLiteral("127.0.0.1"), 20);
    PreLoginForm form(socket, &orders, hooks);
    form.setView(&view);
    form.Form_Load();
    EXPECT_EQ(form.formName(), QStringLiteral("w_PreLogin"));
    EXPECT_EQ(form.title(), QStringLiteral("【连接服务器】"));
    EXPECT_EQ(form.status(), QStringLiteral("正在连接服务器，请稍候......"));
    EXPECT_EQ(HandshakeForm::kTimerInterval, 100);
    for (int i = 0; i < 13; ++i)
        form.Timer1_Timer();
    EXPECT_EQ(view.shown, QVector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 1, 2}));
    EXPECT_EQ(port.doEventsCount, 13);
}

// Errors other than a refused connection: the socket layer's description and "，不能登录系统！".
TEST_F(PreLoginFormTest, OtherSocketErrors) {
    struct FailingSocket final : SessionSocket {
        void setEvents(Events* e) override { events = e; }
        void setRemoteHost(const QString&) override {}
        void setRemotePort(quint16) override {}
        void Connect() override { closed = false; }
        void SendData(const QByteArray&) override {}
        void Close() override { closed = true; }
        bool isClosed() const override { return closed; }
        Events* events = nullptr;
        bool closed = true;
    } failing;
    gServerIP = FixedText(QStringLiteral("server.example"), 20);
    PreLoginForm form(failing, &orders, hooks);
    form.Form_Load();
    gConnectString = QStringLiteral("old");
    failing.events->Winsock_Error(SessionSocket::ErrorKind::Other,
                                  QtSessionSocket::ErrorText(QAbstractSocket::HostNotFoundError));
    expectOneMessage(QStringLiteral("找不到服务器主机，不能登录系统！"), QStringLiteral("提示"),
                     MsgIcon::Information);
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_TRUE(failing.closed);
    EXPECT_EQ(gConnectString, QString());

    // Every kind of socket error has a Chinese description, but the server closing (no error).
    for (int e = QAbstractSocket::ConnectionRefusedError; e <= QAbstractSocket::OperationError; ++e) {
        const QString text = QtSessionSocket::ErrorText(QAbstractSocket::SocketError(e));
        if (e == QAbstractSocket::RemoteHostClosedError)
            EXPECT_TRUE(text.isEmpty());
        else
            EXPECT_FALSE(text.isEmpty() || text.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
                << e;
    }
}

TEST(WireMessageTest, TagsPayloadsAndCodePage) {
    EXPECT_EQ(WireMessage::tag(QStringLiteral("success:xyz")), QStringLiteral("SUCCESS:"));
    EXPECT_EQ(WireMessage::tag(QStringLiteral("[Microsoft Access]")), WireMessage::KindTag);
    EXPECT_EQ(WireMessage::tag(QStringLiteral("abc")), QStringLiteral("ABC"));
    EXPECT_EQ(WireMessage::payload(QStringLiteral("DBNAME$:帐套")), QStringLiteral("帐套"));
    EXPECT_EQ(WireMessage::payload(QStringLiteral("ConnFail")), QString());
    EXPECT_EQ(WireMessage::encode(QStringLiteral("PDUSERS:1/张三")),
              QByteArray("PDUSERS:1/\xd5\xc5\xc8\xfd"));
    EXPECT_EQ(WireMessage::decode(QByteArray("Conning:\xc7\xeb\x80")), QStringLiteral("Conning:请€"));
    for (const QString& t :
         {WireMessage::KxBegin, WireMessage::Connect, WireMessage::DbName, WireMessage::KxEnd,
          WireMessage::SuccessReply, WireMessage::PdUsers, WireMessage::ConnFailTag})
        EXPECT_EQ(t.size(), WireMessage::kTagLength);
}

}  // namespace
}  // namespace ztgl::test
