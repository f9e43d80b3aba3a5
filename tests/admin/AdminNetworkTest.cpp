// ztgl-admin in a network-edition program folder, against the built ztgl-server-sim: both run as
// the real programs.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "AdminProcess.h"
#include "QtPrinters.h"
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
        const AdminRun r = runAdmin({QStringLiteral("init-demo"), QStringLiteral("--network"), tmp.path()});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        // The demo prints how to start the server for the folder.
        const QStringList sim = DemoFolder::serverSimArguments(manager());
        ASSERT_TRUE(r.out.contains(QStringLiteral("ztgl-server-sim --port 2001 --kind '[Microsoft Access]'")))
            << r.out.toStdString();
        ASSERT_TRUE(r.out.contains(sim[5])) << r.out.toStdString();
    }
    void TearDown() override { ResetGlobals(); }

    QString manager() const { return QDir::toNativeSeparators(tmp.filePath(QStringLiteral("KXPUB.MDB"))); }
    QString ini() const { return tmp.filePath(QStringLiteral("kxconfig.ini")); }

    // A server for the demo folder on a free port, which the folder's configuration then names.
    std::unique_ptr<SimProcess> startServer(const QStringList& extra = {},
                                            const QString& script = QString()) {
        QStringList args = DemoFolder::serverSimArguments(manager());
        args[1] = QStringLiteral("0");
        auto sim = std::make_unique<SimProcess>(args + extra, script);
        EXPECT_NE(sim->port(), 0) << sim->log().toStdString();
        Write_Ini(QStringLiteral("SERVERINFO"), QStringLiteral("PORT"), QString::number(sim->port()), ini());
        return sim;
    }
    AdminRun admin(const QStringList& args) const {
        return runAdmin(QStringList{QStringLiteral("--dir"), tmp.path()} + args);
    }

    QTemporaryDir tmp;
};

