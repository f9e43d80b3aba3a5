#include "ui/BandPicture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace ztgl::gui {
namespace {

QPixmap paintBand() {
    QPixmap pm(BandPicture::kWidth, BandPicture::kHeight);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Light at the left, where the bold title sits, deepening towards the right in the olive
    // tones of the window frames.
    QLinearGradient across(0, 0, BandPicture::kWidth, 0);
    across.setColorAt(0.0, QColor(250, 251, 240));
    across.setColorAt(0.45, QColor(232, 238, 208));
    across.setColorAt(1.0, QColor(196, 204, 150));
    p.fillRect(pm.rect(), across);

    // Soft waves for some depth.
    for (int i = 0; i < 3; ++i) {
        QPainterPath wave;
        const qreal base = 30 + i * 8;
        wave.moveTo(0, BandPicture::kHeight);
        wave.lineTo(0, base);
        for (int x = 0; x <= BandPicture::kWidth; x += 250) {
            wave.quadTo(x + 125, base + ((x / 250 + i) % 2 ? -10 : 10), x + 250, base);
        }
        wave.lineTo(BandPicture::kWidth, BandPicture::kHeight);
        wave.closeSubpath();
        p.fillPath(wave, QColor(150, 150, 78, 22 + i * 8));
    }
    // A fine light edge along the top.
    p.fillRect(QRect(0, 0, BandPicture::kWidth, 1), QColor(255, 255, 255, 200));
    return pm;
}

}  // namespace

QPixmap BandPicture::picture() {
    static const QPixmap band = paintBand();
    return band;
}

}  // namespace ztgl::gui
