#include "catalogue/AccountSetList.h"

#include <QDateTime>

#include "ScriptedCatalogueFixture.h"
#include "creation/AccountSetEditor.h"

namespace ztgl::test {
namespace {

using Col = AccountSetList::Column;

const QString kMarker = QStringLiteral("◆");
const QString kInUse = QStringLiteral("现启用");
const QString kOff = QStringLiteral("已停用");

QVector<QVariant> set(const QString& id, const QString& name, const QVariant& flag,
                      const QString& created = QStringLiteral("2024-03-01")) {
    return {id, name, QStringLiteral("MAIN_BK%1").arg(id, 3, QLatin1Char('0')), created, flag};
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
    bool stopEnabled() const { return list.command1(1).enabled; }
    bool startEnabled() const { return list.command1(2).enabled; }
    void expectNoMessages() const {
        EXPECT_TRUE(port.messages.isEmpty()) << port.messages.value(0).text.toStdString();
    }
    void expectMessage(int i, const QString& text, MsgButtons buttons = MsgButtons::Ok) const {
        ASSERT_GT(port.messages.size(), i);
        EXPECT_EQ(port.messages[i].text, text);
        EXPECT_EQ(port.messages[i].title, QStringLiteral("提示信息"));
        EXPECT_EQ(port.messages[i].icon, MsgIcon::Information);
        EXPECT_EQ(port.messages[i].buttons, buttons);
    }
    // The EditId and IsNew the editor receives when `act` opens it.
    std::pair<QString, bool> editorOpenedBy(const std::function<void()>& act) {
        std::pair<QString, bool> seen{QStringLiteral("(not opened)"), false};
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

TEST_F(AccountSetListTest, LoadSetsCaptionButtonsAndHidesTheUpgradeButton) {
    load({});
    EXPECT_EQ(list.caption(), QStringLiteral("帐套管理"));
    EXPECT_TRUE(list.maximized());
    const QString captions[] = {QStringLiteral("关闭(&Q)"), QStringLiteral("停用帐套"),
                                QStringLiteral("启用帐套"), QStringLiteral("修改帐套"),
                                QStringLiteral("新增帐套"), QStringLiteral("升级数据库")};
    for (int i = 0; i < AccountSetList::kButtonCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(list.command1(i).caption, captions[i]);
        EXPECT_EQ(list.command1(i).visible, i != 5);
    }
    EXPECT_EQ(list.command1(0).toolTip, QStringLiteral("关闭窗体，快捷键Alt+Q"));
    // clang-format off
    EXPECT_EQ(list.grid().FormatString(), QStringLiteral("帐套编号|> |^序号|<    帐套名称           |^ 是否停用 |<      数据库名称              |^   创建日期     "));
    // clang-format on
    EXPECT_EQ(list.grid().ColWidth(Col::ColId), 0);
    EXPECT_EQ(list.grid().ColWidth(Col::ColMarker), 180) << "as wide as the marker, wider than its blank";
    EXPECT_EQ(list.grid().ColWidth(Col::ColName), 90 * 15 + 180 * 4) << "blanks and text of the header";
    EXPECT_EQ(server.queries(), QStringList{QStringLiteral("select * from ZTML Order By Id")});
}

TEST_F(AccountSetListTest, EmptyCatalogueLeavesTheHeaderRowCurrentWithoutMarker) {
    load({});
    EXPECT_EQ(list.grid().Rows(), 1);
    EXPECT_EQ(list.grid().Row(), 0);
    EXPECT_EQ(cell(0, Col::ColMarker), QStringLiteral(" ")) << "the header keeps its blank";
    EXPECT_EQ(cell(0, Col::ColId), QStringLiteral("帐套编号"));
    EXPECT_TRUE(stopEnabled());
    EXPECT_FALSE(startEnabled());
    expectNoMessages();
}

// Names, database names and dates show exactly as stored; the running number is not the Id.
TEST_F(AccountSetListTest, SetsNumberedInDisplayOrderWithTheLastOneMarked) {
    const QString name = QStringLiteral("  O'Brien \"贸易\" 公司  ");
    load({set("3", "甲", 1),
          set("7", "乙", 0),
          {QStringLiteral("12"), name, QStringLiteral("MAIN_BK 0'1"),
           QDateTime(QDate(2023, 12, 31), QTime(0, 0)), QVariant()}});
    ASSERT_EQ(list.grid().Rows(), 4);
    EXPECT_EQ(list.grid().Row(), 3);
    EXPECT_EQ(markers(), QStringList({"", "", kMarker}));
    const QStringList rows[] = {{"3", "", "1", "甲", kInUse, "MAIN_BK003", "2024-03-01"},
                                {"7", "", "2", "乙", kOff, "MAIN_BK007", "2024-03-01"},
                                {"12", kMarker, "3", name, kInUse, "MAIN_BK 0'1", "2023-12-31"}};
    for (int r = 1; r <= 3; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_EQ(cell(r, c), rows[r - 1][c]) << r << "," << c;
    EXPECT_TRUE(stopEnabled()) << "the last row is in use";
    EXPECT_FALSE(startEnabled());
}

TEST_F(AccountSetListTest, StatusTextFromEveryKindOfUserFlag) {
    struct Case {
        QVariant flag;
        QString status;
    };
    const Case cases[] = {
        {0, kOff},
        {1, kInUse},
        {2, kInUse},
        {-1, kInUse},
        {QVariant(), kInUse},
        {QVariant(QMetaType(QMetaType::Int)), kInUse},  // a typed Null
        {QStringLiteral("abc"), kInUse},
        {QStringLiteral("0"), kOff},
        {QStringLiteral(" 0 "), kOff},
        {QStringLiteral(""), kInUse},
        {0.0, kOff},
        {0.5, kInUse},
        {false, kOff},
        {true, kInUse},
        {qint64(0), kOff},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("%1 / %2").arg(c.flag.toString()).arg(c.flag.metaType().id()).toStdString());
        EXPECT_EQ(AccountSetList::statusText(c.flag), c.status);
    }
}

TEST_F(AccountSetListTest, ClickKeepsOtherMarkersAndRowChangeClearsThem) {
    load({set("1", "甲", 1), set("2", "乙", 1)});
    // A marker left on another row (the click does not clear it).
    list.grid().setTextMatrix(1, Col::ColMarker, kMarker);
    list.MSFlexGrid1_Click();
    EXPECT_EQ(markers(), QStringList({kMarker, kMarker}));
    // Moving onto a row that already carries the marker changes nothing.
    list.moveTo(1);
    EXPECT_EQ(markers(), QStringList({kMarker, kMarker}));
    list.grid().setTextMatrix(2, Col::ColMarker, QString());
    list.moveTo(2);
    EXPECT_EQ(markers(), QStringList({"", kMarker}));
}

TEST_F(AccountSetListTest, FailingQueryIsReportedAndLeavesTheHeaderOnly) {
    server.failOn(QStringLiteral("ZTML"), -2147217865, QStringLiteral("对象名 'ZTML' 无效。"));
    load({set("1", "甲", 1)});
    EXPECT_EQ(list.grid().Rows(), 1);
    EXPECT_EQ(port.messages.size(), 1);
    expectMessage(0, QStringLiteral("SetMSFlexGrid1Date():对象名 'ZTML' 无效。"));
}

TEST_F(AccountSetListTest, DisableAndEnableTheSetWithKey12) {
    load({set("5", "甲", 1), set("12", "乙", 1)});
    port.answer(MsgAnswer::Yes);
    EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::Written);
    expectMessage(0, QStringLiteral("确定要停用当前帐套吗？"), MsgButtons::YesNo);
    EXPECT_EQ(server.executed(), QStringList{QStringLiteral("Update ZTML set UserFlag=0 WHERE ID='12'")});
    EXPECT_EQ(cell(2, Col::ColStatus), kOff);
    EXPECT_EQ(cell(2, Col::ColMarker), kMarker);
    EXPECT_FALSE(stopEnabled());
    EXPECT_TRUE(startEnabled());

    port.answer(MsgAnswer::Yes);
    EXPECT_EQ(list.SetUserFlag(true), AccountSetList::FlagResult::Written);
    expectMessage(1, QStringLiteral("确定要启用当前帐套吗？"), MsgButtons::YesNo);
    EXPECT_EQ(server.executed().value(1), QStringLiteral("Update ZTML set UserFlag=1 WHERE ID='12'"));
    EXPECT_EQ(cell(2, Col::ColStatus), kInUse);
    EXPECT_TRUE(stopEnabled());
    EXPECT_FALSE(startEnabled());
    EXPECT_EQ(port.messages.size(), 2) << "nothing but the two questions";
}

TEST_F(AccountSetListTest, AnsweringNoChangesNothing) {
    load({set("5", "甲", 1)});
    const int changes = buttonChanges;
    port.answer(MsgAnswer::No);
    EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::Refused);
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_EQ(cell(1, Col::ColStatus), kInUse);
    EXPECT_EQ(buttonChanges, changes);
}

TEST_F(AccountSetListTest, KeyCellsThatAreNoNumberAreAskedAboutThenIgnored) {
    load({set("abc", "甲", 1), set("  ", "乙", 1), set("1'2", "丙", 1)});
    for (int r : {0, 1, 2, 3}) {
        SCOPED_TRACE(r);
        list.grid().setRow(r);
        port.messages.clear();
        port.answer(MsgAnswer::Yes);
        EXPECT_EQ(list.SetUserFlag(false), AccountSetList::FlagResult::NoSet);
        EXPECT_EQ(port.messages.size(), 1) << "the question comes first";
    }
    EXPECT_TRUE(server.executed().isEmpty());
    EXPECT_EQ(cell(0, Col::ColStatus), QStringLiteral(" 是否停用 "));
    EXPECT_EQ(cell(1, Col::ColStatus), kInUse);

    // A key with blanks around it is trimmed for the statement.
    list.grid().setTextMatrix(1, Col::ColId, QStringLiteral(" 7 "));
    list.grid().setRow(1);
    port.answer(MsgAnswer::Yes);
    list.SetUserFlag(false);
    EXPECT_EQ(server.executed(), QStringList{QStringLiteral("Update ZTML set UserFlag=0 WHERE ID='7'")});
}

TEST_F(AccountSetListTest, FailingUpdateIsReportedAndLeavesGridAndButtons) {
    load({set("1", "甲", 0), set("2", "乙", 1)});
    list.moveTo(1);
    list.MSFlexGrid1_Click();
    server.failOn(QStringLiteral("^Update ZTML"), -2147467259, QStringLiteral("连接已断开"));
    port.answer(MsgAnswer::Yes);
    EXPECT_EQ(list.SetUserFlag(true), AccountSetList::FlagResult::Failed);
    EXPECT_EQ(port.messages.size(), 2);
    expectMessage(1, QStringLiteral("SetUserFlag():连接已断开"));
    EXPECT_EQ(cell(1, Col::ColStatus), kOff);
    EXPECT_FALSE(stopEnabled());
    EXPECT_TRUE(startEnabled());
}

// Modify hands the editor the current key untrimmed, New the next free Id; the header row, an
// empty or a non-numeric key open nothing.
TEST_F(AccountSetListTest, ModifyAndNewOpenTheEditor) {
    load({set(" 4", "甲", 1), set("9", "乙", 1), set("x1", "丙", 1), set("", "丁", 1)});
    list.moveTo(1);
    EXPECT_EQ(editorOpenedBy([&] { list.MSFlexGrid1_DblClick(); }),
              std::make_pair(QStringLiteral(" 4"), false));
    EXPECT_EQ(port.modalForms, QStringList{QStringLiteral("frmZTGLXZ")});
    for (int r : {0, 3, 4}) {
        list.grid().setRow(r);
        list.command1_Click(3);
    }
    EXPECT_EQ(port.modalForms.size(), 1);
    server.onQuery(QStringLiteral("ls_bm"), ScriptedServer::rows({"ls_bm"}, {{7}}));
    EXPECT_EQ(editorOpenedBy([&] { list.command1_Click(4); }), std::make_pair(QStringLiteral("8"), true));
    expectNoMessages();
}

TEST_F(AccountSetListTest, DispatchByIndex) {
    load({set("1", "甲", 1)});
    int unloads = 0;
    list.onUnload = [&] { ++unloads; };
    for (int i : {-1, 6, 99})
        list.command1_Click(i);
    EXPECT_EQ(unloads, 0);
    EXPECT_TRUE(server.executed().isEmpty());
    expectNoMessages();
    list.command1_Click(0);
    EXPECT_EQ(unloads, 1);
    port.answer(MsgAnswer::No);
    list.command1_Click(1);
    port.answer(MsgAnswer::No);
    list.command1_Click(2);
    EXPECT_EQ(port.messages.size(), 2);
    expectMessage(0, QStringLiteral("确定要停用当前帐套吗？"), MsgButtons::YesNo);
    expectMessage(1, QStringLiteral("确定要启用当前帐套吗？"), MsgButtons::YesNo);
}

TEST(AccountSetListGeometryTest, GridPlaceFollowsTheWindow) {
    struct Case {
        int w, h;
        AccountSetList::GridPlace expected;
    };
    const Case cases[] = {
        {11000, 8000, {150, 980, 10650, 6820}},
        {350, 1180, {150, 980, 0, 0}},
        {300, 500, {150, 980, 50, 680}},  // smaller than the margins: still positive
        {0, 0, {150, 980, 350, 1180}},
    };
    for (const Case& c : cases) {
        const auto p = AccountSetList::Form_Resize(c.w, c.h);
        EXPECT_EQ(std::tie(p.left, p.top, p.width, p.height),
                  std::tie(c.expected.left, c.expected.top, c.expected.width, c.expected.height))
            << c.w << "x" << c.h;
    }
}

TEST(AccountSetListKeyTest, WhatCountsAsANumber) {
    for (const char* yes : {"1", "12", " 7 ", "+3", "-3", "1.5", ".5", "1e3", "&H1F", "&O17", "&17", "0"})
        EXPECT_TRUE(AccountSetList::IsNumeric(QString::fromUtf8(yes))) << yes;
    for (const char* no :
         {"", " ", "abc", "1'2", "帐套编号", "1 2", "1e", "&HZ", "0x10", "inf", "nan", "1,000"})
        EXPECT_FALSE(AccountSetList::IsNumeric(QString::fromUtf8(no))) << no;
}

}  // namespace
}  // namespace ztgl::test
