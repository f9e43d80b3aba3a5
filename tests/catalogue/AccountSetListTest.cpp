#include "catalogue/AccountSetList.h"

#include <QDateTime>

#include "QtPrinters.h"
#include "ScriptedCatalogueFixture.h"
#include "ShownLines.h"
#include "creation/AccountSetEditor.h"

namespace ztgl::test {
namespace {

using Col = AccountSetList::Column;

const QString kMarker = "◆", kInUse = "现启用", kOff = "已停用";
const QString kStop = msgLine("确定要停用当前帐套吗？", MsgIcon::Information, "提示信息", MsgButtons::YesNo);
const QString kStart = msgLine("确定要启用当前帐套吗？", MsgIcon::Information, "提示信息", MsgButtons::YesNo);

QVector<QVariant> set(const QString& id, const QString& name, const QVariant& flag) {
    return {id, name, QString("MAIN_BK%1").arg(id, 3, QLatin1Char('0')), "2024-03-01", flag};
}

class AccountSetListTest : public ScriptedCatalogueFixture {
protected:
    // Loads the window's rules over the scripted ZTML; returns after the fill.
    void load(const QVector<QVector<QVariant>>& rows) {
        setZtml(rows);
        list.onButtonsChanged = [this] { ++buttonChanges; };
        list.Form_Load();
    }
    QString cell(int row, int col) const { return list.grid().TextMatrix(row, col); }
    QStringList markers() const {
        QStringList out;
        for (int r = 1; r < list.grid().Rows(); ++r)
            out << cell(r, Col::ColMarker);
        return out;
    }
    // Enabled state of "停用帐套" and "启用帐套".
    std::pair<bool, bool> stopStart() const { return {list.command1(1).enabled, list.command1(2).enabled}; }
    // The EditId and IsNew the editor receives when `act` opens it.
    std::pair<QString, bool> editorOpenedBy(const std::function<void()>& act) {
        std::pair<QString, bool> seen{"(not opened)", false};
        port.onModal([&](ModalForm& form) {
            auto& editor = dynamic_cast<AccountSetEditor&>(form);
            seen = {editor.EditId, editor.IsNew};
        });
        act();
        return seen;
    }

