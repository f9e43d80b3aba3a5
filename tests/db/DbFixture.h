#pragma once

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl::test {

inline QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Fresh process-wide values and a recording message port for every test; the shared connection
// is closed again before the test's databases go away.
class DbFixture : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    // The one failure message every trap of the database layer shows.
    void expectOneReport(const QString& text) const {
        EXPECT_EQ(shownLines(port), QStringList{msgLine(text)});
    }
    void expectNoMessages() const {
        EXPECT_TRUE(port.messages.isEmpty()) << port.messages.value(0).text.toStdString();
    }

    RecordingUiPort port;
};

}  // namespace ztgl::test
