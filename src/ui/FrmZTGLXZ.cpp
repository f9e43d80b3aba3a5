#include "ui/FrmZTGLXZ.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/FrmProgressBar.h"
#include "ui/ModalForms.h"
#include "ui/Style.h"

namespace ztgl::gui {

namespace {

struct Twips {
    int left, top, width, height;
};

// Layout in twips (the window head of Set_Style takes the top 810). The rows sit on a white
// panel: label, box; the creation date is a plain caption.
constexpr int kWidth = 6600;
constexpr int kHeight = 4500;
constexpr Twips kPanel{300, 1050, 6000, 3150};
constexpr int kRowTop = 1320;
constexpr int kRowStep = 540;
constexpr int kLabelLeft = 720;
constexpr int kLabelWidth = 1350;
constexpr int kBoxLeft = 2130;
constexpr int kBoxWidth = 3690;
constexpr int kBoxHeight = 330;
constexpr int kButtonWidth = 1050;

QRect px(const Twips& t) {
    return QRect(twipsToPixels(t.left), twipsToPixels(t.top), twipsToPixels(t.width),
                 twipsToPixels(t.height));
}

Twips labelAt(int row) {
    return {kLabelLeft, kRowTop + row * kRowStep + 45, kLabelWidth, 240};
}
Twips boxAt(int row) {
    return {kBoxLeft, kRowTop + row * kRowStep, kBoxWidth, kBoxHeight};
}

// Longest texts the databases of the demo template take (ZTMC, Users.Uname); passwords are kept
// short enough that their encoded form fits Users.PWD.
constexpr int kMaxLength[] = {50, 30, 20, 20};

}  // namespace

FrmZTGLXZ::FrmZTGLXZ(AccountSetEditor& editor, QWidget* parent) : QDialog(parent), m_editor(editor) {
    setObjectName(QStringLiteral("frmZTGLXZ"));
    setFixedSize(twipsToPixels(kWidth), twipsToPixels(kHeight));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Shape1"));
    panel->setGeometry(px(kPanel));
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel->setPalette(white);
    panel->setFrameShape(QFrame::Box);
    panel->lower();

    // The check box "拷贝其它帐套的基础信息" and the combo box cmbZTXX of the old form were never
    // read or filled by anything; they are left out rather than offered without effect.
    static const char* const captions[] = {"帐套名称：", "默认用户：", "密码：", "确认密码：", "创建日期："};
    for (int row = 0; row < 5; ++row) {
        auto* label = new QLabel(QString::fromUtf8(captions[row]), this);
        label->setGeometry(px(labelAt(row)));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("TxtDB%1").arg(i));
        edit->setGeometry(px(boxAt(i)));
        edit->setMaxLength(kMaxLength[i]);
        if (i >= AccountSetEditor::BoxPassword)
            edit->setEchoMode(QLineEdit::Password);
        connect(edit, &QLineEdit::textEdited, this,
                [this, i](const QString& text) { m_editor.TxtDB[i] = text; });
        m_boxes << edit;
    }
    m_createTime = new QLabel(this);
    m_createTime->setObjectName(QStringLiteral("lblCreateTime"));
    m_createTime->setGeometry(px(boxAt(4)));

    static const char* const buttonCaptions[] = {"关闭(&Q)", "确定(&Y)"};
    static const char* const toolTips[] = {"关闭窗体，快捷键Alt+Q", "确定，快捷键Alt+Y"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(QString::fromUtf8(buttonCaptions[i]), this);
        button->setObjectName(QStringLiteral("command1_%1").arg(i));
        button->setToolTip(QString::fromUtf8(toolTips[i]));
        button->setAutoDefault(false);
        button->setFixedSize(twipsToPixels(kButtonWidth), twipsToPixels(615));
        connect(button, &QPushButton::clicked, this, [this, i] { m_editor.command1_Click(i); });
        m_buttons << button;
    }
    setTabOrder(m_boxes[0], m_boxes[1]);
    setTabOrder(m_boxes[1], m_boxes[2]);
    setTabOrder(m_boxes[2], m_boxes[3]);
    setTabOrder(m_boxes[3], m_buttons[1]);
    setTabOrder(m_buttons[1], m_buttons[0]);

    m_editor.setView(this);
    m_editor.progress().setViewFactory(FrmProgressBar::factory());
}

FrmZTGLXZ::~FrmZTGLXZ() {
    m_editor.setView(nullptr);
    m_editor.progress().setViewFactory(nullptr);
}

void FrmZTGLXZ::Form_Load() {
    m_editor.Form_Load();
    if (m_editor.isUnloaded())
        return;
    setWindowTitle(m_editor.caption());
    Set_Style(this, m_buttons, m_editor.caption());
    Set_FlatControls(this);
    editorChanged();
}

void FrmZTGLXZ::editorChanged() {
    for (int i = 0; i < 4; ++i)
        if (m_boxes[i]->text() != m_editor.TxtDB[i])
            m_boxes[i]->setText(m_editor.TxtDB[i]);
    m_createTime->setText(m_editor.lblCreateTime);
    setEnabled(m_editor.isEnabled());
    if (m_editor.isUnloaded())
        done(QDialog::Rejected);
    else if (m_shown != m_editor.isVisible())
        setVisible(m_shown = m_editor.isVisible());
}

void FrmZTGLXZ::focusBox(int index) {
    QLineEdit* edit = m_boxes.value(index);
    if (!edit)
        return;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void FrmZTGLXZ::reject() {
    if (m_editor.isEnabled())
        m_editor.command1_Click(0);
}

// Hiding the dialog while a set is made ends its modal run; as long as the rules have not
// unloaded it, it is shown modally again (after a failed creation, with the entries kept).
void runFrmZTGLXZ(ModalForm& form, QWidget* parent) {
    auto& editor = static_cast<AccountSetEditor&>(form);
    FrmZTGLXZ window(editor, parent);
    window.Form_Load();
    while (!editor.isUnloaded() && editor.isVisible()) {
        window.hide();  // shown again by exec, this time modal
        window.exec();
    }
}

}  // namespace ztgl::gui
