// Placeholder until the change-password window lands.
#include "ui/ModalForms.h"

namespace ztgl::gui {
void runFrmCyXgmm(ModalForm&, QWidget*) {}
}  // namespace ztgl::gui
