// The two handshake windows: the one before the login (the kind of database, its connection
// string and name from the server) and the one checking the operator on the server.
#include "session/CheckUserForm.h"
#include "session/PreLoginForm.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <memory>

#include "LocalServer.h"
#include "QtPrinters.h"
#include "RecordingPreLoginHooks.h"
#include "RecordingShutDown.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "session/QtSessionSocket.h"
#include "session/WireMessage.h"

namespace ztgl::test {
namespace {

using End = HandshakeForm::RunEnd;

// A handshake window run against a local server, with fresh process-wide values for each test.
class SessionFixture : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    // A server with this script (and user-check result) that the globals point at.
    void serve(const QString& connect, const QString& script, const QString& check = QStringLiteral("100")) {
        server = std::make_unique<LocalServer>(connect, script, check);
        server->aimGlobals();
    }
    RecordingUiPort port;
    QtSessionSocket socket;
    std::unique_ptr<LocalServer> server;
};

const QString kConnect = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/data/KXPUB.MDB";
const QString kDemo = "ZTDEMO";
const QString kError = "'ERROR'";  // the window closed by its operator
const QString kNoServer = msgLine("无法连接服务器，请查看服务器是否启动！", MsgIcon::Information, "提示");

QStringList sentByClient(const QStringList& messages) {
    QStringList sent;
    for (const QString& m : messages)
        if (m.startsWith(QLatin1String("<- ")))
            sent << m.mid(3);
    return sent;
}

class PreLoginFormTest : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        gAppTitle = "商业进销存";
    }
    // Runs the window until it unloads or would wait for its operator (the server closed, or
    // `timeoutMs` passed); the socket is closed by then.
    End runAgainstGlobals(int timeoutMs = 5000) {
        PreLoginForm form(socket, &orders, hooks);
        const End end = form.runWithoutScreen(timeoutMs);
        EXPECT_TRUE(socket.isClosed());
        endsProgram = form.endsProgram();
        return end;
    }

    RecordingShutDown orders;
    RecordingPreLoginHooks recorded;
    PreLoginForm::Hooks hooks = recorded.hooks();
    bool endsProgram = false;
};

