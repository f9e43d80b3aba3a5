#include "LogindShutDown.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QtDebug>

namespace ztgl {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSession = QStringLiteral("org.freedesktop.login1.Session");
// Active inhibitor locks count for privileged callers too.
constexpr quint64 kRootCheckInhibitors = 1;

void report(const QDBusMessage& reply, const char* what) {
    if (reply.type() == QDBusMessage::ErrorMessage)
        qWarning("ztgl: %s: %s", what, qUtf8Printable(reply.errorMessage()));
}

void callManager(const QString& method, const QVariant& argument, const char* what) {
    QDBusInterface manager(kService, kManagerPath, kManager, QDBusConnection::systemBus());
    report(manager.call(method, argument), what);
}

void powerAction(const QString& method, bool force, const char* what) {
    if (force)
        callManager(method, false, what);  // interactive = false
    else
        callManager(method + QStringLiteral("WithFlags"), QVariant::fromValue(kRootCheckInhibitors), what);
}

}  // namespace

void LogindShutDown::LogOffWindows(bool) {
    QDBusInterface manager(kService, kManagerPath, kManager, QDBusConnection::systemBus());
    const QDBusReply<QDBusObjectPath> session =
        manager.call(QStringLiteral("GetSessionByPID"), quint32(QCoreApplication::applicationPid()));
    // A program started outside a login session (from a service, say) ends the user's
    // display session instead.
    const QString path =
        session.isValid() ? session.value().path() : QStringLiteral("/org/freedesktop/login1/session/auto");
    QDBusInterface target(kService, path, kSession, QDBusConnection::systemBus());
    report(target.call(QStringLiteral("Terminate")), "log off");
}

void LogindShutDown::ShutDownWindows(bool force) {
    powerAction(QStringLiteral("PowerOff"), force, "power off");
}

void LogindShutDown::RestartWindows(bool force) {
    powerAction(QStringLiteral("Reboot"), force, "reboot");
}

}  // namespace ztgl
