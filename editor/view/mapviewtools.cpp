// The editing tools of the map view: Pencil, Flood fill, Select, pan, and the
// layer switches made from the combo box or the Shift/Ctrl keys.
#include "view/mapview.h"

#include "app/tessel.h"

#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/cellkey.h"
#include "model/dialogs.h"
#include "model/sector.h"
#include "model/sectorcanvas.h"
#include "model/sectorfactory.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

bool isPress(const QEvent *event, Qt::MouseButton button)
{
    return event->type() == QEvent::MouseButtonPress
        && static_cast<const QMouseEvent *>(event)->button() == button;
}

bool isRelease(const QEvent *event, Qt::MouseButton button)
{
    return event->type() == QEvent::MouseButtonRelease
        && static_cast<const QMouseEvent *>(event)->button() == button;
}

bool isPressOrDrag(const QEvent *event, Qt::MouseButton button)
{
    if (isPress(event, button))
        return true;
    return event->type() == QEvent::MouseMove
        && (static_cast<const QMouseEvent *>(event)->buttons() & button);
}

// A sorted array, not a hash set: built once per fill from a whole layer, and
// one allocation instead of one per wall keeps that cheap on big maps.
class CellSet
{
public:
    explicit CellSet(const QList<Sector *> &sectors)
    {
        keys.reserve(size_t(sectors.size()));
        for (const Sector *sector : sectors)
            keys.push_back(cellKey(QPoint(sector->data->mapX, sector->data->mapY)));
        std::sort(keys.begin(), keys.end());
    }

    bool contains(quint64 key) const { return std::binary_search(keys.begin(), keys.end(), key); }

private:
    std::vector<quint64> keys;
};

// The region search of the flood fill. Walls, doors and the cells collected so
// far are kept in sets beside the ordered list so that a big region stays fast.
class RegionSearch
{
public:
    RegionSearch(const LayerController *layers, qint32 target, int limit,
                 const QList<Sector *> &walls, const QList<Sector *> &doors)
        : layers(layers), target(target), limit(limit), walls(walls), doors(doors)
    {
    }

    // Returns false when the region reached the limit.
    bool collect(const QPoint &start)
    {
        visit(start);
        return !aborted;
    }

    QList<QPoint> cells;

private:
    qint32 textureIdAt(const QPoint &cell) const
    {
        const Sector *sector = layers->sectorAt(cell.x(), cell.y());
        return sector ? sector->data->texture.id : -1;
    }

    void visit(const QPoint &cell)
    {
        if (aborted)
            return;
        if (cells.size() == limit) {
            aborted = true;
            cells.clear();
            return;
        }
        // Cells left of column 0 or above row 0 cannot be stored in a map file.
        if (cell.x() < 0 || cell.y() < 0)
            return;
        const qint32 value = textureIdAt(cell);
        const quint64 key = cellKey(cell);
        if ((value != target && value != -1) || walls.contains(key) || doors.contains(key)
            || collected.contains(key))
            return;
        cells.append(cell);
        collected.insert(key);
        visit(QPoint(cell.x() + 1, cell.y()));
        visit(QPoint(cell.x() - 1, cell.y()));
        visit(QPoint(cell.x(), cell.y() + 1));
        visit(QPoint(cell.x(), cell.y() - 1));
    }

    const LayerController *layers;
    qint32 target;
    int limit;
    CellSet walls;
    CellSet doors;
    QSet<quint64> collected;
    bool aborted = false;
};

} // namespace

void MapView::handleEditEvent(QEvent *event)
{
    if (radioPencil->isChecked())
        handlePencilEvent(event);
    else
        handleFloodFillEvent(event);
}

void MapView::handlePencilEvent(QEvent *event)
{
    if (isPressOrDrag(event, Qt::LeftButton)) {
        if (Sector *sector = placeSectorUnderCursor()) {
            layers->addSector(sector);
            if (sector->data->layer == "Lightmap")
                layers->tintLightmapSector(sector);
        }
    } else if (isPressOrDrag(event, Qt::RightButton)) {
        removeSectorUnderCursor();
    } else if (isPressOrDrag(event, Qt::MiddleButton)) {
        panView(static_cast<QMouseEvent *>(event));
    } else if (isRelease(event, Qt::MiddleButton)) {
        lastPanPos = static_cast<QMouseEvent *>(event)->pos();
    }
}

void MapView::handleFloodFillEvent(QEvent *event)
{
    if (!isPress(event, Qt::LeftButton))
        return;
    floodFill();
    setAllMouseTransparent(true);
}

