#include <QTemporaryDir>

#include "ScriptedCatalogueFixture.h"
#include "UiFixture.h"
#include "creation/AccountSetEditor.h"
#include "ui/FrmZTGLXZ.h"

namespace ztgl::gui {
namespace {

using test::ScriptedServer;

// The editor's window over a scripted SQL Server manager database, without a template: a creation
// fails.
class FrmZTGLXZTest : public test::ScriptedCatalogueFixture {
protected:
    void SetUp() override {
        ScriptedCatalogueFixture::SetUp();
        gManagerDBName = "MAIN";
        ASSERT_TRUE(dir.isValid());
        gAppPath = dir.path() + QLatin1Char('/');
        server.onQuery("getdate",
                       ScriptedServer::rows({"sj"}, {{QDateTime(QDate(2024, 3, 5), QTime(9, 0))}}));
        server.onQuery("^select \\* from ZTML where Id='3'$",
                       ScriptedServer::rows({"Id", "ZTMC", "ZTLJ", "CreateTime"},
                                            {{"3", "华东贸易有限公司", "MAIN_BK003", "2023-11-20"}}));
        server.onQuery("^select \\* from Users where Id='0'$",
                       ScriptedServer::rows({"Id", "Uname"}, {{"0", "张经理"}}));
    }

    QTemporaryDir dir;
};

// New mode and modify mode: caption, boxes, creation date; the rows one below the other.
TEST_F(FrmZTGLXZTest, BothModesShowTheirBoxesAndButtons) {
    // clang-format off
    const struct { const char* id; bool isNew; const char *caption, *name, *user, *created; } modes[] = {
        {"4", true, "新增帐套", "", "管理员", "2024-03-05"},
        {"3", false, "修改帐套", "华东贸易有限公司", "张经理", "2023-11-20"},
    };
    // clang-format on
    for (const auto& m : modes) {
        SCOPED_TRACE(m.caption);
        AccountSetEditor editor(nullptr);
        editor.EditId = QString::fromLatin1(m.id);
        editor.IsNew = m.isNew;
        FrmZTGLXZ w(editor);
        w.Form_Load();
        ASSERT_TRUE(test::activate(&w));
        EXPECT_EQ(w.box(0)->text(), QString::fromUtf8(m.name));
        EXPECT_EQ(w.box(1)->text(), QString::fromUtf8(m.user));
        EXPECT_EQ(w.findChild<QLabel*>("lblCreateTime")->text(), QString::fromLatin1(m.created));
        EXPECT_EQ(w.button(1)->toolTip(), "确定，快捷键Alt+Y");
        for (int i = 1; i < 4; ++i) {  // one below the other, the passwords masked
            EXPECT_GT(w.box(i)->geometry().top(), w.box(i - 1)->geometry().bottom()) << i;
            EXPECT_EQ(w.box(i)->echoMode() == QLineEdit::Password, i >= 2) << i;
        }
        test::expectDialogLook(&w, "frmZTGLXZ", QString::fromUtf8(m.caption), w.findChild<QWidget*>("Shape1"),
                               w.button(1), w.button(0), {w.box(0), w.box(1), w.box(2), w.box(3)},
                               {"帐套名称：", "默认用户：", "密码：", "确认密码：", "创建日期："});
    }
}

// The runner shows the dialog modally; after a failed creation it comes back with the entries,
// and Esc ends it as the close button does.
TEST_F(FrmZTGLXZTest, TheRunnerShowsTheDialogAgainAfterAFailedCreation) {
    AccountSetEditor editor(nullptr);
    editor.EditId = "4";
    int shown = 0;
    test::whenModal("ztgl::gui::FrmZTGLXZ", [&](QWidget* first) {
        auto* w = static_cast<FrmZTGLXZ*>(first);
        ++shown;
        test::typeText(w->box(0), "华东");
        test::typeText(w->box(2), "p");
        test::typeText(w->box(3), "p");
        w->button(1)->click();  // no template: the creation fails
        test::whenModal("ztgl::gui::FrmZTGLXZ", [&](QWidget* again) {
            ++shown;
            EXPECT_EQ(static_cast<FrmZTGLXZ*>(again)->box(0)->text(), "华东");
            EXPECT_TRUE(again->isEnabled());
            test::keyDown(again, Qt::Key_Escape);
        });
    });
    runFrmZTGLXZ(editor, nullptr);
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(editor.isUnloaded());  // the message, the entries kept: EditorFailure.LeavesTheEditorForARetry
}

}  // namespace
}  // namespace ztgl::gui
