#pragma once

#include <gtest/gtest.h>

#include <QVariant>
#include <QVector>
#include <memory>

#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "ado/Connection.h"
#include "process/Globals.h"

namespace ztgl::test {

// A manager's database on the scripted SQL Server: gConn open on it; setZtml() gives the rows that
// "select * from ZTML Order By Id" returns.
class ScriptedCatalogueFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gDBType = kSqlServer;
        gAppTitle = QStringLiteral("进销存管理系统");
        gConnectString = QStringLiteral(
            "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;Initial Catalog=MAIN;"
            "Data Source=SRV");
        gConn = std::make_unique<ado::Connection>();
        gConn->setConnectionString(gConnectString);
        gConn->Open();
        server.ignore(QStringLiteral("CZRZ"));  // the record of changes has tests of its own
        server.calls.clear();
    }
    void TearDown() override { ResetGlobals(); }

    // ZTML rows: Id, ZTMC, ZTLJ, CreateTime, UserFlag.
    void setZtml(const QVector<QVector<QVariant>>& rows) {
        server.onQuery(QStringLiteral("^select \\* from ZTML Order By Id$"),
                       ScriptedServer::rows({"Id", "ZTMC", "ZTLJ", "CreateTime", "UserFlag"}, rows));
    }

    ScriptedServer server;
    RecordingUiPort port;
};

}  // namespace ztgl::test
