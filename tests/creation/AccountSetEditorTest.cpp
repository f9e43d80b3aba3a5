#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "CreationFixture.h"
#include "JetFiles.h"

namespace ztgl::test {
namespace {

const QString kOverwrite =
    msgLine(DatabaseCreation::OverwriteQuestion(), MsgIcon::Information, "提示信息", MsgButtons::YesNo);

// An old file of the set's name, in small letters.
void writeOldFile(const AccountSetFolder& f) {
    JetFiles::write(f.file("_BK001.mdb"), "books");
}

TEST(AccountSetEditorCode, SetCodeAndDatabaseName) {
    ResetGlobals();
    gManagerDBName = "MAIN";
    for (const auto& [id, code] :
         {std::pair{"7", "BK007"}, {"12", "BK012"}, {"123", "BK123"}, {"1234", ""}, {"", ""}}) {
        EXPECT_EQ(AccountSetEditor::FormatSetCode(QString::fromLatin1(id)), QString::fromLatin1(code)) << id;
        EXPECT_EQ(AccountSetEditor::DatabaseNameFor(QString::fromLatin1(id)),
                  "MAIN_" + QString::fromLatin1(code));
    }
    ResetGlobals();
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()) << folder.error().toStdString(); }

    // A loaded editor; a new set's with its boxes filled.
    std::unique_ptr<AccountSetEditor> editor(const QString& id, bool isNew = false) {
        auto e = std::make_unique<AccountSetEditor>(&rows);
        e->EditId = id;
        e->IsNew = isNew;
        e->Form_Load();
        return e;
    }
    std::unique_ptr<AccountSetEditor> newEditor(const QString& id, const QString& name, const QString& user,
                                                const QString& password, const QString& confirm) {
        auto e = editor(id, true);
        e->TxtDB = {name, user, password, confirm};
        return e;
    }
    void createSet(const QString& id, const QString& name, const QString& user) {
        newEditor(id, name, user, "abc", "abc")->Command_OK();
        ASSERT_EQ(ztml().size(), id.toInt());
        port.messages.clear();
        port.mainWindowEnabled.clear();
        rows.calls.clear();
    }
    QVector<QVector<QVariant>> ztml() const {
        return folder.query("KXPUB.MDB", "select Id, ZTMC, ZTLJ, CreateTime, UserFlag from ZTML order by Id");
    }
    QVector<QVector<QVariant>> users(const QString& file) const {
        return folder.query(file, "select Id, Uname, PWD from Users order by Id");
    }
    RecordingUiPort port;
    AccountSetFolder folder;
    RecordingRows rows;
};

