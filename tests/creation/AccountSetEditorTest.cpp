#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "AccountSetFolder.h"
#include "RecordingUiPort.h"
#include "creation/AccountSetEditor.h"
#include "creation/AccountSetRows.h"
#include "creation/DatabaseCreation.h"
#include "db/PubSql.h"
#include "operators/SetMima.h"
#include "process/Globals.h"

namespace ztgl {
namespace {

using test::AccountSetFolder;
using test::RecordingUiPort;
using test::ShownMessage;
using PW = ProgressWindow;

const QString kTitle = QStringLiteral("提示信息");

// What the editor did to the list window.
class RecordingRows final : public AccountSetRows {
public:
    void appendNewSet(const QString& id, const QString& name, const QString& databaseName,
                      const QString& createDate) override {
        calls << QStringList{QStringLiteral("append"), id, name, databaseName, createDate};
    }
    void renameCurrentSet(const QString& name) override {
        calls << QStringList{QStringLiteral("rename"), name};
    }
    QVector<QStringList> calls;
};

void expectInfo(const ShownMessage& m, const QString& text) {
    EXPECT_EQ(m.text, text);
    EXPECT_EQ(m.title, kTitle);
    EXPECT_EQ(m.icon, MsgIcon::Information);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
}

QString today() {
    return Get_ServerTime().left(10);
}

TEST(AccountSetEditorCode, FormatSetCode) {
    const struct {
        const char* id;
        const char* code;
    } cases[] = {{"7", "BK007"}, {"12", "BK012"}, {"123", "BK123"}, {"1234", ""}, {"", ""}};
    for (const auto& c : cases)
        EXPECT_EQ(AccountSetEditor::FormatSetCode(QString::fromLatin1(c.id)), QString::fromLatin1(c.code))
            << c.id;
}

TEST(AccountSetEditorCode, DatabaseNameFollowsTheManagersName) {
    ResetGlobals();
    gManagerDBName = QStringLiteral("MAIN");
    EXPECT_EQ(AccountSetEditor::DatabaseNameFor(QStringLiteral("7")), QStringLiteral("MAIN_BK007"));
    EXPECT_EQ(AccountSetEditor::DatabaseNameFor(QStringLiteral("1234")), QStringLiteral("MAIN_"));
    gManagerDBName.clear();
    EXPECT_EQ(AccountSetEditor::DatabaseNameFor(QStringLiteral("7")), QStringLiteral("_BK007"));
    ResetGlobals();
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()) << folder.error().toStdString(); }

    // A new-set editor, loaded, with its boxes filled.
    std::unique_ptr<AccountSetEditor> newEditor(const QString& id, const QString& name, const QString& user,
                                                const QString& password, const QString& confirm) {
        auto e = std::make_unique<AccountSetEditor>(&rows);
        e->EditId = id;
        e->IsNew = true;
        e->Form_Load();
        e->TxtDB = {name, user, password, confirm};
        return e;
    }
    // Creates a set through the editor and checks that it worked.
    void createSet(const QString& id, const QString& name, const QString& user, const QString& password) {
        auto e = newEditor(id, name, user, password, password);
        e->Command_OK();
        ASSERT_TRUE(e->saved());
        port.messages.clear();
        port.mainWindowEnabled.clear();
        rows.calls.clear();
    }
    std::unique_ptr<AccountSetEditor> modifyEditor(const QString& id) {
        auto e = std::make_unique<AccountSetEditor>(&rows);
        e->EditId = id;
        e->IsNew = false;
        e->Form_Load();
        return e;
    }
    QVector<QVector<QVariant>> ztml() const {
        return folder.query(
            QStringLiteral("KXPUB.MDB"),
            QStringLiteral("select Id, ZTMC, ZTLJ, CreateTime, UserFlag from ZTML order by Id"));
    }
    QVector<QVector<QVariant>> users(const QString& file) const {
        return folder.query(file, QStringLiteral("select Id, Uname, PWD from Users order by Id"));
    }

    RecordingUiPort port;
    AccountSetFolder folder;
    RecordingRows rows;
};

TEST_F(EditorTest, LoadsANewSet) {
    AccountSetEditor fresh(&rows);
    fresh.TxtDB = {QStringLiteral("x"), QStringLiteral("管理员"), QStringLiteral("p"), QStringLiteral("q")};
    fresh.Form_Load();
    EXPECT_EQ(fresh.caption(), QStringLiteral("新增帐套"));
    EXPECT_EQ(fresh.TxtDB[0], QString());
    EXPECT_EQ(fresh.TxtDB[1], QStringLiteral("管理员"));
    EXPECT_EQ(fresh.TxtDB[2], QString());
    EXPECT_EQ(fresh.TxtDB[3], QString());
    EXPECT_EQ(fresh.lblCreateTime, today());
    EXPECT_EQ(fresh.focusedBox(), 0);
    EXPECT_FALSE(fresh.isUnloaded());
    EXPECT_EQ(AccountSetEditor(&rows).TxtDB[1], QStringLiteral("管理员"));
}