void MapView::handleSelectEvent(QEvent *event)
{
    if (isPress(event, Qt::LeftButton)) {
        layers->clearSelection();
        const QPoint cell = cursorCell();
        selStartX = cell.x();
        selStartY = cell.y();
        selPressPos = QCursor::pos();
    } else if (isRelease(event, Qt::LeftButton)) {
        const QPoint cell = cursorCell();
        selEndX = cell.x();
        selEndY = cell.y();
        selReleasePos = QCursor::pos();
        if (selStartX > selEndX)
            std::swap(selStartX, selEndX);
        if (selStartY > selEndY)
            std::swap(selStartY, selEndY);
        layers->selectRect(selStartX - originX, selStartY - originY, selEndX - originX, selEndY - originY);
        resetSelectionDrag();
    } else if (isPress(event, Qt::RightButton)) {
        const QList<Sector *> doomed = layers->selection();
        for (Sector *sector : doomed)
            layers->removeSectorAt(sector->data->mapX, sector->data->mapY);
        layers->clearSelection();
    } else if (isPressOrDrag(event, Qt::MiddleButton)) {
        panView(static_cast<QMouseEvent *>(event));
    } else if (isRelease(event, Qt::MiddleButton)) {
        lastPanPos = static_cast<QMouseEvent *>(event)->pos();
    }
    if (selStartX != -1 && selStartY != -1 && selEndX == -1 && selEndY == -1)
        drawSelectionOverlay(selPressPos);
}

void MapView::resetSelectionDrag()
{
    selStartX = selEndX = selStartY = selEndY = -1;
    if (selectionOverlay)
        selectionOverlay->hide();
}

void MapView::connectSectorClick(Sector *sector)
{
    connect(sector->data->button, &QPushButton::clicked, this, &MapView::SectorClickEvent);
}

Sector *MapView::placeSectorUnderCursor()
{
    const QPoint cell = cursorCell();
    const QPoint mapCell = canvasToMap(cell);
    if (mapCell.x() < 0 || mapCell.y() < 0 || layers->hasSectorAt(mapCell.x(), mapCell.y()))
        return nullptr;
    return placeSectorAt(cell);
}

Sector *MapView::placeSectorAt(const QPoint &canvasCell)
{
    Sector *sector = createSectorAt(canvasCell.x(), canvasCell.y(), placement());
    connectSectorClick(sector);
    return sector;
}

void MapView::removeSectorUnderCursor()
{
    const QPoint cell = canvasToMap(cursorCell());
    layers->removeSectorAt(cell.x(), cell.y());
}

void MapView::panView(QMouseEvent *event)
{
    // Mouse events may arrive on the canvas that covers the map widget.
    const QPoint pos = mapWidget->mapFromGlobal(event->globalPos());
    if (pos == lastPanPos)
        return;
    const int dx = pos.x() - lastPanPos.x();
    const int dy = pos.y() - lastPanPos.y();
    const int half = cellSize() / 2;
    bool moved = false;
    if (std::abs(dx) > half) {
        lastPanPos = pos;
        originX += dx > 0 ? 1 : -1;
        moved = true;
    }
    if (std::abs(dy) > half) {
        const int s = pos.y() - lastPanPos.y();
        lastPanPos = pos;
        if (s != 0) {
            originY += s > 0 ? 1 : -1;
            moved = true;
        }
    }
    if (moved)
        repositionAllSectors();
}

void MapView::floodFill()
{
    const QPoint start = canvasToMap(cursorCell());
    qint32 target = 0;
    if (layers->hasSectorAt(start.x(), start.y()))
        target = layers->sectorAt(start.x(), start.y())->data->texture.id;
    if (target == -1)
        target = 0;
    RegionSearch search(layers, target, floodFillLimit,
                        layers->layerSectors("Wall"), layers->layerSectors("Door"));
    const bool complete = search.collect(start);
    if (!complete) {
        Dialogs::inform(QString(), QStringLiteral("Recursive depth limit reached.\nPossibly not wall bounded area."));
        return;
    }
    if (search.cells.isEmpty())
        return;
    if (target != 0) {
        retextureCells(search.cells);
        return;
    }
    SectorCanvas::Batch batch(canvas);
    for (const QPoint &cell : qAsConst(search.cells)) {
        Sector *sector = placeSectorAt(mapToCanvas(cell));
        layers->addSector(sector);
        if (sector->data->layer == "Lightmap")
            layers->tintLightmapSector(sector);
    }
}

void MapView::retextureCells(const QList<QPoint> &cells)
{
    QSet<quint64> region;
    region.reserve(cells.size());
    for (const QPoint &cell : cells)
        region.insert(cellKey(cell));
    const TextureEntry texture = gallery->currentTexture();
    for (Sector *sector : layers->currentSectors()) {
        if (region.contains(cellKey(QPoint(sector->data->mapX, sector->data->mapY)))) {
            sector->setTexture(texture);
            sector->showImage(texture.imagePath());
        }
    }
}

void MapView::MapLayerChanged()
{
    resetSelectionDrag();
    layers->clearSelection();
    layers->MapLayerChanged();
    gallery->selectLayer(layers->currentLayer());
    const int leftOut = gallery->leftOutCount(layers->currentLayer());
    if (leftOut > 0)
        setStatusText(QStringLiteral("%1 texture file(s) left out: their names contain \",\" or a line break")
                          .arg(leftOut));
}

void MapView::beginTemporaryLayer(const QByteArray &name, const QString &text)
{
    if (layerCombo->currentText().toUtf8() == name)
        return;
    layers->setCurrentLayer(name);
    setStatusText(text);
    temporaryLayer = true;
}

void MapView::endTemporaryLayer()
{
    layers->setCurrentLayer(layerCombo->currentText().toUtf8());
    clearStatusText();
    temporaryLayer = false;
}
