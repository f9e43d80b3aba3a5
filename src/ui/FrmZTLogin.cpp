#include "ui/FrmZTLogin.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include "db/PubSql.h"
#include "platform/Codepage936.h"
#include "process/Globals.h"
#include "style/StyleColours.h"
#include "ui/BagPicture.h"
#include "ui/MDIfrmZTGL.h"
#include "ui/Style.h"

namespace ztgl::gui {
namespace {

constexpr int kNoKey = -1;

// The key as the dialog's key-press handlers see it: Enter 13, Backspace 8, a typed character its
// code-page code (negative for double-byte characters). Keys that type nothing (moves, Tab,
// shortcuts such as Ctrl+C) give kNoKey and are left to the box.
int keyAscii(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return LoginForm::kKeyEnter;
    if (event->key() == Qt::Key_Backspace)
        return LoginForm::kKeyBackspace;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return kNoKey;
    return cp936::Asc(text);
}

}  // namespace

FrmZTLogin::FrmZTLogin(ShellOpener& shell, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint),
      m_form(&shell),
      m_userName(new QLineEdit(this)),
      m_password(new QLineEdit(this)),
      m_ok(new QPushButton(this)),
      m_cancel(new QPushButton(this)),
      m_picture(new QLabel(this)) {
    setObjectName(QStringLiteral("frmZTLogin"));
    m_picture->setObjectName(QStringLiteral("Picture"));
    m_picture->setScaledContents(true);
    setAttribute(Qt::WA_DeleteOnClose);
    m_userName->setObjectName(QStringLiteral("txtUserName"));
    m_password->setObjectName(QStringLiteral("txtPwd"));
    m_ok->setObjectName(QStringLiteral("CMDOK"));
    m_cancel->setObjectName(QStringLiteral("CmdCancel"));
    m_userName->setMaxLength(LoginForm::kMaxLength);
    m_password->setMaxLength(LoginForm::kMaxLength);
    m_password->setEchoMode(QLineEdit::Password);
    // Codes are typed as letters and digits only: no input method composes Chinese into the box.
    m_userName->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_userName->installEventFilter(this);
    m_password->installEventFilter(this);
    // Enter on a focused button presses it, as operators are used to.
    m_ok->setAutoDefault(true);
    m_cancel->setAutoDefault(true);

    const LoginForm::Control labels[] = {LoginForm::Label1_0, LoginForm::Label1_1, LoginForm::Label6,
                                         LoginForm::Label1_3, LoginForm::Label2,   LoginForm::Label1_4,
                                         LoginForm::Label9,   LoginForm::Label10,  LoginForm::Label7,
                                         LoginForm::Label8,   LoginForm::Label4};
    for (const LoginForm::Control c : labels) {
        m_labels[c] = new QLabel(this);
        m_labels[c]->setObjectName(QStringLiteral("Label%1").arg(int(c)));
    }
    m_labels[LoginForm::Label4]->setCursor(Qt::PointingHandCursor);
    m_labels[LoginForm::Label4]->installEventFilter(this);

    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, m_ok);
    setTabOrder(m_ok, m_cancel);

    connect(m_userName, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_form.userName = text; });
    connect(m_password, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_form.password = text; });
    connect(m_ok, &QPushButton::clicked, this, [this] { m_form.cmdOK_Click(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_form.CmdCancel_Click(); });

    m_form.setView(this);
    Form_Load();
}

FrmZTLogin* FrmZTLogin::showTheOne(ShellOpener& shell) {
    static QPointer<FrmZTLogin> theOne;
    if (!theOne)
        theOne = new FrmZTLogin(shell);
    theOne->show();
    return theOne;
}

void FrmZTLogin::Form_Load() {
    m_form.Form_Load(QDateTime::currentDateTime());
    setWindowTitle(m_form.caption());
    setFixedSize(twipsToPixels(LoginForm::kWidth), twipsToPixels(LoginForm::kHeight));
    m_picture->setGeometry(rect());
    m_picture->setPixmap(builtInPicture());
    LoadBagPicture(m_form.pictureKey(), m_picture);
    m_picture->lower();
    Set_FlatControls(this);

    for (int c = 0; c < LoginForm::ControlCount; ++c) {
        const auto control = LoginForm::Control(c);
        if (QLabel* label = m_labels[c]) {
            label->setText(m_form.text(control));
            label->setToolTip(m_form.toolTip(control));
            label->setVisible(m_form.isVisible(control));
            place(label, control);
        }
    }
    QFont heading = m_labels[LoginForm::Label6]->font();
    heading.setBold(true);
    m_labels[LoginForm::Label6]->setFont(heading);
    m_ok->setText(m_form.text(LoginForm::CMDOK));
    m_cancel->setText(m_form.text(LoginForm::CmdCancel));
    place(m_userName, LoginForm::txtUserName);
    place(m_password, LoginForm::txtPwd);
    place(m_ok, LoginForm::CMDOK);
    place(m_cancel, LoginForm::CmdCancel);
    m_userName->setFocus();
}

