#include "ui/FrmProgressBar.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

#include "ui/Style.h"

namespace ztgl::gui {

namespace {
using PW = ProgressWindow;

struct Twips {
    int left, top, width, height;
};

// The layout in twips. Labels start at their place and grow to their text (up to the window's
// right margin), so that long table names are never cut.
constexpr int kWidth = 6975;
constexpr int kHeight = 2265;
constexpr Twips kLabel3{330, 240, 1440, 240};
constexpr Twips kLabel1{585, 705, 720, 180};
constexpr Twips kBar1{315, 930, 6450, 390};
constexpr Twips kLabel2{585, 1395, 630, 180};
constexpr Twips kBar2{315, 1620, 6450, 390};
constexpr int kRightMargin = 210;

QRect px(const Twips& t) {
    return QRect(twipsToPixels(t.left), twipsToPixels(t.top), twipsToPixels(t.width),
                 twipsToPixels(t.height));
}

void placeLabel(QLabel* label, const Twips& at) {
    const QRect r = px(at);
    const int room = twipsToPixels(kWidth - kRightMargin) - r.left();
    const QSize text = label->sizeHint();
    label->setGeometry(r.left(), r.top(), std::max(r.width(), std::min(text.width(), room)),
                       std::max(r.height(), text.height()));
}
}  // namespace

FrmProgressBar::FrmProgressBar(ProgressWindow& window)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmProgressBar"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(twipsToPixels(kWidth), twipsToPixels(kHeight));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));  // Frame4
    setPalette(pal);

    static const char* const names[] = {"Label1", "Label2", "Label3"};
    for (int i = 0; i < 3; ++i) {
        m_label[i] = new QLabel(this);
        m_label[i]->setObjectName(QString::fromLatin1(names[i]));
    }
    QFont heading = m_label[PW::Label3]->font();
    heading.setFamilies(
        {QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")});
    heading.setPointSize(12);
    m_label[PW::Label3]->setFont(heading);
    QPalette red = m_label[PW::Label3]->palette();
    red.setColor(QPalette::WindowText, QColor(128, 0, 0));
    m_label[PW::Label3]->setPalette(red);

    for (int i = 0; i < 2; ++i) {
        m_bar[i] = new QProgressBar(this);
        m_bar[i]->setObjectName(i == 0 ? QStringLiteral("ProgressBar1") : QStringLiteral("ProgressBar2"));
        m_bar[i]->setTextVisible(false);
    }
    m_bar[0]->setGeometry(px(kBar1));
    m_bar[1]->setGeometry(px(kBar2));

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    progressChanged(window);
    show();
}

FrmProgressBar::~FrmProgressBar() = default;

ProgressWindow::ViewFactory FrmProgressBar::factory() {
    return [](ProgressWindow& window) -> std::unique_ptr<ProgressWindow::View> {
        return std::make_unique<FrmProgressBar>(window);
    };
}

void FrmProgressBar::progressChanged(const ProgressWindow& window) {
    static const Twips* const places[] = {&kLabel1, &kLabel2, &kLabel3};
    for (int i = 0; i < 3; ++i) {
        const auto part = static_cast<PW::Part>(i);
        if (m_label[i]->text() != window.caption(part)) {
            m_label[i]->setText(window.caption(part));
            placeLabel(m_label[i], *places[i]);
        }
        m_label[i]->setVisible(window.isVisible(part));
    }
    for (int i = 0; i < 2; ++i) {
        const auto part = i == 0 ? PW::ProgressBar1 : PW::ProgressBar2;
        m_bar[i]->setRange(window.min(part), std::max(window.min(part), window.max(part)));
        m_bar[i]->setValue(window.value(part));
        m_bar[i]->setVisible(window.isVisible(part));
    }
}

void FrmProgressBar::repaintNow() {
    repaint();
}

// Shape2: a line around the whole window.
void FrmProgressBar::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace ztgl::gui
