#include "figureart.h"

#include "shapes.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor Skin(224, 176, 136);
const QColor Boots(45, 35, 30);

QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal r)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

} // namespace

QImage FigureArt::figure(const Outfit &outfit)
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(16, 57, 32, 6));

    // Legs and boots.
    Shapes::outlined(painter, roundedRect(22, 38, 9, 18, 2), outfit.uniform.darker(125));
    Shapes::outlined(painter, roundedRect(33, 38, 9, 18, 2), outfit.uniform.darker(125));
    Shapes::outlined(painter, roundedRect(20, 53, 11, 6, 2), Boots);
    Shapes::outlined(painter, roundedRect(33, 53, 11, 6, 2), Boots);

    // Torso with belt and shoulders.
    QPainterPath torso;
    const int b = outfit.bulk;
    torso.moveTo(19 - b, 21);
    torso.quadTo(32, 17, 45 + b, 21);
    torso.lineTo(44, 41);
    torso.lineTo(20, 41);
    torso.closeSubpath();
    Shapes::outlined(painter, torso, outfit.uniform);
    painter.fillRect(QRectF(20.5, 36, 23, 3), outfit.trim);
    if (outfit.bandolier) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(60, 40, 20), 4.0));
        painter.drawLine(QPointF(21, 21), QPointF(42, 37));
        painter.setPen(QPen(QColor(230, 190, 70), 2.0, Qt::DotLine));
        painter.drawLine(QPointF(21, 21), QPointF(42, 37));
        painter.restore();
    }

    // Head and helmet.
    Shapes::outlined(painter, roundedRect(26, 9, 12, 12, 4), Skin);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawRect(QRectF(28.5, 14, 2, 2));
    painter.drawRect(QRectF(33.5, 14, 2, 2));
    QPainterPath helmet;
    helmet.moveTo(24, 13);
    helmet.cubicTo(24, 3, 40, 3, 40, 13);
    helmet.closeSubpath();
    Shapes::outlined(painter, helmet, outfit.helmet);

    // Arms reaching to the gun across the chest.
    Shapes::outlined(painter, roundedRect(14 - b, 22, 7 + b, 15, 3), outfit.uniform.darker(110));
    Shapes::outlined(painter, roundedRect(43, 22, 7 + b, 15, 3), outfit.uniform.darker(110));
    const qreal gunLeft = 32 - outfit.gunLength / 2.0;
    Shapes::outlined(painter, roundedRect(gunLeft, 29, outfit.gunLength, outfit.gunHeight, 1),
                     QColor(55, 55, 60), 1.2);
    painter.fillRect(QRectF(gunLeft + 2, 29.8, outfit.gunLength - 4, 1), QColor(120, 120, 130));
    Shapes::outlined(painter, roundedRect(14 - b, 33, 7, 5, 2), Skin, 1.0);
    Shapes::outlined(painter, roundedRect(43 + b, 33, 7, 5, 2), Skin, 1.0);
    return image;
}

QImage FigureArt::soldier()
{
    return figure({QColor(92, 110, 60), QColor(70, 85, 45), QColor(60, 45, 30), 30, 4, 0, false});
}

QImage FigureArt::shotgunner()
{
    return figure({QColor(205, 172, 118), QColor(190, 35, 30), QColor(40, 30, 25), 40, 5, 2, true});
}

QImage FigureArt::machinegunner()
{
    return figure({QColor(48, 58, 92), QColor(30, 32, 40), QColor(200, 170, 60), 54, 8, 4, false});
}

QImage FigureArt::player()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A start marker: a ring with an arrow pointing the way the player faces.
    painter.setPen(QPen(QColor(20, 60, 20), 3.0));
    painter.setBrush(QColor(60, 200, 80, 110));
    painter.drawEllipse(QPointF(32, 32), 27, 27);
    painter.setPen(QPen(QColor(120, 255, 140), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(32, 32), 27, 27);
    QPainterPath arrow;
    arrow.moveTo(32, 9);
    arrow.lineTo(49, 30);
    arrow.lineTo(38, 30);
    arrow.lineTo(38, 52);
    arrow.lineTo(26, 52);
    arrow.lineTo(26, 30);
    arrow.lineTo(15, 30);
    arrow.closeSubpath();
    Shapes::outlined(painter, arrow, QColor(240, 255, 240), 2.0, QColor(20, 60, 20));
    return image;
}
