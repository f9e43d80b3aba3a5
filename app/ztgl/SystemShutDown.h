#pragma once

// The real workstation orders of this system. Only the ztgl program compiles them.
#include <QtGlobal>

#ifdef Q_OS_WIN
#include "WinShutDown.h"
namespace ztgl {
using SystemShutDown = WinShutDown;
}
#else
#include "LogindShutDown.h"
namespace ztgl {
using SystemShutDown = LogindShutDown;
}
#endif
