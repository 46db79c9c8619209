#include "interfaceart.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

QImage cursorCanvas(int scale)
{
    const int side = InterfaceArt::CursorSize * scale;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A light halo under the dark outline keeps a cursor visible on the dark grid
// and on bright textures alike.
void haloed(QPainter &painter, const QPainterPath &path, const QColor &fill)
{
    painter.setPen(QPen(QColor(255, 255, 255, 220), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

// The hot spot's pixel, a scale x scale block on a denser image.
void markHotSpot(QImage &image, const QColor &colour, int scale)
{
    const int centre = InterfaceArt::CursorSize / 2 * scale;
    for (int y = 0; y < scale; ++y)
        for (int x = 0; x < scale; ++x)
            image.setPixelColor(centre + x, centre + y, colour);
}

} // namespace

QColor InterfaceArt::gridCellColour()
{
    return QColor(24, 26, 30);
}

QColor InterfaceArt::gridLineColour()
{
    return QColor(78, 84, 96);
}

QImage InterfaceArt::gridTile(int size, int scale)
{
    const int side = size * scale;
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(gridCellColour());
    QPainter painter(&image);
    painter.fillRect(0, 0, side, scale, gridLineColour());
    painter.fillRect(0, 0, scale, side, gridLineColour());
    return image;
}

QImage InterfaceArt::pencilCursor(int scale)
{
    QImage image = cursorCanvas(scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    // Along +x from the tip, which sits on the centre pixel; the body points up and right.
    const qreal centre = CursorSize / 2 + 0.5;
    painter.translate(centre, centre);
    painter.rotate(-45);

    QPainterPath cone;
    cone.moveTo(0, 0);
    cone.lineTo(6, -3.2);
    cone.lineTo(6, 3.2);
    cone.closeSubpath();
    haloed(painter, cone, QColor(230, 190, 140));

    QPainterPath body;
    body.addRect(6, -3.2, 8, 6.4);
    haloed(painter, body, QColor(250, 200, 40));
    painter.fillRect(QRectF(6.5, -0.6, 7, 1.2), QColor(200, 150, 20));

    QPainterPath ferrule;
    ferrule.addRect(14, -3.2, 2, 6.4);
    haloed(painter, ferrule, QColor(170, 170, 180));

    QPainterPath eraser;
    eraser.addRoundedRect(16, -3.2, 3, 6.4, 1.2, 1.2);
    haloed(painter, eraser, QColor(240, 120, 140));

    // Graphite point.
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(2.4, -1.3);
    lead.lineTo(2.4, 1.3);
    lead.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawPath(lead);
    painter.end();

    markHotSpot(image, QColor(20, 20, 20), scale);
    return image;
}

QImage InterfaceArt::bucketCursor(int scale)
{
    QImage image = cursorCanvas(scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    const qreal centre = CursorSize / 2 + 0.5;
    const QColor paint(40, 130, 230);

    // The bucket, up and to the right, tipped over so its mouth faces the drop.
    painter.save();
    painter.translate(24, 9);
    painter.rotate(-115);
    painter.scale(0.8, 0.8);
    QPainterPath bucket;
    bucket.moveTo(-7, -6);
    bucket.lineTo(7, -6);
    bucket.lineTo(5.5, 7);
    bucket.lineTo(-5.5, 7);
    bucket.closeSubpath();
    haloed(painter, bucket, QColor(200, 205, 215));
    painter.setPen(QPen(QColor(90, 95, 110), 1.2));
    painter.drawLine(QPointF(-6.3, 0), QPointF(6.3, 0));
    // Paint brimming over the mouth.
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(paint);
    painter.drawEllipse(QPointF(0, -6), 6.5, 2.2);
    painter.restore();

    // The stream and the drop, whose body covers the hot spot.
    painter.setPen(QPen(paint, 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(17, 10), QPointF(centre, centre - 4));
    QPainterPath drop;
    drop.moveTo(centre, centre - 5);
    drop.cubicTo(centre + 1.5, centre - 2.5, centre + 3.2, centre - 1, centre + 3.2, centre + 1);
    drop.arcTo(QRectF(centre - 3.2, centre - 2.2, 6.4, 6.4), 0, -180);
    drop.cubicTo(centre - 3.2, centre - 1, centre - 1.5, centre - 2.5, centre, centre - 5);
    haloed(painter, drop, paint);
    painter.end();

    markHotSpot(image, paint, scale);
    return image;
}

QImage InterfaceArt::lamp()
{
    QImage image(LampSize, LampSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const QPointF bulbCentre(32, 25);
    QRadialGradient glow(bulbCentre, 31);
    glow.setColorAt(0.0, QColor(255, 250, 200, 170));
    glow.setColorAt(0.6, QColor(255, 230, 140, 70));
    glow.setColorAt(1.0, QColor(255, 220, 120, 0));
    painter.setBrush(glow);
    painter.drawEllipse(bulbCentre, 31, 31);

    // Glass: a round bulb narrowing into the neck.
    QPainterPath glass;
    glass.moveTo(25, 40);
    glass.cubicTo(25, 35, 18, 33, 18, 25);
    glass.arcTo(QRectF(18, 11, 28, 28), 180, -180);
    glass.cubicTo(46, 33, 39, 35, 39, 40);
    glass.closeSubpath();
    QRadialGradient shine(QPointF(28, 20), 20);
    shine.setColorAt(0.0, QColor(255, 255, 255));
    shine.setColorAt(0.5, QColor(255, 248, 190));
    shine.setColorAt(1.0, QColor(250, 215, 110));
    painter.setPen(QPen(QColor(120, 90, 30), 1.5));
    painter.setBrush(shine);
    painter.drawPath(glass);

    // Filament.
    QPainterPath filament;
    filament.moveTo(28, 38);
    filament.lineTo(29, 26);
    for (int i = 0; i < 4; ++i)
        filament.lineTo(30 + i * 1.5 + 0.75, i % 2 ? 26 : 23);
    filament.lineTo(35, 26);
    filament.lineTo(36, 38);
    painter.setPen(QPen(QColor(200, 110, 20), 1.3));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(filament);

    // Screw base: grey bands with dark grooves, then the contact.
    painter.setPen(QPen(QColor(40, 40, 45), 1.2));
    for (int band = 0; band < 3; ++band) {
        painter.setBrush(band % 2 ? QColor(150, 150, 160) : QColor(195, 195, 205));
        painter.drawRoundedRect(QRectF(24.5, 40 + band * 4.5, 15, 4.5), 1.5, 1.5);
    }
    painter.setBrush(QColor(60, 60, 65));
    painter.drawRoundedRect(QRectF(28, 53.5, 8, 4), 1.5, 1.5);
    return image;
}
