#pragma once

#include "view/sectorblock.h"
#include "view/sectorbutton.h"

#include <QImage>
#include <QPushButton>

// A patterned image: a misplaced or wrongly scaled copy shows in its pixels.
inline QPixmap patternedImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 1 ? 255 : 0));
    }
    return QPixmap::fromImage(image);
}

// Three cell buttons, on a block or on a plain widget, against three plain push
// buttons drawn by the style, set up alike: the first in the given state, the
// second at rest beside it, the third at rest and half over the first. The
// cells must look exactly as the style draws them, stacking included.
inline QPair<QImage, QImage> drawnByCellAndStyle(const QIcon &face, int size, bool hovered, bool down, bool onBlock)
{
    QWidget cellCanvas;
    QWidget plainCanvas;
    QWidget *cellHolder = onBlock ? new SectorBlock(&cellCanvas) : new QWidget(&cellCanvas);
    auto *plainHolder = new QWidget(&plainCanvas);
    const QPoint places[] = {{0, 0}, {2 * size, 0}, {size / 2, 0}};
    for (QWidget *holder : {cellHolder, plainHolder}) {
        holder->setAttribute(Qt::WA_NoSystemBackground);
        holder->resize(3 * size, size);
        for (const QPoint &place : places) {
            QPushButton *button = holder == cellHolder ? new SectorButton(holder) : new QPushButton(holder);
            button->setFlat(true);
            button->setFocusPolicy(Qt::NoFocus);
            button->setGeometry(QRect(place, QSize(size, size)));
            button->setIconSize(QSize(size, size));
            button->setIcon(face);
            if (place == places[0]) {
                button->setAttribute(Qt::WA_UnderMouse, hovered);
                button->setDown(down);
            }
        }
    }
    return {cellHolder->grab().toImage(), plainHolder->grab().toImage()};
}
