#include "view/overviewpicture.h"

#include "looks/layerlooks.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/iconcache.h"

#include <QPainter>

#include <algorithm>

namespace {

// An empty map still gets a picture of some size to click on.
const QSize smallestExtent(32, 32);
// Room to grow, so that painting at the map's edge does not rebuild each time.
const int growthMargin = 8;

} // namespace

void OverviewPicture::setLayer(const QByteArray &layer)
{
    if (layer == edited)
        return;
    edited = layer;
    if (!picture.isNull())
        rebuild();
}

void OverviewPicture::setTargetSide(int pixelsWanted)
{
    pixelsWanted = std::max(1, pixelsWanted);
    if (pixelsWanted == side)
        return;
    side = pixelsWanted;
    if (!picture.isNull())
        rebuild();
}

void OverviewPicture::forgetImages()
{
    images.clear();
    if (!picture.isNull())
        rebuild();
}

void OverviewPicture::rebuild()
{
    choose(extentOfMap());
    picture = QImage(covered * pixels, QImage::Format_RGB32);
    picture.fill(LayerLooks::gridCellColour);
    QPainter painter(&picture);
    if (pixels >= 4) {
        for (int i = 0; i < covered.width(); ++i) {
            painter.fillRect(QRect(i * pixels, 0, 1, picture.height()), LayerLooks::gridLineColour);
            painter.fillRect(QRect(0, i * pixels, picture.width(), 1), LayerLooks::gridLineColour);
        }
    }
    // Layer by layer in the map's order, as the cells stack in the view.
    for (const auto &entry : map->layers()) {
        if (!LayerLooks::shownWhileEditing(entry.name, edited))
            continue;
        for (const Sector *sector : entry.sectors)
            drawSector(painter, entry.name, sector);
    }
}

bool OverviewPicture::redrawCells(const QVector<QPoint> &cells)
{
    QPainter painter(&picture);
    bool drawn = false;
    for (const QPoint &cell : cells) {
        if (cell.x() < 0 || cell.y() < 0)
            continue;
        if (cell.x() >= covered.width() || cell.y() >= covered.height()) {
            painter.end();
            rebuild();
            return true;
        }
        drawCell(painter, cell);
        drawn = true;
    }
    return drawn;
}

QSize OverviewPicture::extentOfMap() const
{
    QSize extent = smallestExtent;
    for (const auto &entry : map->layers()) {
        for (const Sector *sector : entry.sectors)
            extent = extent.expandedTo(QSize(sector->data->mapX + 1, sector->data->mapY + 1));
    }
    return extent;
}

// A square picture as wide as the longer side, so that the map can grow either
// way; a cell is at least one pixel, at most the map view's largest zoom.
void OverviewPicture::choose(const QSize &extent)
{
    const int cellsWide = std::max(extent.width(), extent.height()) + growthMargin;
    const int wanted = std::clamp(side / cellsWide, 1, 16);
    if (wanted != pixels)
        images.clear();
    pixels = wanted;
    covered = QSize(cellsWide, cellsWide);
}

void OverviewPicture::drawCell(QPainter &painter, const QPoint &cell)
{
    const QRect area(cell * pixels, QSize(pixels, pixels));
    painter.fillRect(area, LayerLooks::gridCellColour);
    // Lines only where a cell has room for them beside its inside.
    if (pixels >= 4) {
        painter.fillRect(QRect(area.topLeft(), QSize(pixels, 1)), LayerLooks::gridLineColour);
        painter.fillRect(QRect(area.topLeft(), QSize(1, pixels)), LayerLooks::gridLineColour);
    }
    for (const auto &entry : map->layers()) {
        if (!LayerLooks::shownWhileEditing(entry.name, edited))
            continue;
        if (const Sector *sector = map->sectorAt(entry.name, cell.x(), cell.y()))
            drawSector(painter, entry.name, sector);
    }
}

void OverviewPicture::drawSector(QPainter &painter, const QByteArray &layer, const Sector *sector)
{
    const QColor tint = LayerLooks::lookOf(layer, edited, false, sector->data->lighting.emission);
    const QImage image = cellImage(sector->imagePath(), tint);
    const QPoint corner(sector->data->mapX * pixels, sector->data->mapY * pixels);
    painter.drawImage(corner + QPoint(pixels - image.width(), pixels - image.height()) / 2, image);
}

QImage OverviewPicture::cellImage(const QString &path, const QColor &tint)
{
    const QPair<QString, QRgb> key(path, tint.isValid() ? tint.rgba() : 0u);
    auto found = images.constFind(key);
    if (found != images.constEnd())
        return *found;
    const QImage image = IconCache::icon(path, tint).pixmap(QSize(pixels, pixels)).toImage();
    images.insert(key, image);
    return image;
}
