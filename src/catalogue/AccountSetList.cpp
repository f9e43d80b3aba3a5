#include "catalogue/AccountSetList.h"

#include <QRegularExpression>
#include <cstdlib>

#include "ado/Connection.h"
#include "ado/Recordset.h"
#include "audit/ChangeLog.h"
#include "catalogue/PermissionUpgrade.h"
#include "creation/AccountSetEditor.h"
#include "db/PubSql.h"
#include "platform/RuntimeError.h"
#include "process/Globals.h"
#include "process/UiPort.h"

namespace ztgl {

// clang-format off
const QString AccountSetList::kFormatString = QStringLiteral("帐套编号|> |^序号|<    帐套名称           |^ 是否停用 |<      数据库名称              |^   创建日期     ");
// clang-format on
const QString AccountSetList::kMarker = QStringLiteral("◆");
const QString AccountSetList::kInUse = QStringLiteral("现启用");
const QString AccountSetList::kDisabled = QStringLiteral("已停用");

namespace {

// Without a screen: 90 twips (6 px) per byte of the text in code page 936, as a 9-point Song
// typeface draws it (ASCII one byte, everything else two).
int estimatedWidth(const QString& text) {
    int twips = 0;
    for (const QChar ch : text)
        twips += ch.unicode() < 0x80 ? 90 : 180;
    return twips;
}

}  // namespace

AccountSetList::AccountSetList(ListGrid::TextWidth textWidth)
    : m_textWidth(textWidth ? std::move(textWidth) : ListGrid::TextWidth(estimatedWidth)) {
    // Widths in twips; the captions' pictures and look come from the common window style.
    m_buttons[0] = {QStringLiteral("关闭(&Q)"), QStringLiteral("关闭窗体，快捷键Alt+Q"), 780};
    m_buttons[1] = {QStringLiteral("停用帐套"), QString(), 945};
    m_buttons[2] = {QStringLiteral("启用帐套"), QString(), 945};
    m_buttons[3] = {QStringLiteral("修改帐套"), QString(), 945};
    m_buttons[4] = {QStringLiteral("新增帐套"), QString(), 930};
    m_buttons[5] = {QStringLiteral("升级数据库"), QString(), 1110};
}

void AccountSetList::Form_Load() {
    loadLayout();
    SetMSFlexGrid1Date();
}

void AccountSetList::loadLayout() {
    m_caption = QStringLiteral("帐套管理");
    m_maximized = true;
    m_buttons[5].visible = false;
    m_grid.setFormatString(kFormatString, m_textWidth);
    // The marker column's header is one blank; it is made at least as wide as the marker itself
    // so that "◆" shows whole.
    m_grid.setColWidth(ColMarker, qMax(m_grid.ColWidth(ColMarker), m_textWidth(kMarker)));
    if (onButtonsChanged)
        onButtonsChanged();
}

bool AccountSetList::SetMSFlexGrid1Date() {
    try {
        m_grid.setRows(1);
        m_grid.setColWidth(ColId, 0);
        ado::Recordset rs;
        Open_Recordset(rs, QStringLiteral("select * from ZTML Order By Id"));
        while (!rs.Eof()) {
            const int r = m_grid.addRow();
            m_grid.setTextMatrix(r, ColId, rs.Fields(QStringLiteral("Id")).text());
            m_grid.setTextMatrix(r, ColNumber, QString::number(r));
            m_grid.setTextMatrix(r, ColName, rs.Fields(QStringLiteral("ZTMC")).text());
            m_grid.setTextMatrix(r, ColStatus, statusText(rs.Fields(QStringLiteral("UserFlag")).Value()));
            m_grid.setTextMatrix(r, ColDatabase, rs.Fields(QStringLiteral("ZTLJ")).text());
            m_grid.setTextMatrix(r, ColCreated, rs.Fields(QStringLiteral("CreateTime")).text());
            rs.MoveNext();
        }
        Close_Recordset(rs);
        moveTo(m_grid.Rows() - 1);
        MSFlexGrid1_Click();
        return true;
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("SetMSFlexGrid1Date():"), e);
        return false;
    }
}

void AccountSetList::MSFlexGrid1_Click() {
    if (m_grid.Rows() == 0)
        return;
    const int r = m_grid.Row();
    if (r != 0)
        m_grid.setTextMatrix(r, ColMarker, kMarker);
    const bool disabled = m_grid.TextMatrix(r, ColStatus) == kDisabled;
    setButtonEnabled(1, !disabled);
    setButtonEnabled(2, disabled);
}

void AccountSetList::MSFlexGrid1_RowColChange() {
    const int r = m_grid.Row();
    if (r == 0 || m_grid.TextMatrix(r, ColMarker) == kMarker)
        return;
    for (int i = 1; i < m_grid.Rows(); ++i)
        m_grid.setTextMatrix(i, ColMarker, QString());
    m_grid.setTextMatrix(r, ColMarker, kMarker);
}

void AccountSetList::moveTo(int row) {
    if (row == m_grid.Row())
        return;
    m_grid.setRow(row);
    MSFlexGrid1_RowColChange();
}

void AccountSetList::command1_Click(int index) {
    switch (index) {
        case 0:
            if (onUnload)
                onUnload();
            break;
        case 1:
            SetUserFlag(false);
            break;
        case 2:
            SetUserFlag(true);
            break;
        case 3:
            ModifyAccountSet();
            break;
        case 4:
            NewAccountSet();
            break;
        case 5:
            DateBaseModifyByZavrin();
            break;
        default:
            break;
    }
}