    AccountSetList list;
    int buttonChanges = 0;
};

// An empty catalogue leaves the header row current, without a marker (caption, the hidden upgrade
// button and the buttons' state: FrmZTGLTest.EmptyListShowsOnlyTheHeader).
TEST_F(AccountSetListTest, LoadSetsCaptionButtonsAndTheHeaderRow) {
    load({});
    EXPECT_TRUE(list.maximized());
    const QString captions[] = {"关闭(&Q)", "停用帐套", "启用帐套", "修改帐套", "新增帐套", "升级数据库"};
    for (int i = 0; i < AccountSetList::kButtonCount; ++i)
        EXPECT_EQ(list.command1(i).caption, captions[i]) << i;
    EXPECT_EQ(list.command1(0).toolTip, "关闭窗体，快捷键Alt+Q");
    // clang-format off
    EXPECT_EQ(list.grid().FormatString(), "帐套编号|> |^序号|<    帐套名称           |^ 是否停用 |<      数据库名称              |^   创建日期     ");
    // clang-format on
    using A = ListGrid::Align;  // set by the character that starts each segment
    const A aligns[] = {A::General, A::Right, A::Center, A::Left, A::Center, A::Left, A::Center};
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(list.grid().ColAlignment(c), aligns[c]) << c;
    EXPECT_EQ(list.grid().ColWidth(Col::ColId), 0);
    EXPECT_EQ(list.grid().ColWidth(Col::ColMarker), 180) << "as wide as the marker, wider than its blank";
    EXPECT_EQ(list.grid().ColWidth(Col::ColName), 90 * 15 + 180 * 4) << "blanks and text of the header";
    EXPECT_EQ(server.queries(), QStringList{"select * from ZTML Order By Id"});
    EXPECT_EQ(list.grid().Rows(), 1);
    EXPECT_EQ(list.grid().Row(), 0);
    EXPECT_EQ(cell(0, Col::ColMarker), " ") << "the header keeps its blank";
    EXPECT_TRUE(port.messages.isEmpty());
}

// Names, database names and dates show exactly as stored; the running number is not the Id. A click
// keeps a marker left on another row; moving onto a marked row changes nothing, onto another row
// clears the others.
TEST_F(AccountSetListTest, SetsNumberedInDisplayOrderWithTheLastOneMarked) {
    const QString name = "  O'Brien \"贸易\" 公司  ";
    load({set("3", "甲", 1),
          set("7", "乙", 0),
          {"12", name, "MAIN_BK 0'1", QDateTime(QDate(2023, 12, 31), QTime(0, 0)), {}}});
    ASSERT_EQ(list.grid().Rows(), 4);
    EXPECT_EQ(list.grid().Row(), 3);
    const QStringList rows[] = {{"3", "", "1", "甲", kInUse, "MAIN_BK003", "2024-03-01"},
                                {"7", "", "2", "乙", kOff, "MAIN_BK007", "2024-03-01"},
                                {"12", kMarker, "3", name, kInUse, "MAIN_BK 0'1", "2023-12-31"}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(cell(r, c), rows[r - 1][c]) << r << "," << c;
    EXPECT_EQ(stopStart(), std::make_pair(true, false)) << "the last row is in use";

    list.grid().setTextMatrix(1, Col::ColMarker, kMarker);
    list.MSFlexGrid1_Click();
    list.moveTo(1);
    EXPECT_EQ(markers(), QStringList({kMarker, "", kMarker}));
    list.grid().setTextMatrix(3, Col::ColMarker, QString());
    list.moveTo(3);
    EXPECT_EQ(markers(), QStringList({"", "", kMarker}));
}

TEST(AccountSetListStatusTest, StatusTextFromEveryKindOfUserFlag) {
    // clang-format off
    const std::pair<QVariant, QString> cases[] = {
        {0, kOff}, {1, kInUse}, {2, kInUse}, {-1, kInUse}, {QVariant(), kInUse},
        {QVariant(QMetaType(QMetaType::Int)), kInUse} /* a typed Null */, {"abc", kInUse}, {"0", kOff},
        {" 0 ", kOff}, {"", kInUse}, {0.0, kOff}, {0.5, kInUse}, {false, kOff}, {true, kInUse}, {qint64(0), kOff},
    };
    // clang-format on
    for (const auto& [flag, status] : cases)
        EXPECT_EQ(AccountSetList::statusText(flag), status)
            << flag.toString() << " / " << flag.metaType().id();
}

// Disable the set with key 12 (answering No first changes nothing; enabling it again: the widget
// test); a failing update is reported and leaves grid and buttons.
TEST_F(AccountSetListTest, DisableTheSetWithKey12) {
    load({set("5", "甲", 1), set("12", "乙", 1)});
    const int changes = buttonChanges;
    EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::Refused);
    EXPECT_EQ(cell(2, Col::ColStatus), kInUse);
    EXPECT_EQ(buttonChanges, changes);
    EXPECT_TRUE(server.executed().isEmpty());

    port.answer(MsgAnswer::Yes);
    EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::Written);
    EXPECT_EQ(server.executed(), QStringList{"Update ZTML set UserFlag=0 WHERE ID='12'"});
    EXPECT_EQ(cell(2, Col::ColStatus), kOff);
    EXPECT_EQ(cell(2, Col::ColMarker), kMarker);
    EXPECT_EQ(stopStart(), std::make_pair(false, true));

    list.moveTo(1);
    server.failOn("^Update ZTML", -2147467259, "连接已断开");
    port.answer(MsgAnswer::Yes);
    EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::Failed);
    EXPECT_EQ(shownLines(port), QStringList({kStop, kStop, kStop, msgLine("SetUserFlag():连接已断开")}));
    EXPECT_EQ(cell(1, Col::ColStatus), kInUse);
    EXPECT_EQ(stopStart(), std::make_pair(false, true)) << "as the disabled set left them";
}

