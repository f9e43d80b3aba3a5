#pragma once

#include <QDialog>
#include <QList>

#include "creation/AccountSetEditor.h"

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace ztgl::gui {

// frmZTGLXZ: the account-set editor's window over AccountSetEditor. It shows the rules' state
// and forwards typing and the two buttons; the progress window of a creation is FrmProgressBar.
class FrmZTGLXZ : public QDialog, public AccountSetEditor::View {
    Q_OBJECT
public:
    FrmZTGLXZ(AccountSetEditor& editor, QWidget* parent = nullptr);
    ~FrmZTGLXZ() override;

    // Loads the rules (Form_Load) and styles the window.
    void Form_Load();

    void editorChanged() override;
    void focusBox(int index) override;

    QLineEdit* box(int index) const { return m_boxes[index]; }
    QAbstractButton* button(int index) const { return m_buttons[index]; }

public slots:
    // Escape and the window's close box close the dialog like "关闭(&Q)", except while a set is
    // being made.
    void reject() override;

private:
    AccountSetEditor& m_editor;
    QList<QLineEdit*> m_boxes;
    QList<QAbstractButton*> m_buttons;
    QLabel* m_createTime;
    bool m_shown = true;  // the editor's visibility last applied (exec shows the dialog first)
};

}  // namespace ztgl::gui