// The editor reports its own failures; anything that still escapes (for example a window that
// cannot be shown) is reported here so that the list stays usable.
void AccountSetList::NewAccountSet() {
    try {
        AccountSetEditor editor(this);
        editor.EditId = QString::number(Get_UniqV(QStringLiteral("ZTML"), QStringLiteral("ID")));
        editor.IsNew = true;
        ui().showModal(editor);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("NewAccountSet():"), e);
    }
}

void AccountSetList::ModifyAccountSet() {
    const QString key = m_grid.TextMatrix(m_grid.Row(), ColId);
    if (TrimBlanks(key).isEmpty() || !IsNumeric(key))
        return;
    try {
        AccountSetEditor editor(this);
        editor.EditId = key;
        editor.IsNew = false;
        ui().showModal(editor);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("ModifyAccountSet():"), e);
    }
}

// A failing statement is reported as "SetUserFlag():" + the error text; grid and buttons then
// stay as they were, since the flag in ZTML did not change either.
AccountSetList::FlagResult AccountSetList::SetUserFlag(bool bEnable) {
    const QString verb = bEnable ? QStringLiteral("启") : QStringLiteral("停");
    if (MsgBox(QStringLiteral("确定要") + verb + QStringLiteral("用当前帐套吗？"), MsgButtons::YesNo,
               MsgIcon::Information, QStringLiteral("提示信息")) != MsgAnswer::Yes)
        return FlagResult::Refused;
    const int r = m_grid.Row();
    const QString cell = m_grid.TextMatrix(r, ColId);
    const QString key = TrimBlanks(cell);
    if (key.isEmpty() || !IsNumeric(cell))
        return FlagResult::NoSet;
    const ChangeLog::Entry record{bEnable ? ChangeLog::Enable : ChangeLog::Disable, key,
                                  m_grid.TextMatrix(r, ColName), QString()};
    try {
        ChangeLog::Recorded(record, [&] {
            SharedConn().Execute(QStringLiteral("Update ZTML set UserFlag=") +
                                 (bEnable ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral(" WHERE ID=") +
                                 GetSqlVal(key));
        });
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("SetUserFlag():"), e);
        ChangeLog::Failed(record, errorText(e));
        return FlagResult::Failed;
    }
    m_grid.setTextMatrix(r, ColStatus, bEnable ? kInUse : kDisabled);
    MSFlexGrid1_Click();
    return FlagResult::Written;
}

void AccountSetList::DateBaseModifyByZavrin() {
    ztgl::DateBaseModifyByZavrin();
}

AccountSetList::GridPlace AccountSetList::Form_Resize(int innerWidth, int innerHeight) {
    GridPlace p{150, 980, 0, 0};
    p.height = std::abs(innerHeight - p.top - 200);
    p.width = std::abs(innerWidth - p.left - 200);
    return p;
}

QString AccountSetList::statusText(const QVariant& userFlag) {
    if (!userFlag.isValid() || userFlag.isNull())
        return kInUse;
    bool zero = false;
    switch (userFlag.typeId()) {
        case QMetaType::QString: {
            // A text flag counts by its number; a text that is no number is not 0.
            bool ok = false;
            const double v = TrimBlanks(userFlag.toString()).toDouble(&ok);
            zero = ok && v == 0;
            break;
        }
        case QMetaType::Bool:
            zero = !userFlag.toBool();
            break;
        default: {
            bool ok = false;
            const double v = userFlag.toDouble(&ok);
            zero = ok && v == 0;
            break;
        }
    }
    return zero ? kDisabled : kInUse;
}

// Numbers as they are written by hand or by a database: blanks around, a sign, digits with a
// decimal point and an exponent, or the &H / &O forms.
bool AccountSetList::IsNumeric(const QString& text) {
    static const QRegularExpression number(QStringLiteral(
        "^ *(?:[+-]? *(?:\\d+\\.?\\d*|\\.\\d+)(?:[eEdD][+-]?\\d+)?|&[hH][0-9a-fA-F]+|&[oO]?[0-7]+) *$"));
    return number.match(text).hasMatch();
}

void AccountSetList::appendNewSet(const QString& id, const QString& name, const QString& databaseName,
                                  const QString& createDate) {
    const int r = m_grid.addRow();
    m_grid.setTextMatrix(r, ColId, id);
    m_grid.setTextMatrix(r, ColMarker, QString());
    m_grid.setTextMatrix(r, ColNumber, QString::number(r));
    m_grid.setTextMatrix(r, ColName, name);
    m_grid.setTextMatrix(r, ColStatus, kInUse);
    m_grid.setTextMatrix(r, ColDatabase, databaseName);
    m_grid.setTextMatrix(r, ColCreated, createDate);
    moveTo(r);
    m_grid.setTextMatrix(m_grid.Row(), ColMarker, kMarker);
}

void AccountSetList::renameCurrentSet(const QString& name) {
    m_grid.setTextMatrix(m_grid.Row(), ColName, name);
}

void AccountSetList::setButtonEnabled(int index, bool enabled) {
    if (m_buttons[index].enabled == enabled)
        return;
    m_buttons[index].enabled = enabled;
    if (onButtonsChanged)
        onButtonsChanged();
}

}  // namespace ztgl
