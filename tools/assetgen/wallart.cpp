#include "wallart.h"

#include "grain.h"
#include "shapes.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

constexpr int S = Shapes::TextureSize;

} // namespace

QImage WallArt::brick()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(178, 172, 160)); // mortar
    Grain grain(11);
    // Six courses, three bricks each, every other course shifted by half a brick.
    const int rows[] = {0, 11, 22, 32, 43, 54, 64};
    const int width = 21;
    for (int row = 0; row < 6; ++row) {
        const int top = rows[row];
        const int height = rows[row + 1] - top - 2;
        const int shift = row % 2 ? 11 : 0;
        for (int column = 0; column < 3; ++column) {
            const int left = shift + column * width;
            const int span = column == 2 ? S - 2 * width - 2 : width - 2;
            const QColor base = grain.vary(QColor(150, 62, 45), 18);
            Shapes::fillWrapped(painter, QRect(left, top, span, height), base);
            Shapes::fillWrapped(painter, QRect(left, top, span, 1), base.lighter(118));
            Shapes::fillWrapped(painter, QRect(left, top + height - 1, span, 1), base.darker(130));
        }
    }
    painter.end();
    Grain::roughen(image, 9, 12);
    return image;
}

QImage WallArt::stone()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor(45, 45, 48));
    Grain grain(21);
    // Courses of unequal height with blocks of unequal length.
    const int rows[] = {0, 15, 31, 45, 64};
    for (int row = 0; row < 4; ++row) {
        const int top = rows[row];
        const int height = rows[row + 1] - top - 1;
        int left = grain.below(12);
        const int start = left;
        while (left < start + S) {
            int span = grain.between(14, 26);
            if (left + span > start + S - 10)
                span = start + S - left;
            const QColor base = grain.vary(QColor(138, 126, 108), 16);
            for (int shift : {-S, 0}) {
                const QRect block(left + shift, top, span - 1, height);
                Shapes::bevel(painter, block, base, 2);
            }
            left += span;
        }
    }
    painter.end();
    Grain::roughen(image, 14, 22);
    return image;
}

QImage WallArt::wood()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    Grain grain(31);
    // Four upright planks with dark gaps and wavy grain.
    for (int plank = 0; plank < 4; ++plank) {
        const int left = plank * 16;
        const QColor base = grain.vary(QColor(112, 70, 38), 10);
        painter.fillRect(left, 0, 15, S, base);
        painter.fillRect(left + 15, 0, 1, S, QColor(35, 20, 10));
        painter.fillRect(left, 0, 1, S, base.lighter(125));
        painter.setRenderHint(QPainter::Antialiasing);
        for (int line = 0; line < 3; ++line) {
            const qreal x = left + 3 + line * 4 + grain.below(2);
            QPainterPath streak;
            streak.moveTo(x, 0);
            for (int y = 8; y <= S; y += 8)
                streak.lineTo(x + ((y / 8 + plank + line) % 2 ? 0.8 : -0.8), y);
            painter.setPen(QPen(base.darker(135), 1.0));
            painter.drawPath(streak);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        // A knot and two nails per plank.
        painter.setPen(Qt::NoPen);
        painter.setBrush(base.darker(170));
        painter.drawEllipse(QPointF(left + 7, 10 + grain.below(40)), 2, 3);
        painter.fillRect(left + 7, 4, 2, 2, QColor(60, 60, 60));
        painter.fillRect(left + 7, S - 6, 2, 2, QColor(60, 60, 60));
    }
    painter.end();
    Grain::roughen(image, 7, 32);
    return image;
}

QImage WallArt::metal()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    Grain grain(41);
    // Four riveted plates.
    for (int y = 0; y < S; y += 32) {
        for (int x = 0; x < S; x += 32) {
            const QColor base = grain.vary(QColor(112, 120, 132), 8);
            Shapes::bevel(painter, QRect(x, y, 32, 32), base, 2);
            QLinearGradient sheen(x, y, x + 32, y + 32);
            sheen.setColorAt(0, QColor(255, 255, 255, 30));
            sheen.setColorAt(1, QColor(0, 0, 0, 30));
            painter.fillRect(QRect(x + 2, y + 2, 28, 28), sheen);
            for (const QPointF corner : {QPointF(5, 5), QPointF(27, 5), QPointF(5, 27), QPointF(27, 27)})
                Shapes::rivet(painter, QPointF(x, y) + corner, 1.8, base);
        }
    }
    painter.end();
    Grain::roughen(image, 5, 42);
    return image;
}

QImage WallArt::tech()
{
    QImage image = Shapes::canvas(false);
    QPainter painter(&image);
    Shapes::bevel(painter, QRect(0, 0, S, 24), QColor(64, 70, 78), 2);
    Shapes::bevel(painter, QRect(0, 40, S, 24), QColor(64, 70, 78), 2);
    // A console band with screens and status lights across the middle.
    painter.fillRect(0, 24, S, 16, QColor(22, 26, 30));
    painter.fillRect(4, 27, 24, 10, QColor(20, 120, 90));
    painter.fillRect(36, 27, 24, 10, QColor(20, 120, 90));
    for (int line = 0; line < 3; ++line) {
        painter.fillRect(6, 29 + line * 3, 8 + line * 5, 1, QColor(120, 255, 190));
        painter.fillRect(38, 29 + line * 3, 18 - line * 4, 1, QColor(120, 255, 190));
    }
    const QColor lights[] = {QColor(255, 60, 50), QColor(255, 210, 40), QColor(60, 220, 80)};
    for (int i = 0; i < 3; ++i) {
        painter.fillRect(4 + i * 6, 12, 3, 3, lights[i]);
        painter.fillRect(44 + i * 6, 50, 3, 3, lights[2 - i]);
    }
    // Vent slots.
    for (int slot = 0; slot < 4; ++slot) {
        painter.fillRect(36, 6 + slot * 4, 22, 2, QColor(25, 28, 32));
        painter.fillRect(6, 46 + slot * 4, 22, 2, QColor(25, 28, 32));
    }
    painter.end();
    Grain::roughen(image, 4, 52);
    return image;
}
