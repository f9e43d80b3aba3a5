#pragma once

#include "platform/ShellOpener.h"

namespace ztgl::gui {

// Opens a web address with the desktop's browser.
class QtShellOpener final : public ShellOpener {
public:
    bool open(const QString& address) override;
};

}  // namespace ztgl::gui