// The server's messages as it may write them: each is recognised by its first 8 characters
// without regard to case and acted on whenever it comes; replies are always written as this
// client writes them; bytes no server should send never crash the window.
TEST_F(PreLoginFormTest, Conversations) {
    // clang-format off
    struct Case {
        const char* name; QString script; End end; QString dbType, connect, dbName; bool ok; QStringList messages = {};
        QStringList orders = {}; bool ends = false; MsgAnswer answer = MsgAnswer::Ok; int connections = 1;
    };
    const QString kDown = "数据库连接失败，请检查服务器是否成功连接数据库！";
    const QString kConning = "服务器正在连接数据库，请稍候……";
    const QString conningScript = "KxBegin:#1 send Conning:" + kConning;
    const QString conning = msgLine(kConning, MsgIcon::Question, "提示信息", MsgButtons::RetryCancel);
    const Case cases[] = {
        {"whole conversation", {}, End::Unloaded, kAccess, kConnect, kDemo, true},
        // Tags in any case, the kind in small letters (kept as it came).
        {"any case", "KxBegin: send [microsoft sql server]\nConnect: send cONNECT:abc\nDBNAME$: send dbname$:X\n"
         "KXEND$$: send success:\nSuccess: send cLoSeD$:", End::Unloaded, "[microsoft sql server]", "abc", "X", true},
        {"empty payloads", "Connect: send Connect:\nDBNAME$: send DBNAME$:", End::Unloaded, kAccess, {}, {}, true},
        // "Failure:", unknown messages and orders other than 0 to 3 change nothing and get no reply.
        {"ignored messages", "KxBegin: send Failure:数据库忙\nKxBegin: pause 50\nKxBegin: send Hello, world\n"
         "KxBegin: pause 50\nKxBegin: send restart:\nKxBegin: pause 50\nKxBegin: send restart:9\nKxBegin: pause 50\n"
         "KxBegin: send restart:3x\nKxBegin: pause 400\nKxBegin: answer", End::Unloaded, kAccess, kConnect, kDemo, true},
        {"SUCCESS: before the kind", "KxBegin: send SUCCESS:", End::Unloaded, {}, {}, {}, true},
        {"Closed$: before SUCCESS:", "DBNAME$: send Closed$:", End::Unloaded, kAccess, kConnect, {}, false},
        // A message cut in two: the first piece counts with the payload it has, the rest is ignored.
        {"cut message", "Connect: split 10 Connect:abcdef\nDBNAME$: pause 300\nDBNAME$: answer", End::Unloaded,
         kAccess, "ab", kDemo, true},
        // Two messages in one receive: the first, with the second in its payload.
        {"two in one", "Connect: send Connect:abcDBNAME$:X", End::Unloaded, kAccess, "abcDBNAME$:X", kDemo, true},
        // No conversation state: a second "Connect:" overwrites the first and is answered again.
        {"second Connect:", "Connect:#1 send Connect:first\nDBNAME$:#1 send Connect:second", End::Unloaded, kAccess,
         "second", kDemo, true},
        // restart:0 to 2 are obeyed by force and the conversation goes on; restart:3 ends the program.
        {"workstation orders", "KxBegin: send restart:0\nKxBegin: pause 400\nKxBegin: answer\nConnect: send RESTART:1\n"
         "Connect: pause 400\nConnect: answer\nDBNAME$: send Restart:2\nDBNAME$: pause 400\nDBNAME$: answer",
         End::Unloaded, kAccess, kConnect, kDemo, true, {}, {"LogOff force", "ShutDown force", "Restart force"}},
        {"restart:3", "Connect: send restart:3", End::Unloaded, kAccess, {}, {}, false, {}, {}, true},
        {"ConnFail", "KxBegin: send CONNFAIL: database down", End::Unloaded, {}, {}, {}, false, {msgLine(kDown)}, {}, true},
        // Retry: a new connection, the conversation from its start; Cancel ends the program.
        {"Conning: Retry", conningScript, End::Unloaded, kAccess, kConnect, kDemo, true, {conning}, {}, false,
         MsgAnswer::Retry, 2},
        {"Conning: Cancel", conningScript, End::Unloaded, {}, {}, {}, false, {conning}, {}, true, MsgAnswer::Cancel},
        // The server closes: "连接断开！" and the window waits for its operator.
        {"closed by the server", "Connect: close", End::ServerClosed, kAccess, kError, {}, false,
         {msgLine("连接断开！", MsgIcon::Information, "断开")}},
        {"invalid GBK in a payload", "Connect: send Connect:\\x81\\xff", End::Unloaded, kAccess,
         WireMessage::decode(QByteArray("\x81\xff")), kDemo, true},
        {"1 MB in one message", "KxBegin: repeat 1048576 Failure:", End::TimedOut, {}, kError, {}, false},
        {"silence", "KxBegin: silent", End::TimedOut, {}, kError, {}, false},
    };
    // clang-format on
    const QStringList replies{"KxBegin:", "Connect:", "DBNAME$:", "KXEND$$:", "Success:"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGlobals();
        port.messages.clear();
        orders.orders.clear();
        if (c.answer != MsgAnswer::Ok)
            port.answer(c.answer);
        serve(kConnect, c.script);
        EXPECT_EQ(runAgainstGlobals(c.end == End::TimedOut ? 700 : 5000), c.end);
        EXPECT_EQ(gDBType, c.dbType);
        EXPECT_EQ(gConnectString, c.connect);
        EXPECT_EQ(gManagerDBName, c.dbName);
        EXPECT_EQ(gPreLoginOK, c.ok);
        EXPECT_EQ(shownLines(port), c.messages);
        EXPECT_EQ(orders.orders, c.orders);
        EXPECT_EQ(endsProgram, c.ends);
        // Every reply is one this client writes; a new connection starts with "KxBegin:", and every
        // "Connect:" of the server is answered.
        const QStringList sent = sentByClient(server->messages());
        for (const QString& reply : sent)
            EXPECT_TRUE(replies.contains(reply)) << reply.toStdString();
        EXPECT_EQ(server->connections(), c.connections);
        EXPECT_EQ(sent.count("KxBegin:"), c.connections);
        const QRegularExpression connect("^-> connect:", QRegularExpression::CaseInsensitiveOption);
        EXPECT_EQ(sent.count("DBNAME$:"), server->messages().filter(connect).size());
        if (c.script.isEmpty()) {
            EXPECT_EQ(server->messages(),
                      (QStringList{"<- KxBegin:", "-> [Microsoft Access]", "<- Connect:", "-> Connect:" + kConnect,
                                   "<- DBNAME$:", "-> DBNAME$:ZTDEMO", "<- KXEND$$:", "-> SUCCESS:", "<- Success:",
                                   "-> Closed$:"}));
        }
    }
}