// Each check, in order: the first that fails shows its message and takes the focus. Modifying, the
// set's own name and its default user's own name are no conflict; another set's name and a second
// user's name are; both passwords empty ask, No keeps the dialog.
TEST_F(EditorTest, ChecksNewAndModifiedSets) {
    createSet("1", "华东公司", "张三");
    createSet("2", "华北公司", "王五");
    folder.execute("_BK001.MDB", QStringLiteral("insert into Users (Id, Uname, PWD, IsAdmin, Disabled) "
                                                "values ('1', '赵六', '', 0, 0)"));
    const auto m = [](const char* text) { return msgLine(QString::fromUtf8(text)); };
    // clang-format off
    const struct { bool isNew; QStringList boxes; QString message; /* "": passes */ int focus; } cases[] = {
        {true, {"", "u", "p", "p"}, m("请录入帐套的名称！"), 0},
        {true, {"   ", "u", "p", "p"}, m("请录入帐套的名称！"), 0},
        {true, {"华东公司", "u", "p", "p"}, m("已经存在“华东公司”帐套，请重新录入帐套名称！"), 0},
        {true, {"  华东公司 ", "u", "p", "p"}, m("已经存在“  华东公司 ”帐套，请重新录入帐套名称！"), 0},
        {true, {"华南公司", " ", "p", "p"}, m("请录入默认用户的名称！"), 1},
        {true, {"华南公司", "u", "", "p"}, m("请录入用户密码，密码不能为空！"), 2},
        {true, {"华南公司", "u", "", ""}, m("请录入用户密码，密码不能为空！"), 2},
        {true, {"华南公司", "u", "p", "P"}, m("两次录入的密码不一致，请重新确认密码！"), 2},
        {true, {"华南公司", "u", "p ", "p"}, m("两次录入的密码不一致，请重新确认密码！"), 2},
        {true, {"华南公司", "u", " p ", " p "}, {}, 0},
        {false, {"华东公司", "张三", "x", "x"}, {}, 0},
        {false, {"华北公司", "张三", "x", "x"}, m("已经存在“华北公司”帐套，请重新录入帐套名称！"), 0},
        {false, {"华东公司", "赵六 ", "x", "x"}, m("已经存在“赵六 ”用户，请重新录入用户名称！"), 1},
        {false, {"华东公司", "张三", "", ""}, msgLine("确定不修改用户的密码？", MsgIcon::Information, "提示信息", MsgButtons::YesNo), 2},
        {false, {"华东公司", "张三", "", "x"}, m("请录入用户密码，密码不能为空！"), 2},
        {false, {"华东公司", "张三", "x", "y"}, m("两次录入的密码不一致，请重新确认密码！"), 2},
    };
    // clang-format on
    auto e = editor("1");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        port.messages.clear();
        const auto fresh = c.isNew ? editor("3", true) : nullptr;
        AccountSetEditor& checked = fresh ? *fresh : *e;
        checked.TxtDB = {c.boxes[0], c.boxes[1], c.boxes[2], c.boxes[3]};
        EXPECT_EQ(checked.CheckInput(), c.message.isEmpty());
        EXPECT_EQ(shownLines(port), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(checked.focusedBox(), c.isNew || !c.message.isEmpty() ? c.focus : checked.focusedBox());
    }
    // A new password is written, blanks and all.
    e->TxtDB = {"华东公司", "张三", " a b ", " a b "};
    e->Command_OK();
    EXPECT_TRUE(e->saved());
    EXPECT_EQ(users("_BK001.MDB")[0][2].toString(), Set_Mima("0 a b 0"));
}

// A new set: its catalogue row, its default user and a new row in the list. A file of the set's name,
// whatever the case of its name, is replaced by a copy of the template on Yes (No: see the failures).
TEST_F(EditorTest, CreatesASetOverAnOldFileOnYes) {
    writeOldFile(folder);
    auto e = newEditor("1", " 华南公司 ", "陈七", "p", "p");
    const QString created = e->lblCreateTime;
    QStringList steps;
    ProgressSteps::attach(e->progress(), steps);
    port.answer(MsgAnswer::Yes);
    e->Command_OK();
    EXPECT_EQ(shownLines(port), (QStringList{kOverwrite, msgLine("已经成功创建新帐套！")}));
    EXPECT_TRUE(e->saved() && e->isUnloaded() && e->isEnabled());
    EXPECT_FALSE(e->progress().isLoaded());
    EXPECT_FALSE(QFile::exists(folder.file("_BK001.mdb")));
    EXPECT_EQ(ztml(), (QVector<QVector<QVariant>>{{"1", "华南公司", "_BK001", Get_ServerTime().left(10), 1}}));
    EXPECT_EQ(users("_BK001.MDB"), (QVector<QVector<QVariant>>{{"0", "陈七", Set_Mima("0p0")}}));
    EXPECT_EQ(rows.calls, (QVector<QStringList>{{"append", "1", " 华南公司 ", "_BK001", created}}));
    EXPECT_TRUE(steps.contains("正在创建帐套“ 华南公司 ”|创建数据库_BK001,请稍后……"));
    EXPECT_EQ(gTemplateConnectString, TemplateConnectString(folder.path()));
}

// A creation that fails leaves the editor back for a retry, with its entries and without a
// catalogue row: No to replacing a file of the set's name keeps that file; a folder in the way or
// no template leave the template's connection string as it was; a catalogue that refuses the row
// keeps the database made before it.
struct FailedCreation {
    const char* name;
    void (*spoil)(AccountSetFolder&, RecordingUiPort&);
    QStringList messages;  // a run-time error's text cut after its label
    bool keepsOldFile, keepsTemplateString, madeDatabase;
};

class EditorFailure : public EditorTest, public ::testing::WithParamInterface<FailedCreation> {};

