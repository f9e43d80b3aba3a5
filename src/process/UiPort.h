#pragma once

#include <QString>

namespace ztgl {

enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgButtons { Ok, YesNo, RetryCancel };
enum class MsgAnswer { Ok, Yes, No, Retry, Cancel };

// The rules of a modal window. The window's widget (GUI) or a test script (tests) drives it.
class ModalForm {
public:
    virtual ~ModalForm() = default;
    // The window's name, e.g. "frmCyXgmm", "frmZTGLXZ": the GUI picks the widget by it.
    virtual QString formName() const = 0;
};

// Everything the core asks of the screen: message boxes, modal windows, letting pending
// window messages run, and making the main window (un)available during long work.
// The GUI implements it with Qt widgets; tests use a recorder that answers from a queue;
// ztgl-admin uses a console port.
class UiPort {
public:
    virtual ~UiPort() = default;
    virtual MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons) = 0;
    // Shows the form modally and returns when it has closed.
    virtual void showModal(ModalForm& form) = 0;
    // Lets pending window messages run once (repaints during long work).
    virtual void doEvents() = 0;
    // The main window is made unavailable while a new account set is made.
    virtual void setMainWindowEnabled(bool enabled) = 0;
};

// The process-wide port. Never null: until one is installed, a port that answers OK/No
// silently stands in (so core code run from a script cannot block).
UiPort& ui();
// Installs a port (not owned); nullptr restores the silent default.
void setUi(UiPort* port);

// Message-box helpers in the program's conventions.
MsgAnswer MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok,
                 MsgIcon icon = MsgIcon::Information, const QString& title = QString());

// The failure convention: label (e.g. "Open_Connect():") immediately followed by the standard
// error text, information icon, title "提示信息".
void ReportError(const QString& label, const std::exception& e);

}  // namespace ztgl
