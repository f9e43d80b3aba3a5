#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>

#include "LiveSqlServer.h"
#include "RecordingUiPort.h"
#include "ado/Connection.h"
#include "creation/DatabaseCreation.h"
#include "creation/ProgressWindow.h"
#include "creation/TargetConnection.h"
#include "creation/TemplateDatabase.h"
#include "demo/DemoTemplate.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

// A real SQL Server, when ZTGL_TEST_SQLSERVER_ODBC holds an ODBC connection string
// ("SERVER=host[,port];UID=…;PWD=…[;Port=…]"): the demo template is built in a new database
// beside master's files, checked, and dropped again.
TEST(CreationLive, BuildsTheDemoTemplateOnSqlServer) {
    const QString master = test::LiveSqlServerConnectString("master");
    if (master.isEmpty())
        GTEST_SKIP() << "ZTGL_TEST_SQLSERVER_ODBC not set";
    ResetGlobals();
    test::RecordingUiPort port;
    port.answer(MsgAnswer::Yes);  // a leftover of an earlier run is replaced
    QTemporaryDir dir;
    gAppPath = dir.path() + QLatin1Char('/');
    QString error;
    ASSERT_TRUE(WriteDemoTemplate(gAppPath + kTemplateFileName, &error)) << error.toStdString();
    gDBType = kSqlServer;
    gManagerDBName = "master";
    gConnectString = master;
    const QString name = QStringLiteral("ztgl_live_BK%1").arg(QDateTime::currentMSecsSinceEpoch() % 1000);
    TargetConnection target;
    ProgressWindow progress;
    progress.Show();
    const bool ok = DatabaseCreation(target, progress).CreateDataBase(name);
    for (const auto& m : port.messages)
        if (m.buttons == MsgButtons::Ok)
            ADD_FAILURE() << m.text.toStdString();
    EXPECT_TRUE(ok);

    ado::Connection conn;
    conn.setConnectionString(gConnectString);
    conn.setConnectionTimeout(10);
    conn.Open();
    if (ok) {
        EXPECT_GE(conn.query("select count(*) from " + name + ".INFORMATION_SCHEMA.TABLES")
                      .rows.value(0)
                      .value(0)
                      .toInt(),
                  25);
        EXPECT_EQ(conn.query("select Id from " + name + ".dbo.Users").rows,
                  (QVector<QVector<QVariant>>{{"0"}}));
    }
    conn.Execute("IF DB_ID('" + name + "') IS NOT NULL DROP DATABASE " + name);
    conn.Close();
    ResetGlobals();
}

}  // namespace
}  // namespace ztgl
