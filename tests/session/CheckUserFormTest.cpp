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
        gOperator.Id = "1";
        gOperator.UserName = "admin";
    }
    void TearDown() override { ResetGlobals(); }

    End run(const QString& script, const QString& check = "100", int timeoutMs = 5000) {
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
        {"", "100", End::Unloaded, "100", 5000},
        {"", "102/收银台-01", End::Unloaded, "102/收银台-01", 5000},
        {"", "102", End::Unloaded, "102", 5000},
        {"", "105", End::Unloaded, "105", 5000},
        {"", QString(), End::Unloaded, QString(), 5000},
        {"", "999 anything", End::Unloaded, "999 anything", 5000},
        {"PDUSERS: send Closed$:", "100", End::Unloaded, "105", 5000},
        {"PDUSERS: send SUCCESS:", "100", End::Unloaded, "105", 5000},
        {"PDUSERS: send \\x81\\xff", "100", End::Unloaded, "105", 5000},
        // The tag in any case; a repeated "Failure:" overwrites and is answered again.
        {"PDUSERS: send failure:100\nKXEND$$:#1 send FAILURE:102/B\nKXEND$$:#2 answer", "100", End::Unloaded,
         "102/B", 5000},
        {"PDUSERS: close", "100", End::ServerClosed, "105", 5000},
        {"KXEND$$: close", "100", End::ServerClosed, "100", 5000},
        {"PDUSERS: silent", "100", End::TimedOut, "105", 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.script) + " / " + c.check.toStdString());
        EXPECT_EQ(run(QString::fromUtf8(c.script), c.check, c.timeoutMs), c.end);
        EXPECT_EQ(result, c.result);
        if (!*c.script) {
            EXPECT_EQ(server->messages(), (QStringList{"<- PDUSERS:1/admin", "-> Failure:" + c.check,
                                                       "<- KXEND$$:", "-> Closed$:"}));
        }
    }
    EXPECT_TRUE(port.messages.isEmpty());
}

// Id first, then the code as stored: a "/" in the code goes as it is.
TEST_F(CheckUserFormTest, OperatorIsSentAsStored) {
    gOperator.Id = "12";
    gOperator.UserName = "a/b 张";
    run(QString());
    EXPECT_EQ(server->messages().value(0), "<- PDUSERS:12/a/b 张");
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
    CheckUserForm form(socket);
    EXPECT_EQ(form.formName(), "w_CheckUser");
    EXPECT_EQ(form.title(), "【登录服务器】");
    EXPECT_EQ(form.status(), "正在登录服务器，请稍候......");
}

}  // namespace
}  // namespace ztgl::test
