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
// Any other message ends the check too, leaving the result as it was ("105" at first); a server
// that closes or never answers leaves it as it was when the operator closes the window.
TEST_F(CheckUserFormTest, ResultsOfTheServer) {
    const struct {
        const char* script;
        QString check;
        End end;
        QString result;
        int timeoutMs;
    } cases[] = {
        {"", QStringLiteral("100"), End::Unloaded, QStringLiteral("100"), 5000},
        {"", QStringLiteral("102/收银台-01"), End::Unloaded, QStringLiteral("102/收银台-01"), 5000},
        {"", QStringLiteral("102"), End::Unloaded, QStringLiteral("102"), 5000},
        {"", QStringLiteral("105"), End::Unloaded, QStringLiteral("105"), 5000},
        {"", QString(), End::Unloaded, QString(), 5000},
        {"", QStringLiteral("999 anything"), End::Unloaded, QStringLiteral("999 anything"), 5000},
        {"PDUSERS: send Closed$:", QStringLiteral("100"), End::Unloaded, QStringLiteral("105"), 5000},
        {"PDUSERS: send SUCCESS:", QStringLiteral("100"), End::Unloaded, QStringLiteral("105"), 5000},
        {"PDUSERS: send \\x81\\xff", QStringLiteral("100"), End::Unloaded, QStringLiteral("105"), 5000},
        // The tag in any case; a repeated "Failure:" overwrites and is answered again.
        {"PDUSERS: send failure:100\nKXEND$$:#1 send FAILURE:102/B\nKXEND$$:#2 answer", QStringLiteral("100"),
         End::Unloaded, QStringLiteral("102/B"), 5000},
        {"PDUSERS: close", QStringLiteral("100"), End::ServerClosed, QStringLiteral("105"), 5000},
        {"KXEND$$: close", QStringLiteral("100"), End::ServerClosed, QStringLiteral("100"), 5000},
        {"PDUSERS: silent", QStringLiteral("100"), End::TimedOut, QStringLiteral("105"), 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.script) + " / " + c.check.toStdString());
        EXPECT_EQ(run(QString::fromUtf8(c.script), c.check, c.timeoutMs), c.end);
        EXPECT_EQ(result, c.result);
        if (!*c.script) {
            EXPECT_EQ(server->messages(),
                      (QStringList{QStringLiteral("<- PDUSERS:1/admin"), "-> Failure:" + c.check,
                                   QStringLiteral("<- KXEND$$:"), QStringLiteral("-> Closed$:")}));
        }
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

// No server to talk to: "000" and no message of the window's own.
TEST_F(CheckUserFormTest, NoConnection) {
    gServerPort = FixedText(QString::number(LocalServer::refusedPort()), 5);
    for (const char* address : {"127.0.0.1", "", "localhost", "1"}) {
        gServerIP = FixedText(QString::fromLatin1(address), 20);
        EXPECT_EQ(runAgainstGlobals(), End::Unloaded);
        EXPECT_EQ(result, QStringLiteral("000"));
    }
    EXPECT_TRUE(port.messages.isEmpty());
    CheckUserForm form(socket);
    EXPECT_EQ(form.formName(), QStringLiteral("w_CheckUser"));
    EXPECT_EQ(form.title(), QStringLiteral("【登录服务器】"));
    EXPECT_EQ(form.status(), QStringLiteral("正在登录服务器，请稍候......"));
}

}  // namespace
}  // namespace ztgl::test
