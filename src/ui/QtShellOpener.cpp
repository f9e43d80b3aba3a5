#include "ui/QtShellOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace ztgl::gui {

bool QtShellOpener::open(const QString& address) {
    // Addresses are written as people type them ("www.example.com"); make them whole URLs.
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    return url.isValid() && QDesktopServices::openUrl(url);
}

}  // namespace ztgl::gui
