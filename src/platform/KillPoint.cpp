#include "platform/KillPoint.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#endif

namespace ztgl {

void KillPoint(const char* step) {
    static const QByteArray wanted = qgetenv("ZTGL_KILL_AT");
    if (wanted.isEmpty() || wanted != step)
        return;
#ifdef Q_OS_WIN
    TerminateProcess(GetCurrentProcess(), 9);
#else
    raise(SIGKILL);
#endif
}

}  // namespace ztgl
