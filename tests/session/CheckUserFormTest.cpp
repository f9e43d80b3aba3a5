#include "session/CheckUserForm.h"

#include <gtest/gtest.h>

#include "SessionFixture.h"

namespace ztgl::test {
namespace {

class CheckUserFormTest : public SessionFixture {
protected:
    void SetUp() override {
        SessionFixture::SetUp();
        gOperator.Id = "12";
        gOperator.UserName = "a/b 张";  // a "/" in the code goes as it is
    }
    End run(const QString& script, const QString& check, int timeoutMs) {
        serve(QString(), script, check);
        return runAgainstGlobals(timeoutMs);
    }
    End runAgainstGlobals(int timeoutMs = 5000) {
        CheckUserForm form(socket);
        const End end = runForm(form, timeoutMs);
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
        {"", "102", End::Unloaded, "102"},
        {"", "105", End::Unloaded, "105"},
        {"", QString(), End::Unloaded, QString()},
        {"", "999 anything", End::Unloaded, "999 anything"},
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
        EXPECT_EQ(run(QString::fromUtf8(c.script), c.check, c.timeoutMs), c.end);
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
    CheckUserForm form(socket);
    EXPECT_EQ(form.formName(), "w_CheckUser");
    EXPECT_EQ(form.title(), "【登录服务器】");
    EXPECT_EQ(form.status(), "正在登录服务器，请稍候......");
}

}  // namespace
}  // namespace ztgl::test
