#include "view/tools/shapepreview.h"

#include "view/iconcache.h"
#include "view/sectorcanvas.h"

#include <QHash>
#include <QLabel>
#include <QPainter>

namespace {
const qreal markOpacity = 0.55;
const QColor eraseWash(200, 30, 30, 150);
} // namespace

ShapePreview::ShapePreview(QWidget *mapSurface) : surface(mapSurface)
{
}

ShapePreview::~ShapePreview()
{
    delete label.data();
}

void ShapePreview::show(const QList<Mark> &marks, const QRect &outline, const QPoint &origin, int cellSize)
{
    if (!surface)
        return;
    QRect extent = outline;
    for (const Mark &mark : marks)
        extent |= QRect(mark.cell, QSize(1, 1));
    // Map cells in view: the canvas shows canvas cell c as map cell c - origin.
    const QSize cellsInView = surface->size() / cellSize + QSize(1, 1);
    const QRect area = extent.intersected(QRect(-origin, cellsInView));
    if (area.isEmpty()) {
        hide();
        return;
    }
    if (!label) {
        // One label over the buttons, as the paste stamp has.
        label = new QLabel(SectorCanvas::forMap(surface));
        label->setObjectName(QStringLiteral("shapePreview"));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->setAttribute(Qt::WA_NoSystemBackground);
    }
    const QPixmap picture = render(marks, outline, area, cellSize);
    label->setPixmap(picture);
    label->resize(area.size() * cellSize);
    label->move((area.topLeft() + origin) * cellSize);
    label->raise();
    label->show();
}

void ShapePreview::hide()
{
    if (label)
        label->hide();
}

bool ShapePreview::isVisible() const
{
    return label && label->isVisible();
}

QPixmap ShapePreview::render(const QList<Mark> &marks, const QRect &outline, const QRect &area, int cellSize) const
{
    // Drawn at the screen's density, so that the images are as sharp as the cells.
    const qreal ratio = surface->devicePixelRatioF();
    QPixmap pixmap((QSizeF(area.size() * cellSize) * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setOpacity(markOpacity);
    QHash<QString, QPixmap> images;
    const QPoint corner = area.topLeft();
    for (const Mark &mark : marks) {
        if (!area.contains(mark.cell))
            continue;
        const QRect place((mark.cell - corner) * cellSize, QSize(cellSize, cellSize));
        if (mark.image.isEmpty()) {
            painter.fillRect(place, eraseWash);
            continue;
        }
        auto image = images.find(mark.image);
        if (image == images.end())
            image = images.insert(mark.image, IconCache::icon(mark.image).pixmap(cellSize, cellSize));
        if (image->isNull())
            painter.fillRect(place, Qt::gray);
        else
            painter.drawPixmap(place, *image);
    }
    if (!outline.isNull()) {
        painter.setOpacity(1.0);
        const QRect frame((outline.topLeft() - corner) * cellSize, outline.size() * cellSize);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
    }
    return pixmap;
}