// Each check of a new set, in order: the first that fails shows its message and takes the focus.
TEST_F(EditorTest, ChecksANewSet) {
    createSet(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("pw"));
    const struct {
        const char* name;
        const char* user;
        const char* password;
        const char* confirm;
        const char* message;
        int focus;
    } cases[] = {
        {"", "u", "p", "p", "请录入帐套的名称！", 0},
        {"   ", "u", "p", "p", "请录入帐套的名称！", 0},
        {"华东公司", "u", "p", "p", "已经存在“华东公司”帐套，请重新录入帐套名称！", 0},
        {"  华东公司 ", "u", "p", "p", "已经存在“  华东公司 ”帐套，请重新录入帐套名称！", 0},
        {"华北公司", " ", "p", "p", "请录入默认用户的名称！", 1},
        {"华北公司", "u", "", "p", "请录入用户密码，密码不能为空！", 2},
        {"华北公司", "u", "", "", "请录入用户密码，密码不能为空！", 2},
        {"华北公司", "u", "p", "P", "两次录入的密码不一致，请重新确认密码！", 2},
        {"华北公司", "u", "p ", "p", "两次录入的密码不一致，请重新确认密码！", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        port.messages.clear();
        auto e = newEditor(QStringLiteral("2"), QString::fromUtf8(c.name), QString::fromUtf8(c.user),
                           QString::fromUtf8(c.password), QString::fromUtf8(c.confirm));
        EXPECT_FALSE(e->CheckInput());
        ASSERT_EQ(port.messages.size(), 1);
        expectInfo(port.messages[0], QString::fromUtf8(c.message));
        EXPECT_EQ(e->focusedBox(), c.focus);
    }
    port.messages.clear();
    auto e = newEditor(QStringLiteral("2"), QStringLiteral("华北公司"), QStringLiteral("u"),
                       QStringLiteral(" p "), QStringLiteral(" p "));
    EXPECT_TRUE(e->CheckInput());
    EXPECT_TRUE(port.messages.isEmpty());
}

TEST_F(EditorTest, CreatesASetEndToEnd) {
    auto e = newEditor(QStringLiteral("1"), QStringLiteral(" 华东公司 "), QStringLiteral(" 张三 "),
                       QStringLiteral("abc"), QStringLiteral("abc"));
    const QString created = e->lblCreateTime;
    e->Command_OK();

    ASSERT_EQ(port.messages.size(), 1);
    expectInfo(port.messages[0], QStringLiteral("已经成功创建新帐套！"));
    EXPECT_TRUE(e->saved());
    EXPECT_TRUE(e->isUnloaded());
    EXPECT_TRUE(e->isEnabled());
    EXPECT_FALSE(e->progress().isLoaded());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));

    const auto catalogue = ztml();
    ASSERT_EQ(catalogue.size(), 1);
    EXPECT_EQ(catalogue[0][0].toString(), QStringLiteral("1"));
    EXPECT_EQ(catalogue[0][1].toString(), QStringLiteral("华东公司"));
    EXPECT_EQ(catalogue[0][2].toString(), QStringLiteral("_BK001"));
    EXPECT_EQ(catalogue[0][3].toString(), today());
    EXPECT_EQ(catalogue[0][4].toInt(), 1);

    const auto u = users(QStringLiteral("_BK001.MDB"));
    ASSERT_EQ(u.size(), 1);
    EXPECT_EQ(u[0][1].toString(), QStringLiteral("张三"));
    // Set_Mima("0abc0"): the password with one "0" on each side, encoded.
    const QChar c25(25);
    EXPECT_EQ(u[0][2].toString(), QString(c25) + c25 + QStringLiteral(">97") + c25 + QStringLiteral("K>99") +
                                      c25 + c25 + QLatin1Char('='));

    ASSERT_EQ(rows.calls.size(), 1);
    EXPECT_EQ(rows.calls[0], (QStringList{QStringLiteral("append"), QStringLiteral("1"),
                                          QStringLiteral(" 华东公司 "), QStringLiteral("_BK001"), created}));
}

