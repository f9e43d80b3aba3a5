#include "platform/SystemAccount.h"

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <pwd.h>
#include <unistd.h>
#endif

namespace ztgl {

// The account itself, not what the environment claims: a service started by cron or systemd
// often runs without USER set.
QString SystemAccountName() {
#ifdef Q_OS_WIN
    return qEnvironmentVariable("USERNAME");
#else
    if (const passwd* pw = getpwuid(geteuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
#endif
}

}  // namespace ztgl
