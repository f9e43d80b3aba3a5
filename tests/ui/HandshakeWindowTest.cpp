#include "ui/HandshakeWindow.h"

#include "LocalServer.h"
#include "RecordingPreLoginHooks.h"
#include "RecordingShutDown.h"
#include "UiFixture.h"
#include "session/CheckUserForm.h"
#include "session/PreLoginForm.h"
#include "session/QtSessionSocket.h"

namespace ztgl::test {
namespace {

using gui::HandshakeWindow;

class HandshakeWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetGlobals();
        gAppTitle = "商业进销存";
    }
    void TearDown() override { ResetGlobals(); }

    // A pre-login window up and waiting on a server that does not answer.
    std::unique_ptr<HandshakeWindow> waitingWindow(PreLoginForm& form) {
        server.aimGlobals();
        auto window = std::make_unique<HandshakeWindow>(form);
        EXPECT_TRUE(activate(window.get()));
        QApplication::processEvents();
        return window;
    }

    RecordingUiPort port;
    RecordingShutDown orders;
    QtSessionSocket socket;
    LocalServer server{"Provider=P", "KxBegin: silent"};
    RecordingPreLoginHooks recorded;
    PreLoginForm::Hooks hooks = recorded.hooks();
};

// Both windows: texts, colours and pictures; eleven different frames animated on the timer; the
// close box leaves the error marker of each.
TEST_F(HandshakeWindowTest, LooksAsDesignedAndTheCloseBoxMarksAnError) {
    PreLoginForm preLogin(socket, &orders, hooks);
    auto window = waitingWindow(preLogin);
    EXPECT_EQ(window->windowTitle(), "商业进销存");
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(238, 242, 221));
    EXPECT_EQ(window->Shape1()->fillColour(), QColor(Qt::white));
    EXPECT_EQ(window->Shape1()->borderColour(), QColor(150, 150, 78));
    EXPECT_FALSE(HandshakeWindow::bitmap103().isNull());
    EXPECT_EQ(window->Image2()->pixmap().toImage(), HandshakeWindow::bitmap103().toImage());
    EXPECT_EQ(window->Timer1()->interval(), 100);
    QList<QImage> frames;
    for (int n = 1; n <= HandshakeForm::kFrames; ++n) {
        frames << HandshakeWindow::frame(n).toImage();
        EXPECT_FALSE(frames.back().isNull() || frames.indexOf(frames.back()) < n - 1) << n;  // all different
    }
    const QImage first = window->Image1()->pixmap().toImage();
    EXPECT_TRUE(waitFor([&] { return window->Image1()->pixmap().toImage() != first; }, 1000));

    CheckUserForm check(socket);
    HandshakeWindow checkWindow(check);
    activate(&checkWindow);
    // clang-format off
    const struct { HandshakeWindow* window; const char *name, *head, *status; } rows[] = {
        {window.get(), "w_PreLogin", "【连接服务器】", "正在连接服务器，请稍候......"},
        {&checkWindow, "w_CheckUser", "【登录服务器】", "正在登录服务器，请稍候......"},
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(row.window->objectName(), row.name);
        EXPECT_EQ(row.window->Label2()->text(), row.head);
        EXPECT_EQ(row.window->Label1()->text(), row.status);
        for (QLabel* l :
             {row.window->Label1(), row.window->Label2(), row.window->Image1(), row.window->Image2()}) {
            EXPECT_TRUE(row.window->Shape1()->geometry().contains(l->geometry())) << row.name;
            EXPECT_GE(l->width(), l->sizeHint().width()) << row.name;  // nothing cut
        }
        render(row.window, QString("ztgl-%1.png").arg(row.name));
        row.window->close();
    }
    EXPECT_TRUE(preLogin.isUnloaded());
    EXPECT_EQ(gConnectString, "'ERROR'");
    EXPECT_TRUE(socket.isClosed());
    EXPECT_TRUE(check.isUnloaded());
    EXPECT_EQ(check.CheckResult, "105");
}

// Ctrl alone with the left button: the settings dialog; the window stays and waits. The window
// takes its keys itself: "q" (small only) leaves for the settings and a new start-up.
TEST_F(HandshakeWindowTest, CtrlClickAndKeyQ) {
    PreLoginForm preLogin(socket, &orders, hooks);
    auto window = waitingWindow(preLogin);
    const QPoint inside = window->rect().center();
    QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseClick(window.get(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier, inside);
    QTest::mouseClick(window.get(), Qt::RightButton, Qt::ControlModifier, inside);
    QTest::keyClick(window.get(), 'Q', Qt::ShiftModifier);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_EQ(recorded.settingsShown, 0);
    // What a Ctrl+click and "q" do besides: PreLoginFormTest.OperatorActions.
    QTest::mouseClick(window.get(), Qt::LeftButton, Qt::ControlModifier,
                      window->Image2()->geometry().center());
    EXPECT_EQ(recorded.settingsShown, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(preLogin.isUnloaded());

    QTest::keyClick(window.get(), 'q');
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(preLogin.isUnloaded());
    EXPECT_EQ(recorded.settingsShown, 2);
    EXPECT_EQ(recorded.mainRuns, 1);
}

// The real window shown modally, as the program shows it: an unusable address closes it at once
// with its message. (A conversation with a server: the windows above and HandshakeFormsTest.)
TEST_F(HandshakeWindowTest, ModalRunWithAnUnusableAddress) {
    gServerIP = FixedText("localhost", 20);
    PreLoginForm unusable(socket, &orders, hooks);
    gui::runHandshakeWindow(unusable, nullptr);
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, PreLoginForm::UnusableAddressText("localhost"));
    EXPECT_TRUE(unusable.isUnloaded());
}

}  // namespace
}  // namespace ztgl::test
