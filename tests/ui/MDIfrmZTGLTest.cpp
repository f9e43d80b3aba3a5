#include "ui/MDIfrmZTGL.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "UiFixture.h"
#include "ado/Connection.h"
#include "ui/FrmZTGL.h"

namespace ztgl::test {
namespace {

using gui::MDIfrmZTGL;

const QString kInsert = "insert into ZTML (Id, ZTMC, ZTLJ, CreateTime, UserFlag) values ";

class MDIfrmZTGLTest : public ManagerFixture {
protected:
    QStringList ztml() const override {
        return {kInsert + "('1', '华东贸易有限公司', 'KXPUB_BK001', '2024-03-05', 1)",
                kInsert + "('2', 'O''Neil 五金', 'KXPUB_BK002', '2024-04-01', 0)"};
    }
    void SetUp() override {
        ManagerFixture::SetUp();
        window = new MDIfrmZTGL();
        window->show();
    }
    void TearDown() override {
        delete window.data();
        ManagerFixture::TearDown();
    }

    QAction* action(const QString& key) const { return window->Toolbar1()->findChild<QAction*>(key); }

    QPointer<MDIfrmZTGL> window;
};

TEST_F(MDIfrmZTGLTest, CaptionsToolbarAndCompanyMenu) {
    EXPECT_EQ(window->objectName(), "MDIfrmZTGL");
    // With the list maximised inside it, the frame adds the child's caption, as MDI frames do.
    EXPECT_EQ(window->windowTitle(), gTitle + " - [帐套管理]");
    EXPECT_EQ(window->Company()->title(), gTitle);
    EXPECT_EQ(window->menuBar()->actions().size(), 1);
    QStringList tools;
    for (const QAction* a : window->Toolbar1()->actions()) {
        tools << a->objectName() + " " + a->text();
        EXPECT_FALSE(a->icon().pixmap(24, 24).isNull());
    }
    EXPECT_EQ(tools, (QStringList{"ZTGL 帐套管理", "XGMM 修改密码", "TCXT 退出系统"}));
    EXPECT_EQ(window->Toolbar1()->iconSize(), QSize(24, 24));
    EXPECT_TRUE(port.messages.isEmpty());

    // The Company menu (its commands: CompanyMenuTest) reaches the permission upgrade, asked first,
    // and the end of the program, which ends the work with the database and the window goes.
    const auto actions = window->Company()->actions();
    ASSERT_GE(actions.size(), 3);
    actions.at(actions.size() - 3)->trigger();  // the upgrade; the recorder answers No
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(window->isVisible());
    actions.last()->trigger();  // "TCXT", as the toolbar's button
    ASSERT_TRUE(window);        // closed, its deletion still pending
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(gConn);
    window->logic().MDIForm_Unload();  // nothing left to close: still quiet
    EXPECT_EQ(port.messages.size(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

// The list is a maximised child showing the catalogue. An open list is only brought forward, without
// reading; one closed (here by its "关闭(&Q)" through the access key, by its window:
// ToolbarKeysInAnyLetters) is loaded afresh.
TEST_F(MDIfrmZTGLTest, ListCommandReloadsOnlyAClosedList) {
    QPointer<gui::FrmZTGL> first = window->listWindow();
    ASSERT_TRUE(first);
    ASSERT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(window->mdiArea()->subWindowList().first()->isMaximized());
    EXPECT_EQ(window->mdiArea()->activeSubWindow(), window->mdiArea()->subWindowList().first());
    EXPECT_EQ(first->list().grid().Rows(), 3);  // header and the two sets
    window->resize(1024, 640);
    render(window, "ztgl-MDIfrmZTGL.png");
    gConn->Execute(kInsert + "('3', '新开的分公司', 'KXPUB_BK003', '2024-05-01', 1)");
    action("ZTGL")->trigger();
    EXPECT_EQ(window->listWindow(), first);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(first->list().grid().Rows(), 3);

    ASSERT_TRUE(activate(window));
    QTest::keyClick(window, Qt::Key_Q, Qt::AltModifier);
    EXPECT_TRUE(waitFor([&] { return !window->listWindow(); }));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    EXPECT_FALSE(window->logic().isListLoaded());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), gTitle);
    action("ZTGL")->trigger();
    ASSERT_TRUE(window->listWindow());
    EXPECT_EQ(window->listWindow()->list().grid().Rows(), 4);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(window->mdiArea()->subWindowList().first()->isMaximized());
}

// Keys are compared in capitals; any other key does nothing. (TCXT: CaptionsToolbarAndCompanyMenu.)
TEST_F(MDIfrmZTGLTest, ToolbarKeysInAnyLetters) {
    window->mdiArea()->subWindowList().first()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const char* key : {"", "ZTGL ", "SJGL", "帐套管理"})
        window->logic().Toolbar1_ButtonClick(key);
    EXPECT_FALSE(window->listWindow());
    EXPECT_TRUE(port.modalForms.isEmpty());
    window->logic().Toolbar1_ButtonClick("ztgl");
    EXPECT_TRUE(window->listWindow());
    window->logic().Toolbar1_ButtonClick("xGmM");
    action("XGMM")->trigger();
    EXPECT_EQ(port.modalForms, (QStringList{"frmCyXgmm", "frmCyXgmm"}));
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl::test
