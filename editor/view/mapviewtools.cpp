// The editing tools of the map view: Pencil, Flood fill, Select, pan, and the
// layer switches made from the combo box or the Shift/Ctrl keys.
#include "view/mapview.h"

#include "app/dialogs.h"
#include "gallery/texturegallery.h"
#include "layers/layercontroller.h"
#include "model/floodregion.h"
#include "model/layernames.h"
#include "model/mapmodel.h"
#include "model/sector.h"
#include "view/sectorcanvas.h"

#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstdlib>

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
        placeSectorUnderCursor();
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
        QList<QPoint> doomed;
        for (const Sector *sector : layers->selection())
            doomed.append(QPoint(sector->data->mapX, sector->data->mapY));
        model->removeCells(layers->currentLayer(), doomed);
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

void MapView::placeSectorUnderCursor()
{
    const QPoint cell = canvasToMap(cursorCell());
    const QByteArray layer = layers->currentLayer();
    const MapChange change = model->placeCell(layer, cell, gallery->currentTexture());
    if (!change.isEmpty() && layer == LayerNames::Lightmap)
        layers->tintLightmapSector(model->sectorAt(layer, cell.x(), cell.y()));
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
    const QByteArray layer = layers->currentLayer();
    const FloodRegion region = findFloodRegion(*model, layer, canvasToMap(cursorCell()), floodFillLimit);
    if (!region.complete) {
        Dialogs::inform(QString(), QStringLiteral("Recursive depth limit reached.\nPossibly not wall bounded area."));
        return;
    }
    if (region.cells.isEmpty())
        return;
    const TextureEntry texture = gallery->currentTexture();
    if (region.target != 0) {
        model->retextureCells(layer, region.cells, texture);
        return;
    }
    SectorCanvas::Batch batch(canvas);
    model->placeCells(layer, region.cells, texture);
    if (layer == LayerNames::Lightmap) {
        for (const QPoint &cell : region.cells)
            layers->tintLightmapSector(model->sectorAt(layer, cell.x(), cell.y()));
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
