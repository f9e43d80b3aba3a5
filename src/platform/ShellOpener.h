#pragma once

#include <QString>

namespace ztgl {

// Opens a web address with the system's shell (the GUI installs the Qt implementation).
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual bool open(const QString& address) = 0;
};

}  // namespace ztgl
