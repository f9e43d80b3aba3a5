#pragma once

#include <gtest/gtest.h>

#include "ProgramFolder.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "db/PubSql.h"
#include "operators/LoginForm.h"
#include "operators/SetMima.h"
#include "process/Globals.h"

namespace ztgl::test {

// A manager's database on the embedded engine with operators of every awkward kind, opened as
// the shared connection.
class OperatorsFixture : public ::testing::Test {
protected:
    struct Operator {
        QString id, code, password;
    };
    static QVector<Operator> operators() {
        return {
            {"2", "o'brien", "p'w \"x\""},
            {"3", "张三", "密码123"},
            {"4", "abcdefghij0123456789klmnopqrst", "Pw3!Pw3!Pw3!Pw3!Pw3!Pw3!Pw3!Pw"},
            {"6", "mixed", "Secret"},
        };
    }

    void SetUp() override {
        ResetGlobals();
        QStringList statements{"insert into ZTUsers (Id, UserName, UserPwds) values ('5', 'nopwd', null)"};
        for (const Operator& o : operators())
            statements << QStringLiteral("insert into ZTUsers (Id, UserName, UserPwds) values (%1, %2, %3)")
                              .arg(GetSqlVal(o.id), GetSqlVal(o.code),
                                   GetSqlVal(LoginForm::EncodedPassword(o.code, o.password)));
        ASSERT_TRUE(folder.openAsManager(statements));
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }

    // On a connection of its own: runs a statement, or reads UserPwds of the operator with this Id.
    void execute(const QString& sql) const { execSql(folder.managerConnectString(), {sql}); }
    QString storedPassword(const QString& id) const {
        const auto rows = queryValues(folder.managerConnectString(),
                                      "select UserPwds from ZTUsers where Id = " + GetSqlVal(id));
        return rows.isEmpty() ? "(no row)" : rows[0][0].toString();
    }

    TempProgramFolder folder;
    RecordingUiPort port;
};

}  // namespace ztgl::test
