#pragma once

#include "view/sectorbutton.h"

#include <QImage>
#include <QPainter>
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

// A cell button and a plain push button set up alike, both drawn: the cell
// button must look exactly as the style draws a push button.
inline QPair<QImage, QImage> drawnByCellAndStyle(const QIcon &face, int size, bool hovered, bool down)
{
    SectorButton cell(nullptr);
    QPushButton plain;
    for (QPushButton *button : {static_cast<QPushButton *>(&cell), &plain}) {
        button->setFlat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->resize(size, size);
        button->setIconSize(QSize(size, size));
        button->setIcon(face);
        button->setAttribute(Qt::WA_UnderMouse, hovered);
        button->setDown(down);
    }
    return {cell.grab().toImage(), plain.grab().toImage()};
}