void FrmZTLogin::place(QWidget* widget, LoginForm::Control control) {
    widget->setGeometry(twipsToPixels(m_form.rect(control)));
}

QLabel* FrmZTLogin::label(LoginForm::Control control) const {
    return m_labels[control];
}

bool FrmZTLogin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_userName)
        return userNameKey(event);
    if (watched == m_password)
        return passwordKey(event);
    if (watched == m_labels[LoginForm::Label4] && event->type() == QEvent::MouseButtonDblClick) {
        m_form.Label4_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Returns true when the key is used up here (discarded, or Enter handled).
bool FrmZTLogin::userNameKey(QEvent* event) {
    if (event->type() == QEvent::InputMethod) {
        // Should an input method still deliver text, it passes the same filter.
        auto* im = static_cast<QInputMethodEvent*>(event);
        QString kept;
        for (const QChar ch : im->commitString()) {
            int key = cp936::Asc(QString(ch));
            if (LoginForm::input_char(key) != 0)
                kept += ch;
        }
        if (kept == im->commitString())
            return false;
        if (!kept.isEmpty())
            m_userName->insert(kept);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    int key = keyAscii(static_cast<QKeyEvent*>(event));
    if (key == kNoKey)
        return false;
    m_form.txtUserName_KeyPress(key);
    return key == 0 || key == LoginForm::kKeyEnter;
}

bool FrmZTLogin::passwordKey(QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    int key = keyAscii(static_cast<QKeyEvent*>(event));
    if (key != LoginForm::kKeyEnter)
        return false;
    m_form.txtPwd_KeyPress(key);
    return true;
}

void FrmZTLogin::setFocusTo(LoginForm::Control control) {
    switch (control) {
        case LoginForm::txtUserName:
            m_userName->setFocus();
            m_userName->selectAll();
            break;
        case LoginForm::txtPwd:
            m_password->setFocus();
            m_password->selectAll();
            break;
        case LoginForm::CMDOK:
            m_ok->setFocus();
            break;
        default:
            break;
    }
}

void FrmZTLogin::loggedIn() {
    m_loggedIn = true;
    auto* main = new MDIfrmZTGL();
    main->show();
    emit loggedInto(main);
    close();
}

void FrmZTLogin::unload() {
    close();
}

// Closing the dialog in any other way than by logging in gives up, as Cancel does.
void FrmZTLogin::closeEvent(QCloseEvent* event) {
    if (!m_loggedIn)
        Close_Connect();
    QWidget::closeEvent(event);
}

QPixmap FrmZTLogin::builtInPicture() const {
    QPixmap picture(size());
    picture.fill(toColor(style::colours::kWindow));
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int band = twipsToPixels(1380);
    QLinearGradient gradient(0, 0, width(), band);
    gradient.setColorAt(0, QColor(36, 92, 128));
    gradient.setColorAt(1, QColor(92, 156, 176));
    painter.fillRect(0, 0, width(), band, gradient);
    painter.fillRect(0, band, width(), 3, toColor(style::colours::kFrame));

    painter.setPen(Qt::white);
    QFont big = font();
    big.setPointSizeF(font().pointSizeF() * 2.2);
    big.setBold(true);
    painter.setFont(big);
    const QRect titleRect(twipsToPixels(360), twipsToPixels(120), width() - twipsToPixels(720), band / 2);
    painter.drawText(titleRect, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("帐套管理"));
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 1.1);
    painter.setFont(small);
    painter.drawText(QRect(titleRect.left(), titleRect.bottom() + 4, titleRect.width(), band / 3),
                     Qt::AlignLeft | Qt::AlignTop, gTitle);

    painter.setFont(font());
    painter.setPen(QColor(36, 92, 128));
    painter.drawText(twipsToPixels(m_form.rect(LoginForm::Label4)), Qt::AlignRight | Qt::AlignVCenter,
                     m_form.webSite());
    return picture;
}

}  // namespace ztgl::gui