TEST_P(EditorFailure, LeavesTheEditorForARetry) {
    const FailedCreation& c = GetParam();
    c.spoil(folder, port);
    gTemplateConnectString = "before";
    auto e = newEditor("1", "华南公司", "陈七", "p", "p");
    e->Command_OK();
    EXPECT_EQ(shownLines(port).replaceInStrings(QRegularExpression("^(\\w+\\(\\)::)[^|]+"), "\\1"),
              c.messages);
    EXPECT_FALSE(e->saved() || e->isUnloaded() || e->progress().isLoaded());
    EXPECT_TRUE(e->isVisible() && e->isEnabled());
    EXPECT_EQ(port.mainWindowEnabled, (QVector<bool>{false, true}));
    EXPECT_TRUE(folder.query("KXPUB.MDB", "select Id from ZTML").isEmpty());
    EXPECT_TRUE(rows.calls.isEmpty());
    EXPECT_EQ(QStringList(e->TxtDB.begin(), e->TxtDB.end()), (QStringList{"华南公司", "陈七", "p", "p"}));
    if (c.keepsOldFile) {
        EXPECT_EQ(JetFiles::bytes(folder.file("_BK001.mdb")), "books");
    }
    if (c.keepsTemplateString) {
        EXPECT_EQ(gTemplateConnectString, "before");
    }
    EXPECT_EQ(QFileInfo(folder.file("_BK001.MDB")).isFile(), c.madeDatabase);
}

const QString kFailed = msgLine("创建数据库失败！");
// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, EditorFailure, ::testing::Values(
    FailedCreation{"NoToReplacing", [](AccountSetFolder& f, RecordingUiPort& p) { writeOldFile(f); p.answer(MsgAnswer::No); },
                   {kOverwrite, kFailed}, true, false, false},
    FailedCreation{"FolderInTheWay", [](AccountSetFolder& f, RecordingUiPort&) { QDir(f.path()).mkdir("_BK001.MDB"); },
                   {kFailed}, false, false, false},
    FailedCreation{"NoTemplate", [](AccountSetFolder& f, RecordingUiPort&) { QFile::remove(f.file(kTemplateFileName)); },
                   {kFailed}, false, true, false},
    FailedCreation{"CatalogueRefusesTheRow", [](AccountSetFolder& f, RecordingUiPort&) {
                       f.execute("KXPUB.MDB", "drop table ZTML");
                       f.execute("KXPUB.MDB", "create table ZTML (Id TEXT(10), ZTMC TEXT(50))");
                   }, {msgLine("Command_OK()::")}, false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Only blanks are trimmed (tabs and the ideographic space stay); a set code past three digits
// gives the bare separator as the database name.
TEST_F(EditorTest, AwkwardNamesAndIds) {
    const std::pair<const char*, QString> sets[] = {{"1", "O'Brien's 帐套"}, {"2", "[测试]%_公司"},
                                                    {"3", "  前后有空格  "}, {"4", "\t"},
                                                    {"5", "\t华南\u3000 "},  {"1234", "大编号"}};
    for (const auto& [id, name] : sets) {
        SCOPED_TRACE(name.toStdString());
        auto e = newEditor(QString::fromLatin1(id), name, "O'Neil\t", "p q", "p q");
        e->Command_OK();
        ASSERT_TRUE(e->saved());
        const QString database = AccountSetEditor::DatabaseNameFor(QString::fromLatin1(id));
        EXPECT_EQ(
            folder.query("KXPUB.MDB",
                         QStringLiteral("select ZTMC, ZTLJ from ZTML where Id='%1'").arg(QLatin1String(id))),
            (QVector<QVector<QVariant>>{{TrimBlanks(name), database}}));
        EXPECT_EQ(rows.calls.back().mid(2, 2), (QStringList{name, database}));
        EXPECT_EQ(users(database + ".MDB")[0][1].toString(), "O'Neil\t");
        // The same name again is taken.
        auto again = newEditor("999", name, "u", "p", "p");
        EXPECT_FALSE(again->CheckInput());
        EXPECT_EQ(port.messages.back().text, "已经存在“" + name + "”帐套，请重新录入帐套名称！");
    }
    EXPECT_TRUE(QFile::exists(folder.file("_.MDB")));
}

}  // namespace
}  // namespace ztgl::test
