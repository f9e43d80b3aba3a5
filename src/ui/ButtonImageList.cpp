#include "ui/ButtonImageList.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

#include "style/ButtonPictures.h"

namespace ztgl::gui {
namespace {

// The colours one picture is drawn with; the disabled form draws the same lines in greys.
struct Ink {
    QColor main;    // the picture's own colour
    QColor accent;  // the sign on it (plus, check, cross)
    QColor paper;   // sheets and inner faces
    QColor line;    // outlines
    QColor warm;    // wood, gold, cardboard
    QColor alert;   // stop, delete, void
};

const Ink kNormalInk{QColor(38, 104, 178), QColor(44, 150, 62),  QColor(255, 255, 250),
                     QColor(70, 70, 70),   QColor(232, 176, 48), QColor(200, 40, 36)};
const Ink kDisabledInk{QColor(150, 150, 150), QColor(170, 170, 170), QColor(236, 236, 236),
                       QColor(160, 160, 160), QColor(200, 200, 200), QColor(140, 140, 140)};

QPen pen(const QColor& c, qreal width = 1.2) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void sheet(QPainter& p, const Ink& ink, const QRectF& r = QRectF(3.5, 1.5, 9, 13)) {
    p.setPen(pen(ink.line, 1.0));
    p.setBrush(ink.paper);
    p.drawRect(r);
}

void textLines(QPainter& p, const Ink& ink, qreal left, qreal right, std::initializer_list<qreal> ys) {
    p.setPen(pen(ink.main, 1.0));
    for (qreal y : ys)
        p.drawLine(QPointF(left, y), QPointF(right, y));
}

void arrow(QPainter& p, const Ink& ink, bool toRight) {
    QPolygonF shape{{2, 6}, {8, 6}, {8, 2.5}, {14, 8}, {8, 13.5}, {8, 10}, {2, 10}};
    if (!toRight) {
        for (QPointF& pt : shape)
            pt.setX(16 - pt.x());
    }
    p.setPen(pen(ink.line, 1.0));
    p.setBrush(ink.main);
    p.drawPolygon(shape);
}

void plus(QPainter& p, const QColor& c, QPointF centre, qreal arm) {
    p.setPen(pen(c, 2.2));
    p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

void cross(QPainter& p, const QColor& c, QRectF r, qreal width) {
    p.setPen(pen(c, width));
    p.drawLine(r.topLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomLeft());
}

void check(QPainter& p, const QColor& c, qreal width) {
    p.setPen(pen(c, width));
    p.drawPolyline(QPolygonF{{2.5, 8.5}, {6.5, 12.5}, {13.5, 3.5}});
}

void draw(QPainter& p, int number, const Ink& ink) {
    switch (number) {
        case 1:
            arrow(p, ink, false);
            break;
        case 2:
            arrow(p, ink, true);
            break;
        case 3:  // new: a sheet with a plus
            sheet(p, ink, QRectF(2.5, 1.5, 9, 12));
            textLines(p, ink, 4.5, 9.5, {4.5, 7});
            plus(p, ink.accent, QPointF(11.5, 11.5), 3.2);
            break;
        case 4:  // save: a disk
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.main);
            p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
            p.setBrush(ink.paper);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
            p.fillRect(QRectF(9, 2.5, 2, 3), ink.main);
            break;
        case 5:  // abandon: a ring with a bar
            p.setPen(pen(ink.alert, 2.0));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
            p.drawLine(QPointF(4.5, 11.5), QPointF(11.5, 4.5));
            break;
        case 6: {  // modify: a pencil on a sheet
            sheet(p, ink, QRectF(1.5, 3.5, 9, 11));
            textLines(p, ink, 3.5, 8.5, {6.5, 9, 11.5});
            QPolygonF pencil{{14.5, 3}, {13, 1.5}, {6, 8.5}, {5.2, 11}, {7.5, 10}};
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.warm);
            p.drawPolygon(pencil);
            break;
        }
        case 7:
            cross(p, ink.alert, QRectF(3, 3, 10, 10), 2.6);
            break;
        case 8:  // query: a magnifier
            p.setPen(pen(ink.line, 1.4));
            p.setBrush(ink.paper);
            p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
            p.setPen(pen(ink.main, 3.0));
            p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
            break;
        case 9:  // print: a printer with a sheet
            sheet(p, ink, QRectF(4.5, 1.5, 7, 5));
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.main);
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
            sheet(p, ink, QRectF(4.5, 10.5, 7, 4));
            p.fillRect(QRectF(12, 8, 1.5, 1.5), ink.accent);
            break;
        case 10:  // close: a door and an arrow leaving
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.paper);
            p.drawRect(QRectF(2.5, 1.5, 7, 13));
            p.setBrush(ink.main);
            p.drawPolygon(QPolygonF{{2.5, 1.5}, {7.5, 3.5}, {7.5, 15}, {2.5, 14.5}});
            p.setPen(pen(ink.accent, 1.8));
            p.drawLine(QPointF(9.5, 8), QPointF(14.5, 8));
            p.drawPolyline(QPolygonF{{12.5, 5.5}, {14.5, 8}, {12.5, 10.5}});
            break;
        case 11:  // finish: a closed padlock
            p.setPen(pen(ink.line, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4.5, 1.5, 7, 9), 0, 180 * 16);
            p.drawLine(QPointF(4.5, 6), QPointF(4.5, 7.5));
            p.drawLine(QPointF(11.5, 6), QPointF(11.5, 7.5));
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.main);
            p.drawRoundedRect(QRectF(2.5, 7.5, 11, 7), 1, 1);
            p.fillRect(QRectF(7.3, 9.5, 1.6, 3), ink.paper);
            break;
        case 12:
            check(p, ink.accent, 2.6);
            break;
        case 13: {  // collect: a coin with the yuan sign
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.warm);
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
            p.setPen(pen(ink.line, 1.3));
            p.drawPolyline(QPolygonF{{5, 4}, {8, 8}, {11, 4}});
            p.drawLine(QPointF(8, 8), QPointF(8, 12.5));
            p.drawLine(QPointF(5.5, 8.5), QPointF(10.5, 8.5));
            p.drawLine(QPointF(5.5, 10.5), QPointF(10.5, 10.5));
            break;
        }
        case 14:  // lend: a box and an arrow going out
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.warm);
            p.drawRect(QRectF(1.5, 7.5, 8, 7));
            p.setPen(pen(ink.main, 2.0));
            p.drawLine(QPointF(6.5, 9.5), QPointF(13.5, 2.5));
            p.drawPolyline(QPolygonF{{9, 2.5}, {13.5, 2.5}, {13.5, 7}});
            break;
        case 15:  // void: a sheet struck through
            sheet(p, ink);
            textLines(p, ink, 5.5, 10.5, {4.5, 7, 9.5, 12});
            cross(p, ink.alert, QRectF(2.5, 3.5, 11, 9), 1.8);
            break;
        case 16: {  // advanced: a gear
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.main);
            QPainterPath gear;
            const QPointF c(8, 8);
            for (int i = 0; i < 8; ++i) {
                QTransform t;
                t.translate(c.x(), c.y());
                t.rotate(i * 45);
                gear.addPolygon(t.map(QPolygonF(QRectF(-1.5, -7, 3, 3))));
            }
            gear.addEllipse(c, 5, 5);
            gear.setFillRule(Qt::WindingFill);
            p.drawPath(gear.simplified());
            p.setBrush(ink.paper);
            p.drawEllipse(c, 2, 2);
            break;
        }
        case 17:  // statistics: bars
            p.setPen(pen(ink.line, 1.0));
            p.drawLine(QPointF(1.5, 14.5), QPointF(14.5, 14.5));
            p.setBrush(ink.main);
            p.drawRect(QRectF(2.5, 8.5, 3, 6));
            p.setBrush(ink.accent);
            p.drawRect(QRectF(6.5, 3.5, 3, 11));
            p.setBrush(ink.main);
            p.drawRect(QRectF(10.5, 6.5, 3, 8));
            break;
        case 18:  // draft: a sheet with a folded corner and dashed lines
            p.setPen(pen(ink.line, 1.0));
            p.setBrush(ink.paper);
            p.drawPolygon(QPolygonF{{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}});
            p.drawPolyline(QPolygonF{{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}});
            p.setPen(QPen(ink.main, 1.0, Qt::DashLine));
            for (qreal y : {7.5, 10.0, 12.5})
                p.drawLine(QPointF(5, y), QPointF(11, y));
            break;
        default:
            break;
    }
}

QPixmap paint(int number, bool disabled) {
    QPixmap pm(ButtonImageList::kSize, ButtonImageList::kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, number, disabled ? kDisabledInk : kNormalInk);
    return pm;
}

}  // namespace

QPixmap ButtonImageList::picture(int number, bool disabled) {
    if (number < 1 || number > style::ButtonPictures::kCount)
        return {};
    static QHash<int, QPixmap> cache;
    const int key = number * 2 + (disabled ? 1 : 0);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, paint(number, disabled));
    return *it;
}

QIcon ButtonImageList::icon(int number) {
    QIcon icon;
    icon.addPixmap(picture(number, false), QIcon::Normal);
    icon.addPixmap(picture(number, true), QIcon::Disabled);
    return icon;
}

}  // namespace ztgl::gui
