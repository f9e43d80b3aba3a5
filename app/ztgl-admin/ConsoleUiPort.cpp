#include "ConsoleUiPort.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>

namespace ztgl::admin {

ConsoleUiPort::ConsoleUiPort(QTextStream& err, bool yes) : m_err(err), m_yes(yes) {}

MsgAnswer ConsoleUiPort::message(const QString& text, const QString&, MsgIcon, MsgButtons buttons) {
    m_err << text << Qt::endl;
    if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
    const MsgAnswer yes = buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Retry;
    const MsgAnswer no = buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
    if (m_yes) {
        m_err << QStringLiteral("（--yes：是）") << Qt::endl;
        return yes;
    }
    if (!isatty(STDIN_FILENO)) {
        m_err << QStringLiteral("（没有 --yes，标准输入不是终端：按“否”处理）") << Qt::endl;
        return no;
    }
    m_err << QStringLiteral("是(y)/否(n)? ") << Qt::flush;
    std::string line;
    std::getline(std::cin, line);
    return (line == "y" || line == "Y" || line == "yes") ? yes : no;
}

}  // namespace ztgl::admin
