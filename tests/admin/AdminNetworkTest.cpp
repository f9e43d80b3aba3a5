// ztgl-admin in a network-edition program folder, against the built ztgl-server-sim: both run as
// the real programs.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "SimProcess.h"
#include "demo/DemoFolder.h"
#include "process/Globals.h"
#include "process/IniFile.h"

namespace ztgl::test {
namespace {

class AdminNetworkTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        const AdminRun r = runAdmin({"init-demo", "--network", tmp.path()});
        ASSERT_EQ(r.code, 0) << r.err;
        // The demo prints how to start the server for the folder.
        const QStringList sim = DemoFolder::serverSimArguments(manager());
        ASSERT_TRUE(r.out.contains("ztgl-server-sim --port 2001 --kind '[Microsoft Access]'")) << r.out;
        ASSERT_TRUE(r.out.contains(sim[5])) << r.out;
    }
    void TearDown() override { ResetGlobals(); }

    QString manager() const { return QDir::toNativeSeparators(tmp.filePath("KXPUB.MDB")); }
    QString ini() const { return tmp.filePath("kxconfig.ini"); }

    // A server for the demo folder on a free port, which the folder's configuration then names.
    std::unique_ptr<SimProcess> startServer(const QStringList& extra = {},
                                            const QString& script = QString()) {
        QStringList args = DemoFolder::serverSimArguments(manager());
        args[1] = "0";
        auto sim = std::make_unique<SimProcess>(args + extra, script);
        EXPECT_NE(sim->port(), 0) << sim->log();
        Write_Ini("SERVERINFO", "PORT", QString::number(sim->port()), ini());
        return sim;
    }
    AdminRun expect(const QStringList& args, int code, const QString& errPart = {}) const {
        return expectAdmin(tmp.path(), args, code, errPart);
    }

    QTemporaryDir tmp;
};

// What the window would show or ask, on stderr; questions refused without --yes; orders reported
// and never obeyed; where the window would wait for its operator, ztgl-admin gives up; passwd gives
// the login dialog's message for the user check's refusal. One case per kind of console outcome.
TEST_F(AdminNetworkTest, ServerMessagesOnTheConsole) {
    const QString settings =
        ("（ztgl-admin 不显示连接设置窗口：服务器的地址和端口在 kxconfig.ini 的 [SERVERINFO] 节，键 IP 和 "
         "PORT）");
    const QStringList list{"list"}, passwd{"passwd", "--user", "admin", "--old", "", "--new", "x"};
    const struct {
        const char* name;
        QString script;
        QStringList simExtra, args;
        int code;
        QStringList lines;  // stderr, line by line
    } cases[] = {
        // clang-format off
        {"order", "KxBegin: send restart:1\nKxBegin: pause 400\nKxBegin: answer", {}, list, 0, {"服务器命令本机关闭计算机（ztgl-admin 不执行）"}},
        {"Conning: refused", "KxBegin:#1 send Conning:数据库正在启动", {}, list, 1, {"数据库正在启动", "（没有 --yes，标准输入不是终端：按“取消”处理）"}},
        {"Conning: --yes", "KxBegin:#1 send Conning:数据库正在启动", {}, QStringList{"--yes"} + list, 0, {"数据库正在启动", "（--yes：重试）"}},
        {"server closes", "Connect: close", {}, list, 1, {"连接断开！", settings}},
        {"silence", "KxBegin: silent", {}, QStringList{"--timeout", "1"} + list, 1, {"【连接服务器】正在连接服务器，请稍候......（1 秒内服务器没有结束对话，放弃）", settings}},
        {"user check", QString(), {"--check", "102/收银台"}, passwd, 1, {"登录失败，用户已在 “收银台” 登录！"}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto sim = startServer(c.simExtra, c.script);
        EXPECT_EQ(expect(c.args, c.code).err, c.lines.join('\n') + '\n');
    }
    // No server at all: the handshake's one message, then the note on the settings.
    Write_Ini("SERVERINFO", "PORT", "1", ini());
    EXPECT_EQ(expect(list, 1).err, "无法连接服务器，请查看服务器是否启动！\n" + settings + '\n');
}

}  // namespace
}  // namespace ztgl::test
