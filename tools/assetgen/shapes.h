#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Drawing steps that several kinds of image share.
class Shapes
{
public:
    static constexpr int TextureSize = 64;

    // A 64 x 64 image: opaque black, or fully transparent for cut-out sprites.
    static QImage canvas(bool transparent);

    // A raised block: light top and left edges, dark bottom and right edges.
    static void bevel(QPainter &painter, const QRectF &rect, const QColor &base, qreal depth);
    static void rivet(QPainter &painter, const QPointF &centre, qreal radius, const QColor &base);
    // Fill with a dark outline, so a shape stays readable when scaled down.
    static void outlined(QPainter &painter, const QPainterPath &path, const QColor &fill,
                         qreal lineWidth = 1.5, const QColor &line = QColor(20, 20, 20));
    // Fill a rectangle that may run over the left or right edge; the overflow
    // reappears on the other side, which keeps the texture seamless.
    static void fillWrapped(QPainter &painter, const QRect &rect, const QColor &colour);
    // A soft shadow under a free-standing object.
    static void groundShadow(QPainter &painter, const QRectF &rect);
};
