#include "doorart.h"

#include "grain.h"
#include "shapes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int S = Shapes::TextureSize;

void frame(QPainter &painter)
{
    Shapes::bevel(painter, QRect(0, 0, S, S), QColor(70, 72, 76), 2);
    painter.fillRect(4, 4, S - 8, S - 8, QColor(20, 20, 22));
}

// Yellow and black stripes along the bottom of a metal door.
void hazardStrip(QPainter &painter, int top, int height)
{
    painter.save();
    painter.setClipRect(5, top, S - 10, height);
    painter.fillRect(5, top, S - 10, height, QColor(235, 190, 30));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(25, 25, 25));
    for (int x = -height; x < S; x += 10) {
        QPolygonF stripe;
        stripe << QPointF(x, top + height) << QPointF(x + height, top) << QPointF(x + height + 5, top)
               << QPointF(x + 5, top + height);
        painter.drawPolygon(stripe);
    }
    painter.restore();
}

} // namespace

QImage DoorArt::wood()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    frame(painter);
    const QColor base(132, 84, 44);
    painter.fillRect(5, 5, S - 10, S - 10, base);
    // Two raised panels, iron bands and a ring handle.
    Shapes::bevel(painter, QRect(10, 9, 44, 20), base.darker(112), 2);
    Shapes::bevel(painter, QRect(10, 35, 44, 20), base.darker(112), 2);
    for (int band : {14, 46})
        painter.fillRect(5, band, S - 10, 3, QColor(55, 55, 60));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(200, 170, 60), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(47, 33), 3.5, 3.5);
    painter.end();
    Grain::roughen(image, 6, 151);
    return image;
}

QImage DoorArt::metal()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    frame(painter);
    const QColor steel(120, 126, 134);
    // Two sliding halves meeting in the middle, with horizontal ribs.
    Shapes::bevel(painter, QRect(5, 5, 27, S - 10), steel, 2);
    Shapes::bevel(painter, QRect(32, 5, 27, S - 10), steel, 2);
    painter.fillRect(31, 5, 2, S - 10, QColor(30, 30, 34));
    for (int rib = 12; rib < 46; rib += 8) {
        painter.fillRect(9, rib, 19, 2, steel.darker(140));
        painter.fillRect(36, rib, 19, 2, steel.darker(140));
        painter.fillRect(9, rib + 2, 19, 1, steel.lighter(125));
        painter.fillRect(36, rib + 2, 19, 1, steel.lighter(125));
    }
    hazardStrip(painter, 50, 9);
    painter.end();
    Grain::roughen(image, 5, 161);
    return image;
}

QImage DoorArt::keyDoor(const QColor &key)
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    frame(painter);
    const QColor steel(104, 108, 116);
    Shapes::bevel(painter, QRect(5, 5, S - 10, S - 10), steel, 2);
    // Broad bands of the key colour top and bottom: the colour reads even at 16 px.
    for (int top : {8, 44}) {
        painter.fillRect(7, top, S - 14, 12, key);
        painter.fillRect(7, top, S - 14, 2, key.lighter(140));
        painter.fillRect(7, top + 10, S - 14, 2, key.darker(160));
    }
    // The lock plate with a keyhole, framed in the key colour.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(key, 2.0));
    painter.setBrush(QColor(40, 40, 44));
    painter.drawRoundedRect(QRectF(23, 23, 18, 18), 3, 3);
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(32, 29.5), 3, 3);
    QPolygonF slot;
    slot << QPointF(30.5, 31) << QPointF(33.5, 31) << QPointF(35, 37.5) << QPointF(29, 37.5);
    keyhole.addPolygon(slot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(key.lighter(120));
    painter.drawPath(keyhole.simplified());
    painter.end();
    Grain::roughen(image, 4, 171 + quint32(key.rgb() & 0xff));
    return image;
}
