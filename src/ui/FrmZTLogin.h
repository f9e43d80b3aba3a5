#pragma once

#include <QPixmap>
#include <QWidget>

#include "operators/LoginForm.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace ztgl {
class ShellOpener;
}

namespace ztgl::gui {

// The login dialog frmZTLogin, shown without a modal wait after start-up: shows LoginForm's
// texts at their places over the background picture and forwards typing, keys and clicks.
// On success it shows the main window and closes itself.
class FrmZTLogin : public QWidget, private LoginForm::View {
    Q_OBJECT
public:
    explicit FrmZTLogin(ShellOpener& shell, QWidget* parent = nullptr);

    // Shows the program's login dialog, making it when there is none: a start-up that resumes
    // after a restart from the pre-login window shows the dialog already up, so one remains.
    static FrmZTLogin* showTheOne(ShellOpener& shell);

    LoginForm& form() { return m_form; }
    QLineEdit* txtUserName() const { return m_userName; }
    QLineEdit* txtPwd() const { return m_password; }
    QPushButton* CMDOK() const { return m_ok; }
    QPushButton* CmdCancel() const { return m_cancel; }
    QLabel* label(LoginForm::Control control) const;
    // The background picture: the delivery's from csxx.dac, or the built-in one.
    QLabel* picture() const { return m_picture; }
    // The picture of a delivery without csxx.dac: a band with the program's name and the web
    // address under the link area.
    QPixmap builtInPicture() const;

signals:
    // The main window is up and this dialog is closing.
    void loggedInto(QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void place(QWidget* widget, LoginForm::Control control);
    bool userNameKey(QEvent* event);
    bool passwordKey(QEvent* event);

    // LoginForm::View
    void setFocusTo(LoginForm::Control control) override;
    void loggedIn() override;
    void unload() override;

    LoginForm m_form;
    QLineEdit* m_userName;
    QLineEdit* m_password;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QLabel* m_labels[LoginForm::ControlCount] = {};
    QLabel* m_picture;
    bool m_loggedIn = false;
};

}  // namespace ztgl::gui
