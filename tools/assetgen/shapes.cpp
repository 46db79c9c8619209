#include "shapes.h"

#include <QPainter>

QImage Shapes::canvas(bool transparent)
{
    QImage image(TextureSize, TextureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(transparent ? Qt::transparent : Qt::black);
    return image;
}

void Shapes::bevel(QPainter &painter, const QRectF &rect, const QColor &base, qreal depth)
{
    painter.fillRect(rect, base);
    const QColor light = base.lighter(135);
    const QColor dark = base.darker(160);
    painter.fillRect(QRectF(rect.left(), rect.top(), rect.width(), depth), light);
    painter.fillRect(QRectF(rect.left(), rect.top(), depth, rect.height()), light);
    painter.fillRect(QRectF(rect.left(), rect.bottom() + 1 - depth, rect.width(), depth), dark);
    painter.fillRect(QRectF(rect.right() + 1 - depth, rect.top(), depth, rect.height()), dark);
}

void Shapes::rivet(QPainter &painter, const QPointF &centre, qreal radius, const QColor &base)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(base.darker(200));
    painter.drawEllipse(centre + QPointF(0.7, 0.7), radius, radius);
    painter.setBrush(base.lighter(140));
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(base);
    painter.drawEllipse(centre + QPointF(0.4, 0.4), radius * 0.6, radius * 0.6);
    painter.restore();
}

void Shapes::outlined(QPainter &painter, const QPainterPath &path, const QColor &fill,
                      qreal lineWidth, const QColor &line)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(line, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
    painter.restore();
}

void Shapes::fillWrapped(QPainter &painter, const QRect &rect, const QColor &colour)
{
    for (int shift : {-TextureSize, 0, TextureSize}) {
        const QRect moved = rect.translated(shift, 0);
        if (moved.right() >= 0 && moved.left() < TextureSize)
            painter.fillRect(moved, colour);
    }
}

void Shapes::groundShadow(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawEllipse(rect);
    painter.restore();
}
