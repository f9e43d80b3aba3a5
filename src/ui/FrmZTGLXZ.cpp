// Placeholder until the account-set editor window lands.
#include "ui/ModalForms.h"

namespace ztgl::gui {
void runFrmZTGLXZ(ModalForm&, QWidget*) {}
}  // namespace ztgl::gui
