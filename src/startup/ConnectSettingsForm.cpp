#include "startup/ConnectSettingsForm.h"

#include "db/PubSql.h"
#include "process/Globals.h"
#include "process/IniFile.h"

namespace ztgl {
namespace {

const QString kSection = QStringLiteral("SERVERINFO");
const QString kErrorTitle = QStringLiteral("错误");

}  // namespace

style::TwipsRect ConnectSettingsForm::frameRect() {
    return {300, 1080, 5025, 2490};
}

style::TwipsRect ConnectSettingsForm::boxRect(Control box) {
    return {2100, box == Text4 ? 1620 : 2460, 2760, 390};
}

style::TwipsRect ConnectSettingsForm::labelRect(Control box) {
    const style::TwipsRect b = boxRect(box);
    return {720, b.top + 45, 1320, 300};
}

QString ConnectSettingsForm::labelText(Control box) {
    return box == Text4 ? QStringLiteral("主机地址：") : QStringLiteral("远程端口：");
}

QString ConnectSettingsForm::buttonCaption(int index) {
    return index == 1 ? QStringLiteral("确定(&Y)") : QStringLiteral("关闭(&Q)");
}

QString ConnectSettingsForm::buttonToolTip(int index) {
    return index == 1 ? QStringLiteral("确定，快捷键Alt+Y") : QStringLiteral("关闭窗体，快捷键Alt+Q");
}

void ConnectSettingsForm::Form_Load() {
    Text4Text = TrimBlanks(gServerIP);
    Text5Text = TrimBlanks(gServerPort);
    if (Text5Text.isEmpty())
        Text5Text = kDefaultPort;
}

void ConnectSettingsForm::command1_Click(int index) {
    if (index == 1)
        Command2_Click();
    else if (index == 0)
        Command3_Click();
}

void ConnectSettingsForm::Command2_Click() {
    if (TrimBlanks(Text4Text).isEmpty()) {
        MsgBox(QStringLiteral("请输入远程服务器地址!"), MsgButtons::Ok, MsgIcon::Critical, kErrorTitle);
        if (m_view)
            m_view->setFocusTo(Text4);
        return;
    }
    if (TrimBlanks(Text5Text).isEmpty()) {
        MsgBox(QStringLiteral("请输入远程端口!"), MsgButtons::Ok, MsgIcon::Critical, kErrorTitle);
        if (m_view)
            m_view->setFocusTo(Text5);
        return;
    }
    gServerIP = FixedText(Text4Text, 20);
    gServerPort = FixedText(Text5Text, 5);
    Write_Ini(kSection, QStringLiteral("IP"), Text4Text, gIniFile);
    Write_Ini(kSection, QStringLiteral("PORT"), Text5Text, gIniFile);
    IsOK = true;
    unload();
}

void ConnectSettingsForm::Command3_Click() {
    IsOK = false;
    unload();
}

void ConnectSettingsForm::unload() {
    m_unloaded = true;
    if (m_view)
        m_view->unload();
}

}  // namespace ztgl
