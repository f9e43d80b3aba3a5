// A set's database deleted, or replaced by something that is no database, while the list window
// shows the set. Every command on it says what is wrong in the program's words; the others still
// work on it where they do not need its database, and the program goes on working.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "FaultFolder.h"
#include "RecordingUiPort.h"
#include "catalogue/AccountSetList.h"
#include "creation/AccountSetEditor.h"
#include "db/PubSql.h"
#include "process/Globals.h"
#include "process/IniFile.h"

namespace ztgl::test {
namespace {

using Col = AccountSetList::Column;

// The bytes of the file kept (-1: the file deleted), the bytes written after them, and the
// engine's text for it (%1 the file).
struct Breakage {
    const char* name;
    int keep;
    const char* bytes;
    const char* error;
};

class SetDatabaseGone : public ::testing::TestWithParam<Breakage> {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok()) << folder.error().toStdString();
        ASSERT_EQ(folder.create("甲公司").code, 0);
        ASSERT_EQ(folder.create("乙公司").code, 0);
        // Started as the program starts in the single-user edition.
        ResetGlobals();
        gAppPath = QDir::toNativeSeparators(folder.path()) + QDir::separator();
        gIniFile = gAppPath + "kxconfig.ini";
        gConnectString = Get_ConnectString();
        ASSERT_EQ(Open_Connect(), 1);
        list.Form_Load();
        ASSERT_EQ(list.grid().Rows(), 3);
    }
    void TearDown() override {
        Close_Connect();
        ResetGlobals();
    }
    // The row of the set with `id`, made current as a click does.
    void select(int row) {
        list.moveTo(row);
        list.MSFlexGrid1_Click();
    }
    QString lastMessage() const { return port.messages.isEmpty() ? QString() : port.messages.last().text; }

    FaultFolder folder;
    RecordingUiPort port;
    AccountSetList list;
};

TEST_P(SetDatabaseGone, EveryCommandOnItSaysWhyAndTheProgramGoesOn) {
    const QString broken = folder.file("_BK001.MDB");
    QFile file(broken);
    if (GetParam().keep < 0) {
        ASSERT_TRUE(file.remove());
    } else {
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const QByteArray head = file.read(GetParam().keep);
        ASSERT_TRUE(file.resize(0) && file.seek(0));
        file.write(head + GetParam().bytes);
        file.close();
    }
    const QString error = QString::fromUtf8(GetParam().error).arg(QDir::toNativeSeparators(broken));

    // Modify: the editor cannot show the set's default user; it says why and closes.
    select(1);
    bool unloaded = false;
    port.onModal([&](ModalForm& form) {
        auto& editor = dynamic_cast<AccountSetEditor&>(form);
        editor.Form_Load();
        unloaded = editor.isUnloaded();
    });
    list.command1_Click(3);
    EXPECT_TRUE(unloaded);
    EXPECT_EQ(lastMessage(), "LoadDefaultUser():" + error);

    // Disable and enable write only the catalogue: they work as for any set.
    port.answer(MsgAnswer::Yes);
    list.command1_Click(1);
    EXPECT_EQ(list.grid().TextMatrix(1, Col::ColStatus), AccountSetList::kDisabled);
    port.answer(MsgAnswer::Yes);
    list.command1_Click(2);
    EXPECT_EQ(list.grid().TextMatrix(1, Col::ColStatus), AccountSetList::kInUse);

    // The upgrade stops at the set, saying why.
    list.DateBaseModifyByZavrin();
    EXPECT_EQ(lastMessage(), "DateBaseModifyByZavrin()::升级数据库失败。" + error);

    // The program goes on: the list reads again, the other set opens and saves.
    const int shown = port.messages.size();
    ASSERT_TRUE(list.SetMSFlexGrid1Date());
    EXPECT_EQ(list.grid().Rows(), 3);
    select(2);
    port.onModal([](ModalForm& form) {
        auto& editor = dynamic_cast<AccountSetEditor&>(form);
        editor.Form_Load();
        ASSERT_FALSE(editor.isUnloaded());
        EXPECT_EQ(editor.TxtDB[AccountSetEditor::BoxUser], "王五");
        editor.TxtDB[AccountSetEditor::BoxName] = "乙公司（新）";
        editor.TxtDB[AccountSetEditor::BoxPassword] = editor.TxtDB[AccountSetEditor::BoxConfirm] = "x";
        editor.Command_OK();
    });
    list.command1_Click(3);
    EXPECT_EQ(lastMessage(), "已经成功修改帐套！");
    EXPECT_EQ(port.messages.size(), shown + 1);
    EXPECT_EQ(list.grid().TextMatrix(2, Col::ColName), "乙公司（新）");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ways, SetDatabaseGone, ::testing::Values(
    Breakage{"Deleted", -1, "", "找不到文件“%1”。"},
    Breakage{"ReplacedByText", 0, "这不是数据库\r\n", "无法识别的数据库格式“%1”。"},
    Breakage{"CutShort", 8192, "", "无法打开数据库“%1”。文件可能已经损坏。"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace ztgl::test
