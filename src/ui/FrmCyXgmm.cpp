#include "ui/FrmCyXgmm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QAbstractButton>

#include "ui/ModalForms.h"
#include "ui/Style.h"

namespace ztgl::gui {
FrmCyXgmm::FrmCyXgmm(ChangePasswordForm& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      m_form(form),
      m_frame(new ShapeWidget(this)) {
    using F = ChangePasswordForm;
    setObjectName(QStringLiteral("frmCyXgmm"));
    setWindowTitle(F::caption());
    setFixedSize(twipsToPixels(F::kWidth), twipsToPixels(F::kHeight));

    // The white frame shape behind the boxes, in the program's frame colour.
    m_frame->setObjectName(QStringLiteral("Shape1"));
    m_frame->setGeometry(twipsToPixels(F::frameRect()));
    m_frame->setStyleSheet(
        QStringLiteral("#Shape1 { background: white; border: 1px solid rgb(150, 150, 78); }"));

    const F::Control order[] = {F::Text3, F::Text1, F::Text2};
    for (const F::Control c : order) {
        auto* label = new QLabel(F::labelText(c), this);
        label->setGeometry(twipsToPixels(F::labelRect(c)));
        auto* box = new QLineEdit(this);
        box->setObjectName(c == F::Text3   ? QStringLiteral("Text3")
                           : c == F::Text1 ? QStringLiteral("Text1")
                                           : QStringLiteral("Text2"));
        box->setEchoMode(QLineEdit::Password);
        box->setMaxLength(F::kMaxLength);
        box->setGeometry(twipsToPixels(F::boxRect(c)));
        box->installEventFilter(this);
        m_boxes[c] = box;
    }
    connect(m_boxes[F::Text3], &QLineEdit::textChanged, this,
            [this](const QString& t) { m_form.Text3Text = t; });
    connect(m_boxes[F::Text1], &QLineEdit::textChanged, this,
            [this](const QString& t) { m_form.Text1Text = t; });
    connect(m_boxes[F::Text2], &QLineEdit::textChanged, this,
            [this](const QString& t) { m_form.Text2Text = t; });

    m_buttons = Make_CommandButtons(this, &F::buttonCaption, &F::buttonToolTip,
                                    [this](int i) { m_form.command1_Click(i); });
    for (QAbstractButton* button : m_buttons)
        button->installEventFilter(this);
    setTabOrder(m_boxes[F::Text3], m_boxes[F::Text1]);
    setTabOrder(m_boxes[F::Text1], m_boxes[F::Text2]);
    setTabOrder(m_boxes[F::Text2], m_buttons[1]);
    setTabOrder(m_buttons[1], m_buttons[0]);
    installEventFilter(this);

    Set_Style(this, m_buttons, F::caption());
    Set_FlatControls(this);
    Set_Position(this, m_buttons);
    m_form.setView(this);
    m_boxes[F::Text3]->setFocus();
}

FrmCyXgmm::~FrmCyXgmm() {
    m_form.setView(nullptr);
}

QLineEdit* FrmCyXgmm::box(ChangePasswordForm::Control control) const {
    return control <= ChangePasswordForm::Text2 ? m_boxes[control] : nullptr;
}

ChangePasswordForm::Control FrmCyXgmm::controlOf(QObject* widget) const {
    for (int c = ChangePasswordForm::Text3; c <= ChangePasswordForm::Text2; ++c) {
        if (widget == m_boxes[c])
            return ChangePasswordForm::Control(c);
    }
    return widget == m_buttons[0] ? ChangePasswordForm::Command1_0 : ChangePasswordForm::Command1_1;
}

// Enter and Esc are the dialog's before any control sees them.
bool FrmCyXgmm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    const bool escape = key->key() == Qt::Key_Escape;
    if (!enter && !escape)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && enter)
        m_form.Form_KeyPress(ChangePasswordForm::kKeyEnter, controlOf(watched));
    else if (event->type() == QEvent::KeyRelease && escape)
        m_form.Form_KeyUp(ChangePasswordForm::kKeyEscape);
    return true;
}

void FrmCyXgmm::setFocusTo(ChangePasswordForm::Control control) {
    if (QLineEdit* b = box(control)) {
        b->setFocus();
        b->selectAll();
    }
}

void FrmCyXgmm::sendTab() {
    focusNextChild();
}

void FrmCyXgmm::unload() {
    accept();
}

void runFrmCyXgmm(ModalForm& form, QWidget* parent) {
    FrmCyXgmm dialog(static_cast<ChangePasswordForm&>(form), parent);
    dialog.exec();
}

}  // namespace ztgl::gui
