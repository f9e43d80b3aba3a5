#pragma once

#include <gtest/gtest.h>

#include <QDir>

#include "ProgramFolder.h"
#include "RecordingUiPort.h"
#include "db/PubSql.h"
#include "process/Globals.h"

namespace ztgl::test {

// A program folder with the manager's database of the Access kind (plus `ztml()` statements), the
// shared connection open on it and messages recorded: the ground of the windows after start-up.
class ManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        folder.makeManagerDatabase(ztml());
        gAppPath = QDir::toNativeSeparators(folder.path()) + QDir::separator();
        gIniFile = folder.iniFile();
        gTitle = QStringLiteral("Zavrin行业管理软件之商业进销存-帐套管理");
        gDBType = kAccess;
        gConnectString = folder.managerConnectString();
        ASSERT_EQ(Open_Connect(), 1);
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }
    virtual QStringList ztml() const { return {}; }
    QStringList messageTexts() const {
        QStringList out;
        for (const auto& m : port.messages)
            out << m.text;
        return out;
    }

    TempProgramFolder folder;
    RecordingUiPort port;
};

}  // namespace ztgl::test
