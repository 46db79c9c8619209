#pragma once

#include "view/sectorblock.h"
#include "view/sectorbutton.h"

#include <QImage>
#include <QPushButton>

// A misplaced or wrongly scaled copy of this shows in its pixels.
inline QIcon patternedIcon(const QSize &size)
{
    QImage pattern(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            pattern.setPixel(x, y, qRgb(x * 255 / size.width(), y * 255 / size.height(), (x ^ y) & 1 ? 255 : 0));
    }
    return QIcon(QPixmap::fromImage(pattern));
}

// Three cell buttons, on a block or not, against three plain push buttons set up
// alike and drawn by the style: the first under the pointer and maybe pressed,
// the second beside it, the third half over the first. They must look the same.
inline QPair<QImage, QImage> drawnByCellAndStyle(const QIcon &face, int size, bool down, bool onBlock)
{
    QWidget cellCanvas, plainCanvas;
    QWidget *cellHolder = onBlock ? new SectorBlock(&cellCanvas) : new QWidget(&cellCanvas);
    auto *plainHolder = new QWidget(&plainCanvas);
    for (QWidget *holder : {cellHolder, plainHolder}) {
        holder->setAttribute(Qt::WA_NoSystemBackground);
        holder->resize(3 * size, size);
        for (const int x : {0, 2 * size, size / 2}) {
            QPushButton *button = holder == cellHolder ? new SectorButton(holder) : new QPushButton(holder);
            button->setFlat(true);
            button->setGeometry(x, 0, size, size);
            button->setIconSize(QSize(size, size));
            button->setIcon(face);
            button->setAttribute(Qt::WA_UnderMouse, x == 0);
            button->setDown(down && x == 0);
        }
    }
    return {cellHolder->grab().toImage(), plainHolder->grab().toImage()};
}
