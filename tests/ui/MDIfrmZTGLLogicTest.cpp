#include <gtest/gtest.h>

#include "RecordingUiPort.h"
#include "ScriptedServer.h"
#include "ado/Connection.h"
#include "catalogue/MainWindowLogic.h"
#include "db/PubSql.h"
#include "operators/ChangePasswordForm.h"
#include "process/Globals.h"

namespace ztgl::test {
namespace {

class RecordingView final : public MainWindowLogic::View {
public:
    void loadList() override { calls << QStringLiteral("load"); }
    void bringListToFront() override { calls << QStringLiteral("front"); }
    void unload() override { calls << QStringLiteral("unload"); }
    QStringList calls;
};

class MainWindowLogicTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }

    RecordingUiPort port;
    RecordingView view;
    MainWindowLogic logic{view};
};

TEST_F(MainWindowLogicTest, ToolbarButtonsInOrder) {
    const auto buttons = MainWindowLogic::toolbarButtons();
    ASSERT_EQ(buttons.size(), 3);
    EXPECT_EQ(buttons[0].caption, QStringLiteral("帐套管理"));
    EXPECT_EQ(buttons[0].key, QStringLiteral("ZTGL"));
    EXPECT_EQ(buttons[1].caption, QStringLiteral("修改密码"));
    EXPECT_EQ(buttons[1].key, QStringLiteral("XGMM"));
    EXPECT_EQ(buttons[2].caption, QStringLiteral("退出系统"));
    EXPECT_EQ(buttons[2].key, QStringLiteral("TCXT"));
}

TEST_F(MainWindowLogicTest, CaptionIsTheProgramTitle) {
    gTitle = QStringLiteral("Zavrin行业管理软件之五金建材-帐套管理");
    EXPECT_EQ(MainWindowLogic::caption(), gTitle);
}

TEST_F(MainWindowLogicTest, LoadShowsTheListOnce) {
    logic.MDIForm_Load();
    EXPECT_EQ(view.calls, (QStringList{QStringLiteral("load"), QStringLiteral("front")}));
    EXPECT_TRUE(logic.isListLoaded());
}

// An open list is only brought forward; a closed one is loaded afresh.
TEST_F(MainWindowLogicTest, ListCommandReloadsOnlyAClosedList) {
    logic.MDIForm_Load();
    view.calls.clear();
    logic.Toolbar1_ButtonClick(QStringLiteral("ZTGL"));
    EXPECT_EQ(view.calls, QStringList{QStringLiteral("front")});

    logic.listUnloaded();
    EXPECT_FALSE(logic.isListLoaded());
    view.calls.clear();
    logic.Toolbar1_ButtonClick(QStringLiteral("ZTGL"));
    EXPECT_EQ(view.calls, (QStringList{QStringLiteral("load"), QStringLiteral("front")}));
}

TEST_F(MainWindowLogicTest, KeysAreComparedInCapitals) {
    logic.MDIForm_Load();
    logic.listUnloaded();
    view.calls.clear();
    logic.Toolbar1_ButtonClick(QStringLiteral("ztgl"));
    EXPECT_EQ(view.calls.first(), QStringLiteral("load"));

    logic.Toolbar1_ButtonClick(QStringLiteral("xGmM"));
    EXPECT_EQ(port.modalForms, QStringList{QStringLiteral("frmCyXgmm")});

    view.calls.clear();
    logic.Toolbar1_ButtonClick(QStringLiteral("tcxt"));
    EXPECT_EQ(view.calls, QStringList{QStringLiteral("unload")});
}

TEST_F(MainWindowLogicTest, ChangePasswordShowsTheDialogModally) {
    bool handled = false;
    port.onModal(
        [&handled](ModalForm& form) { handled = dynamic_cast<ChangePasswordForm*>(&form) != nullptr; });
    logic.Toolbar1_ButtonClick(QStringLiteral("XGMM"));
    EXPECT_TRUE(handled);
    EXPECT_TRUE(view.calls.isEmpty());
}

TEST_F(MainWindowLogicTest, OtherKeysDoNothing) {
    for (const QString& key :
         {QString(), QStringLiteral("ZTGL "), QStringLiteral("SJGL"), QStringLiteral("帐套管理")})
        logic.Toolbar1_ButtonClick(key);
    EXPECT_TRUE(view.calls.isEmpty());
    EXPECT_TRUE(port.modalForms.isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(MainWindowLogicTest, UnloadClosesTheSharedConnection) {
    ScriptedServer server;
    gConn = std::make_unique<ado::Connection>();
    gConn->setConnectionString(QStringLiteral("Provider=SQLOLEDB;Initial Catalog=MAIN;Data Source=SRV"));
    gConn->Open();
    logic.MDIForm_Unload();
    EXPECT_FALSE(gConn);
    EXPECT_EQ(server.calls.last().kind, ScriptedServer::Call::Close);
    logic.MDIForm_Unload();  // nothing left to close: still quiet
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl::test
