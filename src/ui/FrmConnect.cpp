#include "ui/FrmConnect.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "ui/ModalForms.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

namespace ztgl::gui {
FrmConnect::FrmConnect(ConnectSettingsForm& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      m_form(form),
      m_frame(new ShapeWidget(this)) {
    using F = ConnectSettingsForm;
    setObjectName(form.formName());
    setWindowTitle(F::caption());
    setFixedSize(twipsToPixels(F::kWidth), twipsToPixels(F::kHeight));

    m_frame->setObjectName(QStringLiteral("Shape1"));
    m_frame->setGeometry(twipsToPixels(F::frameRect()));
    Set_ShapeStyle(m_frame, Qt::white, ShapeWidget::Kind::Rectangle);

    const F::Control boxes[] = {F::Text4, F::Text5};
    for (const F::Control c : boxes) {
        auto* label = new QLabel(F::labelText(c), this);
        label->setObjectName(QStringLiteral("Label2_%1").arg(int(c)));
        label->setGeometry(twipsToPixels(F::labelRect(c)));
        auto* box = new QLineEdit(this);
        box->setObjectName(c == F::Text4 ? QStringLiteral("Text4") : QStringLiteral("Text5"));
        box->setGeometry(twipsToPixels(F::boxRect(c)));
        m_boxes[c] = box;
    }
    connect(m_boxes[0], &QLineEdit::textChanged, this, [this](const QString& t) { m_form.Text4Text = t; });
    connect(m_boxes[1], &QLineEdit::textChanged, this, [this](const QString& t) { m_form.Text5Text = t; });

    m_buttons = Make_CommandButtons(this, &F::buttonCaption, &F::buttonToolTip,
                                    [this](int i) { m_form.command1_Click(i); });
    setTabOrder(m_boxes[0], m_boxes[1]);
    setTabOrder(m_boxes[1], m_buttons[1]);
    setTabOrder(m_buttons[1], m_buttons[0]);

    m_form.setView(this);
    m_form.Form_Load();
    m_boxes[0]->setText(m_form.Text4Text);
    m_boxes[1]->setText(m_form.Text5Text);
    Set_Style(this, m_buttons, F::caption());
    Set_FlatControls(this);
    Set_Position(this, m_buttons);
    m_boxes[0]->setFocus();
}

FrmConnect::~FrmConnect() {
    m_form.setView(nullptr);
}

void FrmConnect::setFocusTo(ConnectSettingsForm::Control box) {
    QLineEdit* b = m_boxes[box == ConnectSettingsForm::Text4 ? 0 : 1];
    b->setFocus();
    b->selectAll();
}

void FrmConnect::unload() {
    done(m_form.IsOK ? QDialog::Accepted : QDialog::Rejected);
}

void runFrmConnect(ModalForm& form, QWidget* parent) {
    FrmConnect dialog(static_cast<ConnectSettingsForm&>(form), parent);
    dialog.exec();
}

}  // namespace ztgl::gui
