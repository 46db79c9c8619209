#include "itemart.h"

#include "shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QImage ItemArt::health()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(8, 52, 48, 9));
    // A white case with a big red cross and a handle.
    QPainterPath handle;
    handle.addRoundedRect(QRectF(24, 12, 16, 8), 3, 3);
    Shapes::outlined(painter, handle, QColor(90, 90, 95));
    QPainterPath box;
    box.addRoundedRect(QRectF(8, 18, 48, 38), 4, 4);
    Shapes::outlined(painter, box, QColor(240, 240, 236), 2.0);
    painter.fillRect(QRectF(27, 23, 10, 28), QColor(215, 30, 30));
    painter.fillRect(QRectF(18, 32, 28, 10), QColor(215, 30, 30));
    return image;
}

QImage ItemArt::armor()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(12, 55, 40, 7));
    // A sleeveless vest: shoulders, a neck cut-out and plates down the front.
    QPainterPath vest;
    vest.moveTo(16, 10);
    vest.lineTo(26, 8);
    vest.quadTo(32, 18, 38, 8);
    vest.lineTo(48, 10);
    vest.lineTo(50, 24);
    vest.lineTo(46, 28);
    vest.lineTo(47, 56);
    vest.lineTo(17, 56);
    vest.lineTo(18, 28);
    vest.lineTo(14, 24);
    vest.closeSubpath();
    QLinearGradient shade(14, 0, 50, 0);
    shade.setColorAt(0, QColor(40, 110, 160));
    shade.setColorAt(0.35, QColor(90, 170, 220));
    shade.setColorAt(1, QColor(25, 70, 110));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(15, 25, 40), 2.0));
    painter.setBrush(shade);
    painter.drawPath(vest);
    painter.setPen(QPen(QColor(15, 40, 70), 1.5));
    painter.drawLine(QPointF(32, 20), QPointF(32, 55));
    for (qreal y : {32.0, 41.0, 50.0})
        painter.drawLine(QPointF(19, y), QPointF(45, y));
    return image;
}

QImage ItemArt::ammo()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(6, 54, 52, 8));
    painter.setRenderHint(QPainter::Antialiasing);
    // Five brass cartridges standing in an olive box.
    for (int round = 0; round < 5; ++round) {
        const qreal x = 13 + round * 8;
        QPainterPath bullet;
        bullet.moveTo(x, 30);
        bullet.lineTo(x, 20);
        bullet.quadTo(x + 3, 8, x + 6, 20);
        bullet.lineTo(x + 6, 30);
        bullet.closeSubpath();
        QLinearGradient brass(x, 0, x + 6, 0);
        brass.setColorAt(0, QColor(170, 120, 30));
        brass.setColorAt(0.4, QColor(250, 215, 110));
        brass.setColorAt(1, QColor(140, 95, 20));
        painter.setPen(QPen(QColor(60, 40, 10), 1.0));
        painter.setBrush(brass);
        painter.drawPath(bullet);
        painter.setBrush(QColor(180, 110, 70));
        painter.drawRect(QRectF(x, 19, 6, 2));
    }
    QPainterPath box;
    box.addRoundedRect(QRectF(8, 28, 48, 28), 2, 2);
    Shapes::outlined(painter, box, QColor(90, 100, 50), 2.0);
    painter.fillRect(QRectF(14, 36, 36, 10), QColor(220, 200, 120));
    painter.fillRect(QRectF(17, 39, 30, 4), QColor(90, 100, 50));
    return image;
}

QImage ItemArt::shotgun()
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(6, 46, 52, 8));
    painter.save();
    painter.translate(32, 32);
    painter.rotate(-20);
    // Wooden stock and grip, steel barrel and pump.
    QPainterPath stock;
    stock.moveTo(-28, -2);
    stock.lineTo(-8, -5);
    stock.lineTo(-4, -5);
    stock.lineTo(-4, 3);
    stock.lineTo(-10, 3);
    stock.lineTo(-14, 10);
    stock.lineTo(-28, 8);
    stock.closeSubpath();
    Shapes::outlined(painter, stock, QColor(130, 80, 40));
    QPainterPath barrel;
    barrel.addRect(QRectF(-6, -6, 36, 4));
    Shapes::outlined(painter, barrel, QColor(80, 85, 95));
    QPainterPath pump;
    pump.addRoundedRect(QRectF(6, -2.5, 16, 5), 1.5, 1.5);
    Shapes::outlined(painter, pump, QColor(110, 70, 35));
    painter.restore();
    return image;
}

QImage ItemArt::key(const QColor &colour)
{
    QImage image = Shapes::canvas(true);
    QPainter painter(&image);
    Shapes::groundShadow(painter, QRectF(8, 50, 48, 8));
    painter.translate(32, 32);
    painter.rotate(-30);
    // A large bow, a shaft and two bits.
    QPainterPath key;
    key.addEllipse(QPointF(-15, 0), 12, 12);
    key.addRect(QRectF(-4, -3.5, 30, 7));
    key.addRect(QRectF(14, 3, 4, 8));
    key.addRect(QRectF(21, 3, 4, 6));
    QPainterPath hole;
    hole.addEllipse(QPointF(-15, 0), 5, 5);
    Shapes::outlined(painter, key.simplified().subtracted(hole), colour, 2.0, colour.darker(300));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.lighter(150), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(-24, -9, 18, 18), 100 * 16, 80 * 16);
    return image;
}
