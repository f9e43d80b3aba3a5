#pragma once

class QApplication;

namespace ztgl::gui {

// Chinese texts for Qt's own buttons and dialogs (是/否/确定/取消) and the Simplified Chinese
// shapes of the CJK font for the whole program, and password boxes masked with "*". Call once, right after the application is made.
// Returns false when Qt's Chinese translation could not be found (the program still runs).
bool InstallChineseUi(QApplication& app);

}  // namespace ztgl::gui