// A refused connection and a port that is no number (the socket keeps port 0, which refuses):
// one message. An address without "." or shorter than 2 characters: one message (no icon,
// application title) before anything was sent. Both leave no connection string.
TEST_F(PreLoginFormTest, AddressesThatGiveNoConversation) {
    LocalServer listening(kConnect);
    const QString refused = QString::number(LocalServer::refusedPort());
    const QString open = QString::number(listening.port());
    // clang-format off
    const struct { const char* ip; QString port; bool usable; } cases[] = {
        {"127.0.0.1", refused, true}, {"127.0.0.1", "abc", true}, {"127.0.0.1", "12a", true},
        {"127.0.0.1", "70000", true}, {"", open, false}, {"localhost", open, false}, {".", open, false},
        {" . ", open, false}, {"1", open, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + ":" + c.port.toStdString());
        port.messages.clear();
        gConnectString = "old";
        gServerIP = FixedText(QString::fromLatin1(c.ip), 20);
        gServerPort = FixedText(c.port, 5);
        EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
        const QString unusable = PreLoginForm::UnusableAddressText(TrimBlanks(gServerIP));
        EXPECT_EQ(shownLines(port),
                  QStringList{c.usable ? kNoServer : msgLine(unusable, MsgIcon::None, "商业进销存")});
        EXPECT_TRUE(unusable.endsWith("，不能登录系统"));
        EXPECT_EQ(gConnectString, QString());
    }
    EXPECT_TRUE(sentByClient(listening.messages()).isEmpty());
}

// "q" starts the program once more (StartupTest.RestartFromThePreLoginWindow); a nested start-up
// that ended the program ends this one too (the keys and the close box: the widget test).
TEST_F(PreLoginFormTest, OperatorActions) {
    serve(kConnect, "KxBegin: silent");
    recorded.nestedMainSucceeds = false;
    PreLoginForm form(socket, &orders, hooks);
    form.Form_Load();
    form.Form_KeyPress('q');
    EXPECT_TRUE(form.isUnloaded() && form.endsProgram());
    EXPECT_EQ(recorded.mainRuns, 1);
}

