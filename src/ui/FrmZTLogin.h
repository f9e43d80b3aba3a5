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

    LoginForm& form() { return m_form; }
    QLineEdit* txtUserName() const { return m_userName; }
    QLineEdit* txtPwd() const { return m_password; }
    QPushButton* CMDOK() const { return m_ok; }
    QPushButton* CmdCancel() const { return m_cancel; }
    QLabel* label(LoginForm::Control control) const;
    // The background picture; a null picture keeps the built-in one.
    void setPicture(const QPixmap& picture);

signals:
    // The main window is up and this dialog is closing.
    void loggedInto(QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void place(QWidget* widget, LoginForm::Control control);
    bool userNameKey(QEvent* event);
    bool passwordKey(QEvent* event);
    void paintBuiltInPicture(QPainter& painter);

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
    QPixmap m_picture;
    bool m_loggedIn = false;
};

}  // namespace ztgl::gui