TEST_F(AccountSetListTest, KeyCellsThatAreNoNumberAreAskedAboutThenIgnored) {
    load({set("abc", "甲", 1), set("  ", "乙", 1), set("1'2", "丙", 1)});
    for (int r : {0, 1, 2, 3}) {
        list.grid().setRow(r);
        port.answer(MsgAnswer::Yes);
        EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::NoSet) << r;
    }
    EXPECT_EQ(shownLines(port), QStringList({kStop, kStop, kStop, kStop})) << "the question comes first";
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_EQ(cell(0, Col::ColStatus), " 是否停用 ");
    EXPECT_EQ(cell(1, Col::ColStatus), kInUse);

    list.grid().setTextMatrix(1, Col::ColId, " 7 ");  // trimmed for the statement
    list.grid().setRow(1);
    port.answer(MsgAnswer::Yes);
    list.SetUserFlag(false);
    EXPECT_EQ(server.executed(), QStringList{"Update ZTML set UserFlag=0 WHERE ID='7'"});
}

// Modify hands the editor the current key untrimmed, New the next free Id; the header row, an
// empty or a non-numeric key open nothing. Buttons by index: out of range does nothing.
TEST_F(AccountSetListTest, ButtonsByIndexAndTheEditor) {
    load({set(" 4", "甲", 1), set("9", "乙", 1), set("x1", "丙", 1), set("", "丁", 1)});
    list.moveTo(1);
    EXPECT_EQ(editorOpenedBy([&] { list.MSFlexGrid1_DblClick(); }), std::make_pair(QString(" 4"), false));
    EXPECT_EQ(port.modalForms, QStringList{"frmZTGLXZ"});
    for (int r : {0, 3, 4}) {
        list.grid().setRow(r);
        list.command1_Click(3);
    }
    EXPECT_EQ(port.modalForms.size(), 1);
    server.onQuery("ls_bm", ScriptedServer::rows({"ls_bm"}, {{7}}));
    EXPECT_EQ(editorOpenedBy([&] { list.command1_Click(4); }), std::make_pair(QString("8"), true));

    int unloads = 0;
    list.onUnload = [&] { ++unloads; };
    for (int i : {-1, 6, 99})
        list.command1_Click(i);
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_TRUE(port.messages.isEmpty());
    list.command1_Click(0);
    EXPECT_EQ(unloads, 1);
    list.moveTo(2);
    list.command1_Click(1);
    list.command1_Click(2);
    EXPECT_EQ(shownLines(port), QStringList({kStop, kStart}));
}

TEST(AccountSetListGeometryTest, GridPlaceFollowsTheWindowAndWhatCountsAsANumber) {
    // clang-format off
    const struct { int w, h; AccountSetList::GridPlace expected; } cases[] = {
        {11000, 8000, {150, 980, 10650, 6820}}, {350, 1180, {150, 980, 0, 0}},
        {300, 500, {150, 980, 50, 680}} /* smaller than the margins: still positive */, {0, 0, {150, 980, 350, 1180}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto p = AccountSetList::Form_Resize(c.w, c.h);
        EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height),
                  std::tie(c.expected.left, c.expected.top, c.expected.width, c.expected.height))
            << c.w << "x" << c.h;
    }
    for (const char* yes : {"1", "12", " 7 ", "+3", "-3", "1.5", ".5", "1e3", "&H1F", "&O17", "&17", "0"})
        EXPECT_TRUE(AccountSetList::IsNumeric(yes)) << yes;
    for (const char* no :
         {"", " ", "abc", "1'2", "帐套编号", "1 2", "1e", "&HZ", "0x10", "inf", "nan", "1,000"})
        EXPECT_FALSE(AccountSetList::IsNumeric(no)) << no;
}

}  // namespace
}  // namespace ztgl::test