// Errors other than a refused connection: the socket layer's description and "，不能登录系统！".
TEST_F(PreLoginFormTest, OtherSocketErrors) {
    struct FailingSocket final : SessionSocket {
        void setEvents(Events* e) override { events = e; }
        void setRemoteHost(const QString&) override {}
        void setRemotePort(quint16) override {}
        void SendData(const QByteArray&) override {}
        void Connect() override { closed = false; }
        void Close() override { closed = true; }
        bool isClosed() const override { return closed; }
        Events* events = nullptr;
        bool closed = true;
    } failing;
    gServerIP = FixedText("server.example", 20);
    PreLoginForm form(failing, &orders, hooks);
    form.Form_Load();
    gConnectString = "old";
    failing.events->Winsock_Error(SessionSocket::ErrorKind::Other,
                                  QtSessionSocket::ErrorText(QAbstractSocket::HostNotFoundError));
    EXPECT_EQ(shownLines(port),
              QStringList{msgLine("找不到服务器主机，不能登录系统！", MsgIcon::Information, "提示")});
    EXPECT_TRUE(form.isUnloaded() && failing.closed && gConnectString.isEmpty());

    // Every kind of socket error has a Chinese description, but the server closing (no error).
    for (int e = QAbstractSocket::ConnectionRefusedError; e <= QAbstractSocket::OperationError; ++e) {
        const QString text = QtSessionSocket::ErrorText(QAbstractSocket::SocketError(e));
        EXPECT_EQ(text.isEmpty() || text.contains(QRegularExpression("[A-Za-z]")),
                  e == QAbstractSocket::RemoteHostClosedError)
            << e;
    }
}

class CheckUserFormTest : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        gOperator.Id = "12";
        gOperator.UserName = "a/b 张";  // a "/" in the code goes as it is
    }
    End runAgainstGlobals(int timeoutMs = 5000) {
        CheckUserForm form(socket);
        const End end = form.runWithoutScreen(timeoutMs);
        EXPECT_TRUE(socket.isClosed());
        result = form.CheckResult;
        return end;
    }

    QString result;
};

// The server's result arrives whole in CheckResult; "KXEND$$:" answers it and "Closed$:" ends.
// Any other message ends the check too, leaving the result as it was ("105" at first); a server
// that closes or never answers leaves it as it was when the operator closes the window. The
// operator goes as Id "/" code, the code as stored.
TEST_F(CheckUserFormTest, ResultsOfTheServer) {
    // clang-format off
    const struct { const char* script; QString check; End end; QString result; int timeoutMs = 5000; } cases[] = {
        {"", "100", End::Unloaded, "100"},
        {"", "102/收银台-01", End::Unloaded, "102/收银台-01"},
        {"", QString(), End::Unloaded, QString()},
        {"PDUSERS: send Closed$:", "100", End::Unloaded, "105"},
        {"PDUSERS: send SUCCESS:", "100", End::Unloaded, "105"},
        {"PDUSERS: send \\x81\\xff", "100", End::Unloaded, "105"},
        // The tag in any case; a repeated "Failure:" overwrites and is answered again.
        {"PDUSERS: send failure:100\nKXEND$$:#1 send FAILURE:102/B\nKXEND$$:#2 answer", "100", End::Unloaded, "102/B"},
        {"PDUSERS: close", "100", End::ServerClosed, "105"},
        {"KXEND$$: close", "100", End::ServerClosed, "100"},
        {"PDUSERS: silent", "100", End::TimedOut, "105", 500},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.script) + " / " + c.check.toStdString());
        serve(QString(), QString::fromUtf8(c.script), c.check);
        EXPECT_EQ(runAgainstGlobals(c.timeoutMs), c.end);
        EXPECT_EQ(result, c.result);
        if (!*c.script) {
            EXPECT_EQ(server->messages(), (QStringList{"<- PDUSERS:12/a/b 张", "-> Failure:" + c.check,
                                                       "<- KXEND$$:", "-> Closed$:"}));
        }
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

// No server to talk to: "000" and no message of the window's own.
TEST_F(CheckUserFormTest, NoConnection) {
    gServerPort = FixedText(QString::number(LocalServer::refusedPort()), 5);
    for (const char* address : {"127.0.0.1", "", "localhost", "1"}) {
        gServerIP = FixedText(QString::fromLatin1(address), 20);
        EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
        EXPECT_EQ(result, "000");
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl::test
