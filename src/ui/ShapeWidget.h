#pragma once

#include <QColor>
#include <QWidget>

namespace ztgl::gui {

// A drawn shape behind other controls: the title plate and strip, the frames of flat input boxes,
// the white background shapes of the dialogs. It takes no mouse input.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, RoundedRectangle };

    explicit ShapeWidget(QWidget* parent = nullptr);

    Kind kind() const { return m_kind; }
    void setKind(Kind kind);
    QColor fillColour() const { return m_fill; }
    void setFillColour(const QColor& colour);
    // Without an opaque fill only the border is drawn.
    bool isOpaque() const { return m_opaque; }
    void setOpaque(bool opaque);
    QColor borderColour() const { return m_border; }
    void setBorderColour(const QColor& colour);
    int borderWidth() const { return m_borderWidth; }  // pixels
    void setBorderWidth(int pixels);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind m_kind = Kind::Rectangle;
    QColor m_fill = Qt::white;
    bool m_opaque = false;
    QColor m_border = Qt::black;
    int m_borderWidth = 1;
};

}  // namespace ztgl::gui
