#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "LocalServer.h"
#include "QtPrinters.h"
#include "RecordingUiPort.h"
#include "ShownLines.h"
#include "process/Globals.h"
#include "session/HandshakeForm.h"
#include "session/QtSessionSocket.h"

namespace ztgl::test {

using End = HandshakeForm::RunEnd;

// A handshake window run against a local server, with fresh process-wide values for each test.
class SessionFixture : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    // A server with this script (and user-check result) that the globals point at.
    void serve(const QString& connect, const QString& script, const QString& check = QStringLiteral("100")) {
        server = std::make_unique<LocalServer>(connect, script, check);
        server->aimGlobals();
    }
    // Runs the window until it unloads (or would wait for its operator: the server closed, or
    // `timeoutMs` passed); the socket is closed by then.
    End runForm(HandshakeForm& form, int timeoutMs) {
        const End end = form.runWithoutScreen(timeoutMs);
        EXPECT_TRUE(socket.isClosed());
        return end;
    }

    RecordingUiPort port;
    QtSessionSocket socket;
    std::unique_ptr<LocalServer> server;
};

}  // namespace ztgl::test
