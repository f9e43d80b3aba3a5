#include "session/CheckUserForm.h"

#include <gtest/gtest.h>

#include "LocalServer.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "process/Globals.h"
#include "session/QtSessionSocket.h"

namespace ztgl::test {
namespace {

using End = HandshakeForm::RunEnd;

class CheckUserFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gOperator.Id = QStringLiteral("1");
        gOperator.UserName = QStringLiteral("admin");
    }
    void TearDown() override { ResetGlobals(); }

    End run(const QString& script, const QString& check = QStringLiteral("100"), int timeoutMs = 5000) {
        server = std::make_unique<LocalServer>(QString(), script, check);
        server->aimGlobals();
        return runAgainstGlobals(timeoutMs);
    }
    End runAgainstGlobals(int timeoutMs = 5000) {
        CheckUserForm form(socket);
        const End end = form.runWithoutScreen(timeoutMs);
        result = form.CheckResult;
        EXPECT_TRUE(socket.isClosed());
        return end;
    }

    RecordingUiPort port;
    QtSessionSocket socket;
    std::unique_ptr<LocalServer> server;
    QString result;
};

// The server's result arrives whole in CheckResult; "KXEND$$:" answers it and "Closed$:" ends.
TEST_F(CheckUserFormTest, ResultsOfTheServer) {
    const QString codes[] = {QStringLiteral("100"),
                             QStringLiteral("102/收银台-01"),
                             QStringLiteral("102"),
                             QStringLiteral("105"),
                             QString(),
                             QStringLiteral("999 anything")};
    for (const QString& code : codes) {
        SCOPED_TRACE(code.toStdString());
        EXPECT_EQ(run(QString(), code), End::Unloaded);
        EXPECT_EQ(result, code);
        EXPECT_EQ(server->messages(),
                  QStringList({QStringLiteral("<- PDUSERS:1/admin"), QStringLiteral("-> Failure:") + code,
                               QStringLiteral("<- KXEND$$:"), QStringLiteral("-> Closed$:")}));
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

// Id first, then the code as stored: a "/" in the code goes as it is.
TEST_F(CheckUserFormTest, OperatorIsSentAsStored) {
    gOperator.Id = QStringLiteral("12");
    gOperator.UserName = QStringLiteral("a/b 张");
    run(QString());
    EXPECT_EQ(server->messages().value(0), QStringLiteral("<- PDUSERS:12/a/b 张"));
}

TEST_F(CheckUserFormTest, MessagesOtherThanFailureEndTheCheck) {
    struct Case {
        const char* script;
        QString result;
    };
    const Case cases[] = {
        {"PDUSERS: send Closed$:", QStringLiteral("105")},
        {"PDUSERS: send SUCCESS:", QStringLiteral("105")},
        {"PDUSERS: send \\x81\\xff", QStringLiteral("105")},
        // The tag in any case; a repeated "Failure:" overwrites and is answered again.
        {"PDUSERS: send failure:100\nKXEND$$:#1 send FAILURE:102/B\nKXEND$$:#2 answer",
         QStringLiteral("102/B")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        EXPECT_EQ(run(QString::fromUtf8(c.script)), End::Unloaded);
        EXPECT_EQ(result, c.result);
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

// Failures of the connection: "000" and no message of the window's own; a server that closes or
// never answers leaves the result as it was when the operator closes the window.
TEST_F(CheckUserFormTest, ConnectionFailures) {
    gServerIP = FixedText(QStringLiteral("127.0.0.1"), 20);
    gServerPort = FixedText(QString::number(LocalServer::refusedPort()), 5);
    EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
    EXPECT_EQ(result, CheckUserForm::kNoConnection);

    for (const char* address : {"", "localhost", "1"}) {
        gServerIP = FixedText(QString::fromLatin1(address), 20);
        EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
        EXPECT_EQ(result, QStringLiteral("000"));
    }

    EXPECT_EQ(run(QStringLiteral("PDUSERS: close")), End::ServerClosed);
    EXPECT_EQ(result, QStringLiteral("105"));
    EXPECT_EQ(run(QStringLiteral("KXEND$$: close")), End::ServerClosed);
    EXPECT_EQ(result, QStringLiteral("100"));
    EXPECT_EQ(run(QStringLiteral("PDUSERS: silent"), QStringLiteral("100"), 500), End::TimedOut);
    EXPECT_EQ(result, QStringLiteral("105"));
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(CheckUserFormTest, Texts) {
    CheckUserForm form(socket);
    EXPECT_EQ(form.formName(), QStringLiteral("w_CheckUser"));
    EXPECT_EQ(form.title(), QStringLiteral("【登录服务器】"));
    EXPECT_EQ(form.status(), QStringLiteral("正在登录服务器，请稍候......"));
}

}  // namespace
}  // namespace ztgl::test
