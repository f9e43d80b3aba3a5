#pragma once

#include <QString>

class QWidget;

namespace ztgl {
class ModalForm;
}

namespace ztgl::gui {

// Each modal window's widget: shows the form's rules modally over `parent` and returns when
// the window has closed. QtUiPort picks the runner by the form's name.
void runFrmCyXgmm(ModalForm& form, QWidget* parent);  // FrmCyXgmm.cpp
void runFrmZTGLXZ(ModalForm& form, QWidget* parent);  // FrmZTGLXZ.cpp
void runFrmConnect(ModalForm& form, QWidget* parent);  // FrmConnect.cpp
// w_PreLogin and w_CheckUser.
void runHandshakeWindow(ModalForm& form, QWidget* parent);  // HandshakeWindow.cpp

}  // namespace ztgl::gui