TEST_F(EditorTest, TheProgressWindowShowsTheSetAndItsSteps) {
    QStringList steps;
    struct View final : PW::View {
        QStringList& steps;
        explicit View(QStringList& s) : steps(s) {}
        void progressChanged(const PW& w) override {
            const QString s = w.caption(PW::Label3) + QLatin1Char('|') + w.caption(PW::Label1);
            if (steps.isEmpty() || steps.back() != s)
                steps << s;
        }
        void repaintNow() override { steps << QStringLiteral("repaint"); }
    };
    auto e = newEditor(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"),
                       QStringLiteral("p"), QStringLiteral("p"));
    e->progress().setViewFactory([&steps](PW&) { return std::make_unique<View>(steps); });
    e->Command_OK();
    EXPECT_EQ(steps, (QStringList{QStringLiteral("|"), QStringLiteral("repaint"),
                                  QStringLiteral("正在创建帐套“华东公司”|"),
                                  QStringLiteral("正在创建帐套“华东公司”|创建数据库_BK001,请稍后……"),
                                  QStringLiteral("正在创建帐套“华东公司”|创建帐套信息，请稍后……"),
                                  QStringLiteral("正在创建帐套“华东公司”|新建帐套用户，请稍后……")}));
}

TEST_F(EditorTest, ModifiesASetAndReadsTheUsersOfTheSetItMade) {
    createSet(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("abc"));
    const QString storedPwd = users(QStringLiteral("_BK001.MDB"))[0][2].toString();

    auto e = modifyEditor(QStringLiteral("1"));
    ASSERT_FALSE(e->isUnloaded());
    EXPECT_EQ(e->caption(), QStringLiteral("修改帐套"));
    EXPECT_EQ(e->TxtDB[0], QStringLiteral("华东公司"));
    EXPECT_EQ(e->TxtDB[1], QStringLiteral("张三"));
    EXPECT_EQ(e->TxtDB[2], QString());
    EXPECT_EQ(e->TxtDB[3], QString());
    EXPECT_EQ(e->lblCreateTime, today());
    EXPECT_EQ(e->setDatabaseName(), QStringLiteral("_BK001"));

    // Both password boxes empty: one question; Yes keeps the stored password.
    e->TxtDB[0] = QStringLiteral("华东分公司");
    e->TxtDB[1] = QStringLiteral("李四");
    port.answer(MsgAnswer::Yes);
    e->Command_OK();
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("确定不修改用户的密码？"));
    EXPECT_EQ(port.messages[0].title, kTitle);
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(port.messages[0].buttons, MsgButtons::YesNo);
    expectInfo(port.messages[1], QStringLiteral("已经成功修改帐套！"));
    EXPECT_TRUE(e->saved());
    EXPECT_EQ(ztml()[0][1].toString(), QStringLiteral("华东分公司"));
    const auto u = users(QStringLiteral("_BK001.MDB"));
    EXPECT_EQ(u[0][1].toString(), QStringLiteral("李四"));
    EXPECT_EQ(u[0][2].toString(), storedPwd);
    EXPECT_EQ(rows.calls, (QVector<QStringList>{{QStringLiteral("rename"), QStringLiteral("华东分公司")}}));
    // Modifying never disables the main window; it only makes sure it is usable at the end.
    EXPECT_EQ(port.mainWindowEnabled, QVector<bool>{true});
}

