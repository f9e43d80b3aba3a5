#pragma once

#include <QDialog>
#include <QList>

#include "startup/ConnectSettingsForm.h"

class QAbstractButton;
class QLineEdit;

namespace ztgl::gui {

class ShapeWidget;

// The connection settings dialog frm_connect over ConnectSettingsForm: the address and port
// boxes in a border shape, OK and Close in the title band. Esc and the close button leave IsOK
// as it was.
class FrmConnect : public QDialog, private ConnectSettingsForm::View {
    Q_OBJECT
public:
    FrmConnect(ConnectSettingsForm& form, QWidget* parent = nullptr);
    ~FrmConnect() override;

    QLineEdit* Text4() const { return m_boxes[0]; }
    QLineEdit* Text5() const { return m_boxes[1]; }
    QAbstractButton* command1(int index) const { return m_buttons.at(index); }
    ShapeWidget* Shape1() const { return m_frame; }

private:
    // ConnectSettingsForm::View
    void setFocusTo(ConnectSettingsForm::Control box) override;
    void unload() override;

    ConnectSettingsForm& m_form;
    ShapeWidget* m_frame;
    QLineEdit* m_boxes[2];
    QList<QAbstractButton*> m_buttons;  // command1: 0 close, 1 OK
};

}  // namespace ztgl::gui
