#include "ui/HandshakeWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "process/Globals.h"
#include "ui/ModalForms.h"
#include "ui/ShapeWidget.h"
#include "ui/Style.h"

// The pictures are a resource of this static library: the program must ask for them by name.
static void initHandshakePictures() {
    Q_INIT_RESOURCE(HandshakePictures);
}

namespace ztgl::gui {
namespace {

const QColor kBackColour(238, 242, 221);  // &HDDF2EE

// Mouse buttons and shift states as the rules count them.
int buttonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0) |
           (modifiers.testFlag(Qt::ControlModifier) ? 2 : 0) | (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

}  // namespace

QPixmap HandshakeWindow::bitmap103() {
    initHandshakePictures();
    return QPixmap(QStringLiteral(":/handshake/103.png"));
}

QPixmap HandshakeWindow::frame(int number) {
    initHandshakePictures();
    if (number < 1 || number > HandshakeForm::kFrames)
        return QPixmap();
    return QPixmap(QStringLiteral(":/handshake/%1.png").arg(number, 2, 10, QLatin1Char('0')));
}

HandshakeWindow::HandshakeWindow(HandshakeForm& form, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint),
      m_form(form),
      m_frame(new ShapeWidget(this)),
      m_picture(new QLabel(this)),
      m_title(new QLabel(this)),
      m_status(new QLabel(this)),
      m_animation(new QLabel(this)) {
    using F = HandshakeForm;
    setObjectName(form.formName());
    setWindowTitle(gAppTitle);
    setFixedSize(twipsToPixels(F::kWidth), twipsToPixels(F::kHeight));
    QPalette back = palette();
    back.setColor(QPalette::Window, kBackColour);
    setPalette(back);
    setAutoFillBackground(true);

    m_frame->setObjectName(QStringLiteral("Shape1"));
    m_frame->setGeometry(twipsToPixels(F::frameRect()));
    Set_ShapeStyle(m_frame, Qt::white, ShapeWidget::Kind::Rectangle);
    m_picture->setObjectName(QStringLiteral("Image2"));
    m_picture->setGeometry(twipsToPixels(F::pictureRect()));
    m_picture->setPixmap(bitmap103());
    m_title->setObjectName(QStringLiteral("Label2"));
    m_title->setGeometry(twipsToPixels(F::titleRect()));
    QFont bold = m_title->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_title->setFont(bold);
    m_status->setObjectName(QStringLiteral("Label1"));
    m_status->setGeometry(twipsToPixels(F::statusRect()));
    m_animation->setObjectName(QStringLiteral("Image1"));
    m_animation->setGeometry(twipsToPixels(F::animationRect()));
    for (QLabel* label : {m_picture, m_title, m_status, m_animation})
        label->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_timer.setInterval(F::kTimerInterval);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_form.Timer1_Timer(); });

    m_form.setView(this);
    m_form.Form_Load();
    m_title->setText(m_form.title());
    m_status->setText(m_form.status());
    showFrame(m_form.frame());
    m_timer.start();
}

HandshakeWindow::~HandshakeWindow() {
    m_form.setView(nullptr);
}

void HandshakeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // After the window is up, as the modal wait has begun: the check may unload it at once.
    QMetaObject::invokeMethod(this, &HandshakeWindow::activated, Qt::QueuedConnection);
}

void HandshakeWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        activated();
}

void HandshakeWindow::activated() {
    if (m_activating || m_form.isUnloaded() || !isVisible())
        return;
    m_activating = true;
    m_form.Form_Activate();
    m_activating = false;
}

void HandshakeWindow::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty())
        m_form.Form_KeyPress(event->text().at(0).unicode());
}

void HandshakeWindow::mouseReleaseEvent(QMouseEvent* event) {
    m_form.Form_MouseUp(buttonOf(event->button()), shiftOf(event->modifiers()));
}

// The close button: the operator closes the window (unload mode 0).
void HandshakeWindow::closeEvent(QCloseEvent* event) {
    if (!m_form.isUnloaded()) {
        m_form.Form_QueryUnload(0);
        m_form.Unload();
    }
    event->accept();
}

void HandshakeWindow::showFrame(int frame) {
    m_animation->setPixmap(HandshakeWindow::frame(frame));
}

void HandshakeWindow::unload() {
    m_timer.stop();
    done(QDialog::Rejected);
}

void runHandshakeWindow(ModalForm& form, QWidget* parent) {
    HandshakeWindow window(static_cast<HandshakeForm&>(form), parent);
    window.exec();
}

}  // namespace ztgl::gui