TEST_F(EditorTest, ModifyChecksNamesAndPasswords) {
    createSet(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("abc"));
    createSet(QStringLiteral("2"), QStringLiteral("华北公司"), QStringLiteral("王五"), QStringLiteral("abc"));
    folder.execute(
        QStringLiteral("_BK001.MDB"),
        QStringLiteral(
            "insert into Users (Id, Uname, PWD, IsAdmin, Disabled) values ('1', '赵六', '', 0, 0)"));

    auto e = modifyEditor(QStringLiteral("1"));
    // Its own name is no conflict; another set's name is.
    e->TxtDB[2] = e->TxtDB[3] = QStringLiteral("x");
    EXPECT_TRUE(e->CheckInput());
    e->TxtDB[0] = QStringLiteral("华北公司");
    EXPECT_FALSE(e->CheckInput());
    expectInfo(port.messages.back(), QStringLiteral("已经存在“华北公司”帐套，请重新录入帐套名称！"));
    EXPECT_EQ(e->focusedBox(), 0);
    e->TxtDB[0] = QStringLiteral("华东公司");

    // The default user's own name is no conflict; a second user's name is.
    e->TxtDB[1] = QStringLiteral("赵六 ");
    EXPECT_FALSE(e->CheckInput());
    expectInfo(port.messages.back(), QStringLiteral("已经存在“赵六 ”用户，请重新录入用户名称！"));
    EXPECT_EQ(e->focusedBox(), 1);
    e->TxtDB[1] = QStringLiteral("张三");

    port.messages.clear();
    e->TxtDB[2] = e->TxtDB[3] = QString();
    port.answer(MsgAnswer::No);
    EXPECT_FALSE(e->CheckInput());
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_EQ(port.messages[0].text, QStringLiteral("确定不修改用户的密码？"));
    EXPECT_EQ(e->focusedBox(), 2);

    e->TxtDB[2] = QString();
    e->TxtDB[3] = QStringLiteral("x");
    EXPECT_FALSE(e->CheckInput());
    expectInfo(port.messages.back(), QStringLiteral("请录入用户密码，密码不能为空！"));
    e->TxtDB[2] = QStringLiteral("x");
    e->TxtDB[3] = QStringLiteral("y");
    EXPECT_FALSE(e->CheckInput());
    expectInfo(port.messages.back(), QStringLiteral("两次录入的密码不一致，请重新确认密码！"));
    EXPECT_EQ(e->focusedBox(), 2);

    // A new password is written, blanks and all.
    e->TxtDB[2] = e->TxtDB[3] = QStringLiteral(" a b ");
    e->Command_OK();
    EXPECT_TRUE(e->saved());
    EXPECT_EQ(users(QStringLiteral("_BK001.MDB"))[0][2].toString(), Set_Mima(QStringLiteral("0 a b 0")));
}

TEST_F(EditorTest, ASetThatNoLongerExistsIsReported) {
    auto e = modifyEditor(QStringLiteral("9"));
    EXPECT_TRUE(e->isUnloaded());
    ASSERT_EQ(port.messages.size(), 1);
    expectInfo(port.messages[0], QStringLiteral("没有找到要修改的帐套信息，请重新选择！"));
}

TEST_F(EditorTest, ASetWhoseDatabaseIsGoneCannotBeModified) {
    createSet(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("abc"));
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("_BK001.MDB"))));
    auto e = modifyEditor(QStringLiteral("1"));
    EXPECT_TRUE(e->isUnloaded());
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("LoadDefaultUser():")))
        << port.messages[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("_BK001.MDB"))));  // opening never creates it
}

TEST_F(EditorTest, OverwriteAnswers) {
    createSet(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("abc"));
    folder.execute(QStringLiteral("KXPUB.MDB"), QStringLiteral("delete from ZTML"));

    // No: nothing replaced, no catalogue row, the editor comes back with its entries.
    auto e = newEditor(QStringLiteral("1"), QStringLiteral("华南公司"), QStringLiteral("陈七"),
                       QStringLiteral("p"), QStringLiteral("p"));
    port.answer(MsgAnswer::No);
    e->Command_OK();
    ASSERT_EQ(port.messages.size(), 2);
    EXPECT_EQ(port.messages[0].text, DatabaseCreation::OverwriteQuestion());
    expectInfo(port.messages[1], QStringLiteral("创建数据库失败！"));
    EXPECT_FALSE(e->saved());
    EXPECT_FALSE(e->isUnloaded());
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->isEnabled());
    EXPECT_FALSE(e->progress().isLoaded());
    EXPECT_EQ(e->TxtDB[0], QStringLiteral("华南公司"));
    EXPECT_EQ(e->TxtDB[2], QStringLiteral("p"));
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
    EXPECT_TRUE(ztml().isEmpty());
    EXPECT_EQ(users(QStringLiteral("_BK001.MDB"))[0][1].toString(), QStringLiteral("张三"));
    EXPECT_TRUE(rows.calls.isEmpty());

    // Yes, on the same editor: the old set is replaced by a fresh one.
    port.messages.clear();
    port.answer(MsgAnswer::Yes);
    e->Command_OK();
    ASSERT_EQ(port.messages.size(), 2);
    expectInfo(port.messages[1], QStringLiteral("已经成功创建新帐套！"));
    EXPECT_EQ(users(QStringLiteral("_BK001.MDB"))[0][1].toString(), QStringLiteral("陈七"));
    EXPECT_EQ(ztml().size(), 1);
}

TEST_F(EditorTest, ADatabaseThatCannotBeMadeWritesNoCatalogueRow) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("_BK001.MDB")));
    auto e = newEditor(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"),
                       QStringLiteral("p"), QStringLiteral("p"));
    e->Command_OK();
    ASSERT_EQ(port.messages.size(), 1);
    expectInfo(port.messages[0], QStringLiteral("创建数据库失败！"));
    EXPECT_TRUE(ztml().isEmpty());
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->isEnabled());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
    EXPECT_TRUE(rows.calls.isEmpty());
}

