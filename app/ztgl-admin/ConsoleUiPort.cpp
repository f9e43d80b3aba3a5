#include "ConsoleUiPort.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "session/HandshakeForm.h"

namespace ztgl::admin {

ConsoleUiPort::ConsoleUiPort(QTextStream& err, bool yes, int timeoutSeconds)
    : m_err(err), m_yes(yes), m_timeoutSeconds(timeoutSeconds) {}

MsgAnswer ConsoleUiPort::message(const QString& text, const QString&, MsgIcon, MsgButtons buttons) {
    m_err << text << Qt::endl;
    ++m_lines;
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    const MsgAnswer yes = buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Retry;
    const MsgAnswer no = buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
    const QString yesText = buttons == MsgButtons::YesNo ? QStringLiteral("是") : QStringLiteral("重试");
    const QString noText = buttons == MsgButtons::YesNo ? QStringLiteral("否") : QStringLiteral("取消");
    if (m_yes) {
        m_err << QStringLiteral("（--yes：%1）").arg(yesText) << Qt::endl;
        return yes;
    }
    if (!isatty(STDIN_FILENO)) {
        m_err << QStringLiteral("（没有 --yes，标准输入不是终端：按“%1”处理）").arg(noText) << Qt::endl;
        return no;
    }
    m_err << QStringLiteral("%1(y)/%2(n)? ").arg(yesText, noText) << Qt::flush;
    std::string line;
    std::getline(std::cin, line);
    return (line == "y" || line == "Y" || line == "yes") ? yes : no;
}

void ConsoleUiPort::showModal(ModalForm& form) {
    if (auto* handshake = dynamic_cast<HandshakeForm*>(&form)) {
        const auto end = handshake->runWithoutScreen(m_timeoutSeconds * 1000);
        if (end == HandshakeForm::RunEnd::TimedOut) {
            m_err << handshake->title() << handshake->status()
                  << QStringLiteral("（%1 秒内服务器没有结束对话，放弃）").arg(m_timeoutSeconds) << Qt::endl;
            ++m_lines;
        }
        return;
    }
    if (form.formName() == QLatin1String("frm_connect")) {
        m_err << QStringLiteral(
                     "（ztgl-admin 不显示连接设置窗口：服务器的地址和端口在 kxconfig.ini 的 "
                     "[SERVERINFO] 节，键 IP 和 PORT）")
              << Qt::endl;
        ++m_lines;
    }
}

}  // namespace ztgl::admin
