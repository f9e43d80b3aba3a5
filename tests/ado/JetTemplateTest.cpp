// What reaches SQL Server when a new set is built from a template beside the program: a real Jet file
// (read by the engine for Jet files) or a file of the embedded engine whose names hold blanks and signs.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "JetFiles.h"
#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "creation/DatabaseCreation.h"
#include "creation/ProgressWindow.h"
#include "creation/TargetConnection.h"
#include "creation/TemplateDatabase.h"
#include "process/Globals.h"

using namespace Qt::StringLiterals;

namespace ztgl {
namespace {

using test::JetFiles;
using test::ScriptedServer;

class TemplateOnSqlServer : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gAppPath = dir.path() + QLatin1Char('/');
        gDBType = kSqlServer;
        gManagerDBName = u"MAIN"_s;
        gConnectString =
            u"Provider=SQLOLEDB;Password=;Persist Security Info=False;User ID=sa;Initial Catalog=MAIN;Data Source=SRV"_s;
        server.onQuery(u"where name='MAIN'$"_s,
                       ScriptedServer::rows({u"FileName"_s}, {{u"D:\\DATA\\MAIN.mdf"_s}}));
    }
    void TearDown() override { ResetGlobals(); }

    // The statements run on the new database (after CREATE DATABASE).
    QStringList build() {
        ProgressWindow progress;
        progress.Show();
        TargetConnection target;
        DatabaseCreation creation(target, progress);
        EXPECT_TRUE(creation.CreateDataBase(u"MAIN_BK001"_s));
        return server.executed().mid(1);
    }
    QString templateFile() const { return gAppPath + kTemplateFileName; }

    QTemporaryDir dir;
    test::RecordingUiPort port;
    ScriptedServer server;
};

TEST_F(TemplateOnSqlServer, ARealJetTemplateGivesTheStatementsOfTheSchemaAndRowCopy) {
    JetFiles::copy(u"indexTestV2003.mdb"_s, templateFile());
    const QByteArray before = JetFiles::bytes(templateFile());
    // The foreign key columns join the primary key, as the copy does with every key of type 2.
    // clang-format off
    const QStringList statements = {
        u"CREATE TABLE Table1(id Integer not null DEFAULT 0 ,otherfk1 Integer DEFAULT 0 ,otherfk2 Integer DEFAULT 0 ,data nvarchar (50) ,otherfk3 Integer DEFAULT 0 ,constraint Table1_Key_Kx primary  key(id,otherfk1,otherfk2))"_s,
        u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(0,0,10,'baz0',0)"_s, u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(1,1,11,'baz11',0)"_s, u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(2,1,11,'baz11-2',0)"_s, u"Insert into Table1(id,otherfk1,otherfk2,data,otherfk3) values(3,2,13,'baz13',0)"_s,
        u"CREATE TABLE Table2(id Integer not null DEFAULT 0 ,data nvarchar (50) ,constraint Table2_id primary  key(id))"_s,
        u"Insert into Table2(id,data) values(0,'foo0')"_s, u"Insert into Table2(id,data) values(1,'foo1')"_s, u"Insert into Table2(id,data) values(2,'foo2')"_s,
        u"CREATE TABLE Table3(id Integer not null DEFAULT 0 ,data nvarchar (50) ,constraint Table3_id primary  key(id))"_s,
        u"Insert into Table3(id,data) values(10,'bar10')"_s, u"Insert into Table3(id,data) values(11,'bar11')"_s, u"Insert into Table3(id,data) values(12,'bar12')"_s, u"Insert into Table3(id,data) values(13,'bar13')"_s,
    };
    // clang-format on
    EXPECT_EQ(build(), statements);
    EXPECT_TRUE(port.messages.isEmpty());
    EXPECT_EQ(JetFiles::bytes(templateFile()), before);
}

}  // namespace
}  // namespace ztgl