TEST(EditorWithoutTemplate, ReportsTheFailedCreation) {
    RecordingUiPort port;
    AccountSetFolder folder(false);
    ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
    AccountSetEditor e(nullptr);
    e.EditId = QStringLiteral("1");
    e.Form_Load();
    e.TxtDB = {QStringLiteral("华东公司"), QStringLiteral("张三"), QStringLiteral("p"), QStringLiteral("p")};
    e.Command_OK();
    ASSERT_EQ(port.messages.size(), 1);
    expectInfo(port.messages[0], QStringLiteral("创建数据库失败！"));
    EXPECT_TRUE(e.isVisible());
    EXPECT_FALSE(e.isUnloaded());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
}

TEST_F(EditorTest, ASetCodePastThreeDigitsGivesTheBareSeparator) {
    auto e = newEditor(QStringLiteral("1234"), QStringLiteral("华东公司"), QStringLiteral("张三"),
                       QStringLiteral("p"), QStringLiteral("p"));
    e->Command_OK();
    ASSERT_TRUE(e->saved());
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("_.MDB"))));
    EXPECT_EQ(ztml()[0][2].toString(), QStringLiteral("_"));
    EXPECT_EQ(rows.calls[0][3], QStringLiteral("_"));
}

TEST_F(EditorTest, ACatalogueThatRefusesTheRowIsReportedAndTheWindowsStayUsable) {
    folder.execute(QStringLiteral("KXPUB.MDB"), QStringLiteral("drop table ZTML"));
    folder.execute(QStringLiteral("KXPUB.MDB"),
                   QStringLiteral("create table ZTML (Id TEXT(10), ZTMC TEXT(50))"));
    auto e = newEditor(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"),
                       QStringLiteral("p"), QStringLiteral("p"));
    e->Command_OK();
    ASSERT_EQ(port.messages.size(), 1);
    EXPECT_TRUE(port.messages[0].text.startsWith(QStringLiteral("Command_OK()::")))
        << port.messages[0].text.toStdString();
    EXPECT_EQ(port.messages[0].title, kTitle);
    EXPECT_EQ(port.messages[0].icon, MsgIcon::Information);
    EXPECT_FALSE(e->progress().isLoaded());
    EXPECT_TRUE(e->isEnabled());
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
    // The database made before the failure stays.
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("_BK001.MDB"))));
}

TEST_F(EditorTest, NamesWithQuotesBracketsPercentsAndBlanks) {
    const QString names[] = {QStringLiteral("O'Brien's 帐套"), QStringLiteral("[测试]%_公司"),
                             QStringLiteral("  前后有空格  "), QStringLiteral("\t"),
                             QStringLiteral("\t华南\u3000 ")};
    int id = 1;
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        auto e = newEditor(QString::number(id), name, QStringLiteral("O'Neil\t"), QStringLiteral("p q"),
                           QStringLiteral("p q"));
        e->Command_OK();
        ASSERT_TRUE(e->saved());
        // Only blanks are trimmed: tabs and the ideographic space stay.
        EXPECT_EQ(ztml()[id - 1][1].toString(), TrimBlanks(name));
        EXPECT_EQ(rows.calls.back()[2], name);
        EXPECT_EQ(users(AccountSetEditor::DatabaseNameFor(QString::number(id)) + QStringLiteral(".MDB"))[0][1]
                      .toString(),
                  QStringLiteral("O'Neil\t"));
        // The same name again is taken.
        auto again = newEditor(QString::number(id + 1), name, QStringLiteral("u"), QStringLiteral("p"),
                               QStringLiteral("p"));
        EXPECT_FALSE(again->CheckInput());
        expectInfo(port.messages.back(),
                   QStringLiteral("已经存在“") + name + QStringLiteral("”帐套，请重新录入帐套名称！"));
        ++id;
    }
}

TEST_F(EditorTest, CloseUnloadsWithoutWriting) {
    auto e = newEditor(QStringLiteral("1"), QStringLiteral("华东公司"), QStringLiteral("张三"),
                       QStringLiteral("p"), QStringLiteral("p"));
    e->command1_Click(0);
    EXPECT_TRUE(e->isUnloaded());
    EXPECT_FALSE(e->saved());
    EXPECT_TRUE(ztml().isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
}

}  // namespace
}  // namespace ztgl
