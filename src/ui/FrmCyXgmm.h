#pragma once

#include <QDialog>
#include <QList>

#include "operators/ChangePasswordForm.h"

class QAbstractButton;
class QFrame;
class QLineEdit;

namespace ztgl::gui {

// The change-password dialog frmCyXgmm over ChangePasswordForm: three masked boxes in a white
// frame, the two buttons in the title band. The dialog sees keys before its controls.
class FrmCyXgmm : public QDialog, private ChangePasswordForm::View {
    Q_OBJECT
public:
    FrmCyXgmm(ChangePasswordForm& form, QWidget* parent = nullptr);
    ~FrmCyXgmm() override;

    QLineEdit* box(ChangePasswordForm::Control control) const;
    QAbstractButton* command1(int index) const { return m_buttons.at(index); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ChangePasswordForm::Control controlOf(QObject* widget) const;

    // ChangePasswordForm::View
    void setFocusTo(ChangePasswordForm::Control control) override;
    void sendTab() override;
    void unload() override;

    ChangePasswordForm& m_form;
    QFrame* m_frame;
    QLineEdit* m_boxes[3];
    QList<QAbstractButton*> m_buttons;  // command1: 0 close, 1 save
};

}  // namespace ztgl::gui
