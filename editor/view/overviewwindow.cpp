#include "view/overviewwindow.h"

#include "view/eventposition.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

OverviewWindow::OverviewWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Overview"));
    setMinimumSize(160, 160);
    resize(320, 320);
}

void OverviewWindow::showPicture(const QImage *image, int cellPixels)
{
    picture = image;
    pixels = std::max(1, cellPixels);
    update();
}

void OverviewWindow::showVisibleCells(const QRect &cells)
{
    if (cells == visible)
        return;
    visible = cells;
    update();
}

QRect OverviewWindow::pictureArea() const
{
    if (!picture || picture->isNull())
        return QRect();
    // Scaled down only when the map has more cells than the window pixels.
    QSize fitted = picture->size();
    if (fitted.width() > width() || fitted.height() > height())
        fitted.scale(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

QPoint OverviewWindow::cellAt(const QPoint &position) const
{
    const QRect area = pictureArea();
    if (area.isEmpty())
        return QPoint();
    const double scale = double(area.width()) / picture->width() * pixels;
    const QPoint inside = position - area.topLeft();
    return QPoint(int(std::floor(inside.x() / scale)), int(std::floor(inside.y() / scale)));
}

QRectF OverviewWindow::cellsOnScreen(const QRect &cells) const
{
    const QRect area = pictureArea();
    const double scale = double(area.width()) / picture->width() * pixels;
    return QRectF(area.left() + cells.left() * scale, area.top() + cells.top() * scale, cells.width() * scale,
                  cells.height() * scale);
}

void OverviewWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!picture || picture->isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureArea(), *picture);
    if (visible.isEmpty())
        return;
    // Two colours, so the outline shows on bright textures and on the dark grid.
    const QRectF outline = cellsOnScreen(visible).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(QColor(0, 0, 0), 3));
    painter.drawRect(outline);
    painter.setPen(QPen(QColor(255, 220, 0), 1));
    painter.drawRect(outline);
}

void OverviewWindow::resizeEvent(QResizeEvent *)
{
    emit resized();
}

void OverviewWindow::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && pictureArea().contains(EventPosition::local(event)))
        emit cellChosen(cellAt(EventPosition::local(event)));
}

void OverviewWindow::mouseMoveEvent(QMouseEvent *event)
{
    // A drag keeps the view under the pointer, also past the picture's edge
    // within the map (never a negative cell).
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPoint cell = cellAt(EventPosition::local(event));
    emit cellChosen(QPoint(std::max(0, cell.x()), std::max(0, cell.y())));
}
