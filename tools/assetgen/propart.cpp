#include "propart.h"

#include "shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// Light from the left: a cylinder's colour across its width.
QLinearGradient cylinder(qreal left, qreal right, const QColor &base)
{
    QLinearGradient shade(left, 0, right, 0);
    shade.setColorAt(0.0, base.darker(130));
    shade.setColorAt(0.3, base.lighter(135));
    shade.setColorAt(1.0, base.darker(190));
    return shade;
}

} // namespace

QImage PropArt::barrel()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(12, 56, 40, 7));
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor body(60, 130, 50);
    QPainterPath drum;
    drum.addRoundedRect(QRectF(15, 8, 34, 51), 4, 4);
    painter.setPen(QPen(QColor(20, 30, 20), 1.5));
    painter.setBrush(cylinder(15, 49, body));
    painter.drawPath(drum);
    // Hoops, a top rim and a hazard mark.
    for (qreal hoop : {18.0, 46.0}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(cylinder(15, 49, QColor(90, 95, 90)));
        painter.drawRect(QRectF(15.8, hoop, 32.4, 3.5));
    }
    painter.setPen(QPen(QColor(20, 30, 20), 1.2));
    painter.setBrush(QColor(40, 70, 35));
    painter.drawEllipse(QRectF(16, 7, 32, 6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 200, 40));
    QPolygonF sign;
    sign << QPointF(32, 25) << QPointF(40, 40) << QPointF(24, 40);
    painter.drawPolygon(sign);
    painter.setBrush(QColor(25, 25, 25));
    painter.drawRect(QRectF(31, 29, 2, 6));
    painter.drawRect(QRectF(31, 36.5, 2, 2));
    return image;
}

QImage PropArt::plant()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(16, 57, 32, 6));
    // Leaves fanning out of a clay pot.
    const QColor leaf(50, 150, 50);
    const qreal angles[] = {-70, -40, -15, 10, 35, 65, -55, 50};
    for (int i = 0; i < 8; ++i) {
        painter.save();
        painter.translate(32, 40);
        painter.rotate(angles[i]);
        QPainterPath blade;
        const qreal length = i < 6 ? 30 : 22;
        blade.moveTo(0, 0);
        blade.quadTo(6, -length * 0.5, 0, -length);
        blade.quadTo(-6, -length * 0.5, 0, 0);
        Shapes::outlined(painter, blade, i % 2 ? leaf : leaf.lighter(125), 1.2, QColor(20, 60, 20));
        painter.restore();
    }
    QPainterPath pot;
    pot.moveTo(20, 40);
    pot.lineTo(44, 40);
    pot.lineTo(40, 59);
    pot.lineTo(24, 59);
    pot.closeSubpath();
    Shapes::outlined(painter, pot, QColor(190, 95, 50));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(20, 20, 20), 1.2));
    painter.setBrush(QColor(210, 115, 65));
    painter.drawRect(QRectF(18.5, 38, 27, 5));
    return image;
}

QImage PropArt::lamppost()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(20, 57, 24, 6));
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(32, 12), 16);
    glow.setColorAt(0, QColor(255, 240, 160, 200));
    glow.setColorAt(1, QColor(255, 220, 120, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(32, 12), 16, 16);
    // Base, pole and lantern.
    QPainterPath base;
    base.moveTo(24, 60);
    base.lineTo(40, 60);
    base.lineTo(36, 52);
    base.lineTo(28, 52);
    base.closeSubpath();
    Shapes::outlined(painter, base, QColor(50, 55, 60));
    QPainterPath pole;
    pole.addRect(QRectF(30, 20, 4, 32));
    painter.setPen(QPen(QColor(15, 15, 15), 1.2));
    painter.setBrush(cylinder(30, 34, QColor(70, 75, 80)));
    painter.drawPath(pole);
    Shapes::outlined(painter, [] {
        QPainterPath lantern;
        lantern.addRoundedRect(QRectF(25, 6, 14, 15), 3, 3);
        return lantern;
    }(), QColor(255, 235, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 45));
    painter.drawRect(QRectF(24, 4, 16, 3));
    painter.drawRect(QRectF(31, 6, 2, 15));
    return image;
}

QImage PropArt::pillar()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(12, 57, 40, 6));
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor marble(200, 196, 185);
    painter.setPen(QPen(QColor(40, 40, 40), 1.2));
    // Capital and base slabs with a fluted shaft between.
    painter.setBrush(cylinder(14, 50, marble));
    painter.drawRect(QRectF(14, 3, 36, 7));
    painter.drawRect(QRectF(14, 52, 36, 7));
    painter.setBrush(cylinder(20, 44, marble));
    painter.drawRect(QRectF(20, 10, 24, 42));
    painter.setPen(QPen(marble.darker(150), 1.2));
    for (qreal flute = 25; flute < 42; flute += 5)
        painter.drawLine(QPointF(flute, 12), QPointF(flute, 50));
    return image;
}
