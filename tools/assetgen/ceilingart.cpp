#include "ceilingart.h"

#include "grain.h"
#include "shapes.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int S = Shapes::TextureSize;

} // namespace

QImage CeilingArt::panels()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(150, 150, 155)); // the hanger grid
    Grain grain(111);
    // Four pale acoustic tiles dotted with pits.
    for (int y = 0; y < S; y += 32) {
        for (int x = 0; x < S; x += 32) {
            painter.fillRect(x + 2, y + 2, 29, 29, QColor(214, 212, 204));
            for (int pit = 0; pit < 22; ++pit)
                painter.fillRect(x + grain.between(4, 28), y + grain.between(4, 28), 1, 1, QColor(160, 156, 150));
        }
    }
    painter.fillRect(0, 0, S, 1, QColor(110, 110, 115));
    painter.fillRect(0, 0, 1, S, QColor(110, 110, 115));
    painter.end();
    Grain::roughen(image, 3, 112);
    return image;
}

QImage CeilingArt::grate()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(14, 14, 16));
    // A square mesh of bars over a dark void, with one glimpse of a pipe behind.
    painter.fillRect(0, 40, S, 6, QColor(70, 50, 30));
    const QColor bar(96, 100, 92);
    for (int line = 0; line < S; line += 8) {
        painter.fillRect(line, 0, 3, S, bar);
        painter.fillRect(line, 0, 1, S, bar.lighter(140));
        painter.fillRect(0, line, S, 3, bar);
        painter.fillRect(0, line, S, 1, bar.lighter(140));
    }
    painter.end();
    Grain::roughen(image, 6, 121);
    return image;
}

QImage CeilingArt::beams()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(205, 195, 170)); // plaster
    // Two heavy dark beams crossing the plaster.
    for (int top : {4, 36}) {
        QLinearGradient shade(0, top, 0, top + 14);
        shade.setColorAt(0, QColor(110, 68, 36));
        shade.setColorAt(1, QColor(60, 35, 16));
        painter.fillRect(0, top, S, 14, shade);
        painter.fillRect(0, top + 14, S, 3, QColor(140, 130, 110)); // its shadow
        painter.fillRect(0, top + 5, S, 1, QColor(80, 48, 22));
    }
    painter.end();
    Grain::roughen(image, 8, 131);
    return image;
}

QImage CeilingArt::lights()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    Shapes::bevel(painter, image.rect(), QColor(90, 94, 100), 3);
    // A recessed light panel filling most of the cell.
    painter.fillRect(8, 8, 48, 48, QColor(40, 42, 46));
    QLinearGradient glow(0, 10, 0, 54);
    glow.setColorAt(0, QColor(255, 255, 255));
    glow.setColorAt(0.5, QColor(215, 235, 255));
    glow.setColorAt(1, QColor(255, 255, 255));
    painter.fillRect(10, 10, 44, 44, glow);
    for (int line = 20; line < 54; line += 11) {
        painter.fillRect(10, line, 44, 1, QColor(170, 190, 210));
        painter.fillRect(line, 10, 1, 44, QColor(170, 190, 210));
    }
    for (const QPointF corner : {QPointF(4.5, 4.5), QPointF(59.5, 4.5), QPointF(4.5, 59.5), QPointF(59.5, 59.5)})
        Shapes::rivet(painter, corner, 1.6, QColor(90, 94, 100));
    return image;
}

QImage CeilingArt::concrete()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(112, 110, 104));
    Grain grain(141);
    // Blotches and formwork seams, then tie holes.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int blotch = 0; blotch < 18; ++blotch) {
        painter.setBrush(blotch % 2 ? QColor(70, 68, 64, 110) : QColor(160, 158, 150, 110));
        const QPointF centre(grain.below(S), grain.below(S));
        const qreal radius = grain.between(4, 9);
        for (int dx : {-S, 0, S})
            for (int dy : {-S, 0, S})
                painter.drawEllipse(centre + QPointF(dx, dy), radius, radius);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(0, 31, S, 2, QColor(66, 64, 60));
    painter.fillRect(0, 62, S, 2, QColor(66, 64, 60));
    painter.setBrush(QColor(30, 30, 30));
    for (const QPoint hole : {QPoint(15, 15), QPoint(47, 15), QPoint(15, 47), QPoint(47, 47)})
        painter.drawEllipse(hole, 3, 3);
    painter.end();
    Grain::roughen(image, 12, 142);
    return image;
}
