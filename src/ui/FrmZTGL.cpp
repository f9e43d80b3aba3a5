// Placeholder until the list window lands.
#include "ui/FrmZTGL.h"

namespace ztgl::gui {
FrmZTGL::FrmZTGL(QWidget* parent) : QWidget(parent) { setWindowTitle(QStringLiteral("帐套管理")); }
}  // namespace ztgl::gui
