#pragma once

#include <QTextStream>

#include "platform/ShutDown.h"

namespace ztgl::admin {

// The server's workstation orders in ztgl-admin: said on stderr, never obeyed.
class ReportedOrders final : public ShutDown {
public:
    explicit ReportedOrders(QTextStream& err) : m_err(err) {}
    void LogOffWindows(bool) override { say(QStringLiteral("注销当前用户")); }
    void ShutDownWindows(bool) override { say(QStringLiteral("关闭计算机")); }
    void RestartWindows(bool) override { say(QStringLiteral("重新启动计算机")); }

private:
    void say(const QString& order) {
        m_err << QStringLiteral("服务器命令本机%1（ztgl-admin 不执行）").arg(order) << Qt::endl;
    }
    QTextStream& m_err;
};

}  // namespace ztgl::admin
