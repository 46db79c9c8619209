#include "floorart.h"

#include "grain.h"
#include "shapes.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int S = Shapes::TextureSize;

} // namespace

QImage FloorArt::tiles()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(70, 70, 70)); // grout
    // Checkerboard of 16 px tiles: four per row, so even at 16 px each tile is a pixel block.
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const QColor base = (x + y) % 2 ? QColor(30, 30, 34) : QColor(225, 220, 205);
            Shapes::bevel(painter, QRect(x * 16, y * 16, 15, 15), base, 1);
        }
    }
    painter.end();
    Grain::roughen(image, 4, 61);
    return image;
}

QImage FloorArt::planks()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    Grain grain(71);
    // Eight boards across, with their butt joints staggered.
    for (int row = 0; row < 8; ++row) {
        const int top = row * 8;
        const int joint = (row * 23 + 7) % S;
        const QColor base = grain.vary(QColor(176, 124, 72), 12);
        painter.fillRect(0, top, S, 7, base);
        painter.fillRect(0, top, S, 1, base.lighter(115));
        painter.fillRect(0, top + 7, S, 1, QColor(60, 36, 18));
        painter.fillRect(joint, top, 1, 7, QColor(60, 36, 18));
        for (int streak = 0; streak < 3; ++streak) {
            const int x = grain.below(S);
            Shapes::fillWrapped(painter, QRect(x, top + 2 + grain.below(4), grain.between(8, 20), 1),
                                base.darker(118));
        }
    }
    painter.end();
    Grain::roughen(image, 5, 72);
    return image;
}

QImage FloorArt::carpet()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(128, 18, 30));
    painter.setRenderHint(QPainter::Antialiasing);
    // A gold diamond lattice with a medallion in every diamond.
    const QColor gold(214, 170, 60);
    painter.setPen(QPen(gold, 2.0));
    for (int offset = -S; offset <= S; offset += 32) {
        painter.drawLine(QPointF(offset, 0), QPointF(offset + S, S));
        painter.drawLine(QPointF(offset + S, 0), QPointF(offset, S));
    }
    painter.setPen(Qt::NoPen);
    for (const QPointF centre : {QPointF(16, 0), QPointF(16, 32), QPointF(16, 64), QPointF(48, 0),
                                 QPointF(48, 32), QPointF(48, 64), QPointF(0, 16), QPointF(32, 16),
                                 QPointF(64, 16), QPointF(0, 48), QPointF(32, 48), QPointF(64, 48)}) {
        painter.setBrush(QColor(40, 30, 90));
        painter.drawEllipse(centre, 5, 5);
        painter.setBrush(gold);
        painter.drawEllipse(centre, 2, 2);
    }
    painter.end();
    Grain::roughen(image, 10, 81);
    return image;
}

QImage FloorArt::slabs()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(90, 80, 62));
    Grain grain(91);
    // Large sandstone flags in a running bond, each with a crack or two.
    for (int row = 0; row < 2; ++row) {
        const int shift = row ? 16 : 0;
        for (int column = 0; column < 2; ++column) {
            const QColor base = grain.vary(QColor(186, 170, 130), 12);
            for (int wrap : {-S, 0}) {
                const QRect slab(shift + column * 32 + wrap, row * 32, 31, 31);
                Shapes::bevel(painter, slab, base, 1);
            }
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(110, 95, 70), 1.0));
    for (int crack = 0; crack < 3; ++crack) {
        QPainterPath path;
        QPointF point(grain.between(6, 58), grain.between(6, 58));
        path.moveTo(point);
        for (int step = 0; step < 4; ++step) {
            point += QPointF(grain.between(-4, 4), grain.between(2, 5));
            path.lineTo(point);
        }
        painter.drawPath(path);
    }
    painter.end();
    Grain::roughen(image, 11, 92);
    return image;
}

QImage FloorArt::diamond()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    const QColor steel(128, 132, 138);
    painter.fillRect(image.rect(), steel);
    painter.setRenderHint(QPainter::Antialiasing);
    // Raised lozenges, alternately tilted, in an 8 px lattice.
    for (int y = 0; y < S; y += 8) {
        for (int x = 0; x < S; x += 8) {
            const bool tilt = ((x + y) / 8) % 2;
            QPainterPath bump;
            bump.addRoundedRect(QRectF(-4, -1.5, 8, 3), 1.5, 1.5);
            QTransform place;
            place.translate(x + 4, y + 4);
            place.rotate(tilt ? 45 : -45);
            painter.setPen(Qt::NoPen);
            painter.setBrush(steel.darker(190));
            painter.drawPath(place.map(bump).translated(0.8, 0.8));
            painter.setBrush(steel.lighter(150));
            painter.drawPath(place.map(bump));
        }
    }
    painter.end();
    Grain::roughen(image, 5, 101);
    return image;
}
