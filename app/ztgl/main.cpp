// ztgl: the account-set manager. No command line: everything comes from kxconfig.ini beside
// the program.
#include <QApplication>

#include "startup/Startup.h"
#include "process/UiPort.h"
#include "ui/FrmZTLogin.h"
#include "ui/GuiSetup.h"
#include "ui/QtShellOpener.h"
#include "ui/QtUiPort.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Ties the windows to the desktop entry (and its icon) of the installed program.
    QGuiApplication::setDesktopFileName(QStringLiteral("cn.zavrin.ztgl"));
    ztgl::gui::InstallChineseUi(app);
    ztgl::gui::QtUiPort port;
    ztgl::setUi(&port);
    ztgl::gui::QtShellOpener shell;

    int rc = 0;
    if (ztgl::Main() == ztgl::StartupOutcome::ShowLogin) {
        // The login dialog and then the main window delete themselves on closing; the program
        // ends when the last window has closed.
        auto* login = new ztgl::gui::FrmZTLogin(shell);
        login->show();
        rc = app.exec();
    }
    ztgl::setUi(nullptr);
    return rc;
}