// The whole road: the handshake gives the connection, a new set is named after the database
// name the server announced, and passwd has the operator confirmed by the server.
TEST_F(AdminNetworkTest, WorksOnWhatTheServerGives) {
    auto sim = startServer();
    AdminRun r = admin({QStringLiteral("create"), QStringLiteral("--name"), QStringLiteral("华东公司"),
                        QStringLiteral("--user"), QStringLiteral("u"), QStringLiteral("--password"),
                        QStringLiteral("p")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(tmp.filePath(QStringLiteral("ZTDEMO_BK001.MDB"))));
    r = admin({QStringLiteral("list")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("1\t华东公司\t现启用\tZTDEMO_BK001\t")))
        << r.out.toStdString();
    r = admin({QStringLiteral("passwd"), QStringLiteral("--user"), QStringLiteral("admin"),
               QStringLiteral("--old"), QString(), QStringLiteral("--new"), QStringLiteral("n1")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QString log = sim->log();
    EXPECT_EQ(log.count(QStringLiteral("<- KxBegin:")), 3);
    EXPECT_EQ(log.count(QStringLiteral("-> DBNAME$:ZTDEMO")), 3);
    EXPECT_TRUE(log.contains(QStringLiteral("<- PDUSERS:1/admin\n"))) << log.toStdString();
}

// passwd gives the login dialog's messages for the user check's refusals.
TEST_F(AdminNetworkTest, UserCheckRefusals) {
    struct Case {
        QString check, message;
    };
    const Case cases[] = {
        {QStringLiteral("102/收银台"), QStringLiteral("登录失败，用户已在 “收银台” 登录！")},
        {QStringLiteral("105"), QStringLiteral("登录失败，网络连接出错！")},
        {QStringLiteral("000"), QStringLiteral("登录失败，网络连接出错！")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.check.toStdString());
        auto sim = startServer({QStringLiteral("--check"), c.check});
        const AdminRun r =
            admin({QStringLiteral("passwd"), QStringLiteral("--user"), QStringLiteral("admin"),
                   QStringLiteral("--old"), QString(), QStringLiteral("--new"), QStringLiteral("x")});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, c.message + QLatin1Char('\n'));
    }
}

// What the window would show or ask, on stderr; questions refused without --yes; orders reported
// and never obeyed; where the window would wait for its operator, ztgl-admin gives up.
TEST_F(AdminNetworkTest, ServerMessagesOnTheConsole) {
    struct Case {
        const char* name;
        QString script;
        QStringList extra;
        int code;
        QStringList lines;  // stderr, line by line
    };
    const QString settings = QStringLiteral(
        "（ztgl-admin 不显示连接设置窗口：服务器的地址和端口在 kxconfig.ini 的 [SERVERINFO] 节，键 IP 和 "
        "PORT）");
    const Case cases[] = {
        {"order",
         QStringLiteral("KxBegin: send restart:1\nKxBegin: pause 400\nKxBegin: answer"),
         {},
         0,
         {QStringLiteral("服务器命令本机关闭计算机（ztgl-admin 不执行）")}},
        {"Conning: refused",
         QStringLiteral("KxBegin:#1 send Conning:数据库正在启动"),
         {},
         1,
         {QStringLiteral("数据库正在启动"),
          QStringLiteral("（没有 --yes，标准输入不是终端：按“取消”处理）")}},
        {"Conning: --yes",
         QStringLiteral("KxBegin:#1 send Conning:数据库正在启动"),
         {QStringLiteral("--yes")},
         0,
         {QStringLiteral("数据库正在启动"), QStringLiteral("（--yes：重试）")}},
        {"ConnFail",
         QStringLiteral("KxBegin: send ConnFail"),
         {},
         1,
         {QStringLiteral("数据库连接失败，请检查服务器是否成功连接数据库！")}},
        {"server closes", QStringLiteral("Connect: close"), {}, 1, {QStringLiteral("连接断开！"), settings}},
        {"silence",
         QStringLiteral("KxBegin: silent"),
         {QStringLiteral("--timeout"), QStringLiteral("1")},
         1,
         {QStringLiteral("【连接服务器】正在连接服务器，请稍候......（1 秒内服务器没有结束对话，放弃）"),
          settings}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto sim = startServer({}, c.script);
        QElapsedTimer clock;
        clock.start();
        const AdminRun r = admin(c.extra + QStringList{QStringLiteral("list")});
        EXPECT_LT(clock.elapsed(), 10000);
        EXPECT_EQ(r.code, c.code) << r.err.toStdString();
        EXPECT_EQ(r.err, c.lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    }
}

// A refused connection: the handshake's one message, then the note on the settings.
TEST_F(AdminNetworkTest, NoServer) {
    Write_Ini(QStringLiteral("SERVERINFO"), QStringLiteral("PORT"), QStringLiteral("1"), ini());
    const AdminRun r = admin({QStringLiteral("list")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("无法连接服务器，请查看服务器是否启动！\n")))
        << r.err.toStdString();
    EXPECT_EQ(runAdmin({QStringLiteral("--timeout"), QStringLiteral("0"), QStringLiteral("list")}).code, 2);
}

// ztgl-admin goes through the program's own start-up: the same answers to a broken folder.
TEST(AdminStartupTest, SameAnswersAsTheProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kxconfig.ini")));
    AdminRun r = runAdmin({QStringLiteral("--dir"), dir.path(), QStringLiteral("list")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("配置文件丢失,请运行主程序重新配置!\n"));

    QTemporaryDir demo;
    ASSERT_EQ(runAdmin({QStringLiteral("init-demo"), demo.path()}).code, 0);
    Write_Ini(QStringLiteral("DBCONNECT"), QStringLiteral("DBTYPE"), QStringLiteral("[microsoft access]"),
              demo.filePath(QStringLiteral("kxconfig.ini")));
    r = runAdmin({QStringLiteral("--dir"), demo.path(), QStringLiteral("list")});
    EXPECT_EQ(r.code, 1);
    // The program ends without a word; the console says why.
    EXPECT_EQ(r.err, QStringLiteral("kxconfig.ini 的 [DBCONNECT] 中 DBTYPE 是“[microsoft access]”，不是 "
                                    "[Microsoft Access] 或 [Microsoft SQL Server]，不能继续。\n"));
}

}  // namespace
}  // namespace ztgl::test
