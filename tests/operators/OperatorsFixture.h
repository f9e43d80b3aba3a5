#pragma once

#include <gtest/gtest.h>

#include "RecordingUiPort.h"
#include "TempProgramFolder.h"
#include "db/PubSql.h"
#include "operators/LoginForm.h"
#include "process/Globals.h"

namespace ztgl::test {

// A manager's database on the embedded engine with operators of every awkward kind, opened as
// the shared connection.
class OperatorsFixture : public ::testing::Test {
protected:
    struct Operator {
        QString id, code, password;
    };
    static QString longCode() { return QStringLiteral("abcdefghij0123456789klmnopqrst"); }
    static QString longPassword() { return QStringLiteral("Pw3!Pw3!Pw3!Pw3!Pw3!Pw3!Pw3!Pw"); }
    static QVector<Operator> operators() {
        return {
            {QStringLiteral("2"), QStringLiteral("o'brien"), QStringLiteral("p'w \"x\"")},
            {QStringLiteral("3"), QStringLiteral("张三"), QStringLiteral("密码123")},
            {QStringLiteral("4"), longCode(), longPassword()},
            {QStringLiteral("6"), QStringLiteral("mixed"), QStringLiteral("Secret")},
        };
    }

    void SetUp() override {
        ResetGlobals();
        QStringList statements;
        for (const Operator& o : operators()) {
            statements << QStringLiteral("insert into ZTUsers (Id, UserName, UserPwds) values (%1, %2, %3)")
                              .arg(GetSqlVal(o.id), GetSqlVal(o.code),
                                   GetSqlVal(LoginForm::EncodedPassword(o.code, o.password)));
        }
        statements << QStringLiteral(
            "insert into ZTUsers (Id, UserName, UserPwds) values ('5', 'nopwd', null)");
        folder.makeManagerDatabase(statements);
        gIniFile = folder.iniFile();
        openSharedConnection();
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }

    void openSharedConnection() {
        gDBType = kAccess;
        gConnectString = folder.managerConnectString();
        ASSERT_EQ(Open_Connect(), 1);
    }

    // UserPwds of the operator with this Id, read on a connection of its own.
    QString storedPassword(const QString& id) const;
    // Runs a statement on the manager's database on a connection of its own.
    void execute(const QString& sql) const;

    TempProgramFolder folder;
    RecordingUiPort port;
};

}  // namespace ztgl::test
