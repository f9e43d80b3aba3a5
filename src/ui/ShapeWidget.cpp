#include "ui/ShapeWidget.h"

#include <QPainter>

namespace ztgl::gui {

ShapeWidget::ShapeWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setKind(Kind kind) {
    m_kind = kind;
    update();
}

void ShapeWidget::setFillColour(const QColor& colour) {
    m_fill = colour;
    update();
}

void ShapeWidget::setOpaque(bool opaque) {
    m_opaque = opaque;
    update();
}

void ShapeWidget::setBorderColour(const QColor& colour) {
    m_border = colour;
    update();
}

void ShapeWidget::setBorderWidth(int pixels) {
    m_borderWidth = qMax(0, pixels);
    update();
}

void ShapeWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = m_borderWidth;
    // The border lies inside the widget's rectangle, so the shape never spills over its neighbours.
    if (m_kind == Kind::RoundedRectangle) {
        p.setRenderHint(QPainter::Antialiasing);
        const qreal half = w / 2.0;
        const QRectF r = QRectF(rect()).adjusted(half, half, -half, -half);
        p.setPen(w > 0 ? QPen(m_border, w) : QPen(Qt::NoPen));
        p.setBrush(m_opaque ? QBrush(m_fill) : QBrush(Qt::NoBrush));
        const qreal radius = qMin<qreal>(8.0, qMin(r.width(), r.height()) / 4.0);
        p.drawRoundedRect(r, radius, radius);
        return;
    }
    // Whole pixels: the four border strips, then the inside.
    const QRect r = rect();
    p.fillRect(QRect(r.left(), r.top(), r.width(), w), m_border);
    p.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), m_border);
    p.fillRect(QRect(r.left(), r.top(), w, r.height()), m_border);
    p.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), m_border);
    if (m_opaque)
        p.fillRect(r.adjusted(w, w, -w, -w), m_fill);
}

}  // namespace ztgl::gui
